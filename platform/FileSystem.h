#pragma once

#include <algorithm>
#include <string>

namespace FileSystem {

// The separator between a directory and a file name on this system.
#ifdef _WIN32
constexpr char PathSeparator = '\\';
#else
constexpr char PathSeparator = '/';
#endif

// The path written with the system's own separator, for messages: Windows
// takes '/' too, and Qt hands out paths with it, but Windows users read
// and write paths with '\\'.
inline std::string NativeSeparators(std::string path)
{
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', PathSeparator);
#endif
    return path;
}

// True when C ends a folder's part of a path: the separator, on Windows
// also '/' and a drive's colon.
inline bool IsFolderEnd(char C)
{
#ifdef _WIN32
    return C == '\\' || C == '/' || C == ':';
#else
    return C == PathSeparator;
#endif
}

// Folder as a prefix for file names, its separator added where it has
// none; an empty folder stays empty, the current one.
inline std::string FolderPrefix(const std::string &Folder)
{
    return Folder.empty() || IsFolderEnd(Folder.back()) ? Folder : Folder + PathSeparator;
}

// True when something other than a directory exists at the path.
bool FileExists(const std::string &path);

// Renames the file From to To, replacing any file named To. Throws Error
// with the system's text for the failure.
void RenameFile(const std::string &from, const std::string &to);

// The system's text for an errno value, e.g. "No such file or directory";
// on Windows for a system error code as GetLastError gives it, without the
// full stop and line end the system puts after it.
std::string SystemErrorText(int errorNumber);

// The text given for a file that another process (or another descriptor of
// this one) holds open while we want it to ourselves.
std::string FileInUseText();

// The text given for a path that names a pipe, a device or a socket where a
// file is wanted: such a thing has no length and cannot be written in place.
std::string NotRegularFileText();

} // namespace FileSystem
