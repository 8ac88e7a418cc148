#pragma once

#include <QString>

// The standard integer conversion: optional leading spaces, an optional "+"
// or "-", then decimal digits, or hexadecimal digits after "$", "x", "X",
// "0x" or "0X", up to the end of the text, within the signed 32-bit range.
// Any other text throws Error "'<text>' is not a valid integer value".
int StrToInt(const QString &Text);
