#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A file opened for reading while other programs may go on reading and
// writing it. Every read is positional and reports how many bytes were
// really there, so callers can never read past what the file holds.
class SharedReadFile
{
public:
    // Throws Error "Cannot open file ..." when the path is missing, is not a
    // regular file or cannot be opened; a file another program holds for its
    // own save gets the reason "The file is in use by another process".
    explicit SharedReadFile(const std::string &path);
    ~SharedReadFile();

    SharedReadFile(const SharedReadFile &) = delete;
    SharedReadFile &operator=(const SharedReadFile &) = delete;

    const std::string &Path() const { return FPath; }
    std::int64_t Size() const { return FSize; }

    // Reads up to length bytes from offset on; returns the number read, which
    // is short only at the end of the file. A negative offset reads nothing.
    // Throws Error "<path>: <system's reason>" when the system fails a read
    // ("t.mul: Input/output error").
    std::size_t ReadAt(std::int64_t offset, void *buffer, std::size_t length) const;

    // Reads exactly length bytes, or throws Error when the file ends first:
    // "<path>: the file ended at byte 1,062 while it was read, though it was
    // 1,416 bytes long when opened; another program is changing it, ..."
    // when it has shrunk, "Stream read error" for bytes beyond the length it
    // had when opened; and ReadAt's error when a read fails.
    void ReadExactAt(std::int64_t offset, void *buffer, std::size_t length) const;

private:
    std::string FPath;
    std::intptr_t FHandle = -1; // a descriptor, or a HANDLE on Windows
    std::int64_t FSize = 0;
};

// Reads a whole file into memory in one read of its full length.
// Errors: "Cannot open file ...", "<path>: the file ended at byte ..." when
// the file yields fewer bytes than its length, "<path>: <system's reason>" when a read
// fails, and "Out of memory while expanding memory
// stream" when it cannot be held in memory.
std::vector<unsigned char> ReadWholeFile(const std::string &path);
