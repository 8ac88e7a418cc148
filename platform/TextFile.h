#pragma once

#include <cstdint>
#include <string>

// A text file created for writing, replacing any file of that name. Other
// programs may read it while it is open. Failures are reported with the
// text-file layer's messages ("File access denied", "Disk full", ...).
class TextFile
{
public:
    // Creates the file, or empties an existing one. Throws Error.
    explicit TextFile(const std::string &path);
    ~TextFile();

    TextFile(const TextFile &) = delete;
    TextFile &operator=(const TextFile &) = delete;

    // Appends the bytes as they are; line ends are the caller's. Throws Error.
    void Write(const std::string &bytes);

    // Closes the file; a failed write-back is reported here. Throws Error.
    void Close();

    // The message for a failed create, write or close with the given errno:
    //   2 "File not found", 3 "Invalid filename", 4 "Too many open files",
    //   5 "File access denied", 101 "Disk full"; any other failure is
    //   "I/O error %d" with the system's error number. On Windows the number
    //   is a system error code, and 2 to 5 are those codes themselves.
    static std::string ErrorText(int errorNumber);

private:
    [[noreturn]] static void Fail(int errorNumber);

    std::intptr_t FHandle = -1; // a descriptor, or a HANDLE on Windows
};
