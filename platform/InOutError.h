#pragma once

#include <string>

// The text-file layer's failure codes and their texts. Codes 2 to 5 are the
// system error codes of the systems the program comes from, 101 is the
// layer's own code for a full disk.
namespace InOutError {

constexpr int FileNotFound = 2;
constexpr int InvalidFilename = 3;
constexpr int TooManyOpenFiles = 4;
constexpr int AccessDenied = 5;
constexpr int DiskFull = 101;

// The text of a code: "File not found", "Invalid filename", "Too many open
// files", "File access denied" or "Disk full"; any other code (0 for none)
// gives "I/O error %d" with the system's own error number.
std::string Text(int code, int systemError);

} // namespace InOutError
