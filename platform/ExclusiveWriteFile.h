#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An existing file opened for reading and writing that nobody else may have
// open while we hold it: the open fails while any other process, or any other
// descriptor of this process, has the file open for writing, and every other
// open waits or fails until we let go. The file is never created and never
// truncated. Hold one only for the duration of a write; what is read back
// under the hold is what the write will replace, with nothing able to slip
// in between.
//
// A file that is busy (another program glancing at it, another save) is
// tried again for half a second. One that a reader still keeps open then,
// or whose file system cannot keep others out, is held in a weaker way that
// lets readers be (on POSIX an advisory lock, which only programs taking
// such locks respect; on Windows a share mode that lets others read): saving
// stays possible, and the caller's check for changes by another program
// guards what it writes.
class ExclusiveWriteFile
{
public:
    // Throws Error "Cannot open file ..."; a file held open elsewhere gets a
    // reason saying it is in use.
    explicit ExclusiveWriteFile(const std::string &path);
    ~ExclusiveWriteFile();

    ExclusiveWriteFile(const ExclusiveWriteFile &) = delete;
    ExclusiveWriteFile &operator=(const ExclusiveWriteFile &) = delete;

    // The file's length now.
    std::int64_t Size() const;

    // Reads exactly length bytes from offset on; throws Error "Stream read
    // error" when the file holds fewer, and "<path>: <system's reason>"
    // when a read fails.
    void ReadExactAt(std::int64_t offset, void *data, std::size_t length) const;

    // Writes all length bytes from offset on, retrying partial writes.
    // Throws Error "Stream write error" only when a write really fails.
    // Written, when given, counts the bytes that reached the file, also
    // when a write fails after part of them did.
    void WriteAllAt(std::int64_t offset, const void *data, std::size_t length, std::size_t *written = nullptr);

    // Puts the written bytes on the disk; throws "Stream write error".
    void Flush();

    // From now on, writes turned away for a moment are retried only until
    // Milliseconds have passed in all, not for half a second each: putting
    // many stretches back must not keep the program from stopping for
    // minutes.
    void BoundRetries(std::int64_t Milliseconds);

    // Gives up the exclusive hold and closes; throws "Stream write error"
    // when the close reports a failed write-back.
    void Close();

    // The system's own reason for the last write, flush or close that
    // failed ("No space left on device"), for messages that say why a save
    // failed; empty before any failure.
    const std::string &FailureReason() const { return FFailureReason; }

private:
    // Notes the system's reason and throws "Stream write error".
    [[noreturn]] void FailWrite();
    void TakeExclusiveHold();
    bool OnlyReadersHaveItOpen();
    // Gives the file up and throws "Cannot open file ..." with Reason.
    [[noreturn]] void Fail(const std::string &Reason);
    void Release();
    bool OutOfRetryTime() const;

    std::string FPath;
    std::intptr_t FHandle = -1; // a descriptor, or a HANDLE on Windows
    bool FLeased = false;
    std::string FFailureReason;
    std::chrono::steady_clock::time_point FRetryUntil{};
    bool FRetryBounded = false;
};

// The whole held file, for comparing it with what a save expects.
inline std::vector<unsigned char> ReadWholeHeld(const ExclusiveWriteFile &File)
{
    std::vector<unsigned char> bytes(static_cast<std::size_t>(File.Size()));
    if (!bytes.empty())
        File.ReadExactAt(0, bytes.data(), bytes.size());
    return bytes;
}
