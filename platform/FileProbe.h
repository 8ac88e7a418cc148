#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// A seam in the system calls of the file classes, for tests that must see
// or cause what no ordinary file does: a read that fails with an I/O error
// partway through a file, or whether a save synced its bytes to the disk
// before it closed. Every implementation of SharedReadFile and
// ExclusiveWriteFile (POSIX, Windows) reports each step below to the probe
// right before the system call that performs it; a probe that answers true
// makes that call fail as a failing device would (on POSIX: -1 with EIO, or
// the error SetFailureError chose, handled like any real failure of the
// call). With no probe set, the program's case, every step simply goes
// ahead.
namespace FileProbe {

enum class Step {
    Read,  // SharedReadFile or ExclusiveWriteFile reads from Offset on (pread, ReadFile)
    Write, // ExclusiveWriteFile writes from Offset on (pwrite, WriteFile)
    Cut,   // asked once a Write step goes ahead: true makes that call write only
           // the first half of its bytes (at least one), as a nearly full disk
           // does; the rest comes with the next call, a Write step of its own
    Sync,  // ExclusiveWriteFile puts its bytes on the disk (fdatasync, FlushFileBuffers)
    Close, // ExclusiveWriteFile closes after writing (close, CloseHandle); a failed
           // close still gives the file up
    Create,     // DurableFile creates a new file (open with O_EXCL, CREATE_NEW)
    Remove,     // DurableFile removes a file (unlink, DeleteFile)
    FolderSync, // DurableFile puts a folder's names on the disk (fsync of the folder)
};

// Offset is 0 for every step but Read and Write.
using Probe = std::function<bool(Step step, const std::string &path, std::int64_t offset)>;

// Sets the probe (an empty one removes it) and returns the previous one.
Probe Set(Probe probe);

// Reports a step; true when the step must fail.
bool Fails(Step step, const std::string &path, std::int64_t offset = 0);

// Sees the bytes of every write that went ahead, after it did, for tests
// that rebuild what a disk could hold after a power cut. Sets the watcher
// (an empty one removes it) and returns the previous one.
using Watcher = std::function<void(const std::string &path, std::int64_t offset, const void *data, std::size_t size)>;
Watcher Watch(Watcher watcher);

// Reports a write that went ahead.
void Wrote(const std::string &path, std::int64_t offset, const void *data, std::size_t size);

// The error number a failed step leaves on POSIX: EIO, or another that a
// test chooses, such as EAGAIN; returns the previous one. Windows steps
// fail with their own write-fault code whatever is set.
int SetFailureError(int error);
int FailureError();

} // namespace FileProbe
