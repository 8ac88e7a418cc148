#pragma once

#include <QString>

// Path texts of the art files, built with the platform's separator.

// Turns a directory text into a prefix for file names: an empty text gives
// a single separator (the root), any other text gets the separator appended
// unless it already ends in one.
QString AddTrailingBackslash(const QString &Directory);

// Everything of Path up to and including its last separator (on Windows
// also a drive colon); empty when Path names no directory.
QString DirectoryPart(const QString &Path);

// Path without its directory part.
QString FileNamePart(const QString &Path);
