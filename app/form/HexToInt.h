#pragma once

#include <QString>

// Reads the hexadecimal number box: leading hexadecimal digits (after an
// optional "$"), the rest of the text ignored; an empty text, or one without
// a leading digit, gives 0. Digits beyond the eighth push the oldest ones
// out, as 32-bit arithmetic does. "0x" is no prefix here: "0x1F" gives 0.
int HexToInt(const QString &Text);

// True when the value HexToInt reads from Text, before any digit is shifted
// out, is at most Maximum.
bool HexFits(const QString &Text, int Maximum);
