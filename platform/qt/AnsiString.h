#pragma once

#include <QByteArray>
#include <QString>

#include <string>

// Conversions between the single-byte text of the game's files
// (Windows-1252; the system's ANSI code page on Windows) and QString.
namespace AnsiString {

QString Decode(const char *bytes, int length);
QString Decode(const QByteArray &bytes);

// Characters outside the code page become '?'.
QByteArray Encode(const QString &text);

// True when every character of the text has a byte in the code page.
bool CanEncode(const QString &text);

// Paths go to the platform layer in the system's file name encoding; on
// Windows in UTF-8.
std::string ToPath(const QString &path);
QString FromPath(const std::string &path);

// Messages of the platform layer (paths and system texts) are UTF-8.
QString FromMessage(const char *message);

} // namespace AnsiString
