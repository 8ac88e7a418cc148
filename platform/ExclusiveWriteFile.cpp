#include "platform/ExclusiveWriteFile.h"

#include "platform/Error.h"
#include "platform/FileProbe.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// While we hold a write lease, another process opening the file makes the
// kernel send us the lease-break signal (SIGIO unless changed), whose default
// action ends the process. We release the lease as soon as the write is on
// the disk anyway, so the signal carries no news; ignore it for good rather
// than restore the default, since a late signal could still be on its way.
void IgnoreLeaseBreakSignal()
{
    struct sigaction current {};
    if (::sigaction(SIGIO, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGIO, &ignore, nullptr);
    }
}

// A call interrupted by a signal is simply made again. A descriptor opened
// without blocking may also be turned away for a moment (EAGAIN, while the
// kernel breaks another program's lease, say); that is retried after a
// short pause, but only so often: a file that stays unavailable fails the
// call with its reason rather than keep the program waiting for ever.
bool MayRetry(int error, int &busy)
{
    constexpr int MostBusyRetries = 50;
    if (error == EINTR)
        return true;
    if (error != EAGAIN || ++busy > MostBusyRetries)
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return true;
}

// Opens the file for reading and writing, never creating it. Another save
// holding its lease on the file turns the open away (EWOULDBLOCK) until it
// is done, which is tried again like any other moment of unavailability.
int OpenForWriting(const std::string &path)
{
    int busy = 0;
    for (;;) {
        const int handle = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
        if (handle >= 0)
            return handle;
        const int openError = errno == EWOULDBLOCK ? EAGAIN : errno;
        if (!MayRetry(openError, busy))
            throw CannotOpenFileError(path, openError == EAGAIN ? FileSystem::FileInUseText()
                                                                : FileSystem::SystemErrorText(openError));
    }
}

} // namespace

ExclusiveWriteFile::ExclusiveWriteFile(const std::string &path)
    : FPath(path)
{
    FHandle = OpenForWriting(path);
    struct stat info {};
    // A failed look at the file says why, not that it is something else.
    const bool looked = ::fstat(FHandle, &info) == 0;
    if (!looked || !S_ISREG(info.st_mode)) {
        const std::string reason = looked ? FileSystem::NotRegularFileText() : FileSystem::SystemErrorText(errno);
        ::close(FHandle);
        FHandle = -1;
        throw CannotOpenFileError(path, reason);
    }
    TakeExclusiveHold();
}

ExclusiveWriteFile::~ExclusiveWriteFile()
{
    Release();
}

void ExclusiveWriteFile::TakeExclusiveHold()
{
    IgnoreLeaseBreakSignal();
    // A write lease is granted only when no other descriptor, in any
    // process, has the file open: exactly the "no sharing" we want. Another
    // program that only glances at the file (a file manager, a backup)
    // closes it again in a moment, so a refusal is tried again for a while.
    int busy = 0;
    int leaseError = 0;
    for (;;) {
        if (::fcntl(FHandle, F_SETLEASE, F_WRLCK) == 0) {
            FLeased = true;
            return;
        }
        leaseError = errno == EBUSY ? EAGAIN : errno;
        if (!MayRetry(leaseError, busy))
            break;
    }
    if (leaseError == EAGAIN) {
        // Still open elsewhere. A reader that keeps it open must not make
        // saving impossible; one that may write does: its bytes could mix
        // with ours.
        if (!OnlyReadersHaveItOpen())
            Fail(FileSystem::FileInUseText());
    } else if (leaseError != EACCES && leaseError != EINVAL) {
        Fail(FileSystem::SystemErrorText(leaseError));
    }
    // The kernel will not lease this file to us: a reader has it open, we
    // do not own it (EACCES) or its file system has no leases (EINVAL).
    // Fall back to an exclusive advisory lock. That guarantee is weaker: it
    // keeps out only programs that take such locks themselves, not a plain
    // reader or writer; the caller's check for changes by another program
    // still guards what it writes.
    int lockError = 0;
    busy = 0;
    do {
        if (::flock(FHandle, LOCK_EX | LOCK_NB) == 0)
            return;
        lockError = errno == EWOULDBLOCK ? EAGAIN : errno;
    } while (MayRetry(lockError, busy));
    Fail(lockError == EAGAIN ? FileSystem::FileInUseText() : FileSystem::SystemErrorText(lockError));
}

// Whether no other descriptor has the file open for writing, asked the only
// way the kernel answers: a read lease is granted only then. Our own
// descriptor writes, so it is given up for the question and opened again
// after; a file that another program put in its place meanwhile is in use.
bool ExclusiveWriteFile::OnlyReadersHaveItOpen()
{
    int reader = -1;
    do
        reader = ::open(FPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    while (reader < 0 && errno == EINTR);
    if (reader < 0)
        return false;
    struct stat before {};
    if (::fstat(FHandle, &before) != 0) {
        ::close(reader);
        return false;
    }
    ::close(FHandle);
    FHandle = -1;
    const bool noWriter = ::fcntl(reader, F_SETLEASE, F_RDLCK) == 0;
    if (noWriter)
        ::fcntl(reader, F_SETLEASE, F_UNLCK);
    ::close(reader);
    if (!noWriter)
        return false;
    FHandle = OpenForWriting(FPath);
    struct stat after {};
    return ::fstat(FHandle, &after) == 0 && after.st_dev == before.st_dev && after.st_ino == before.st_ino;
}

void ExclusiveWriteFile::Fail(const std::string &Reason)
{
    Release();
    throw CannotOpenFileError(FPath, Reason);
}

std::int64_t ExclusiveWriteFile::Size() const
{
    struct stat info {};
    if (::fstat(FHandle, &info) != 0)
        throw Error(FileSystem::NativeSeparators(FPath) + ": " + FileSystem::SystemErrorText(errno));
    return static_cast<std::int64_t>(info.st_size);
}

void ExclusiveWriteFile::ReadExactAt(std::int64_t offset, void *data, std::size_t length) const
{
    auto *bytes = static_cast<unsigned char *>(data);
    std::size_t done = 0;
    int busy = 0;
    while (done < length) {
        const std::int64_t position = offset + static_cast<std::int64_t>(done);
        const ssize_t n = FileProbe::Fails(FileProbe::Step::Read, FPath, position)
                              ? (errno = FileProbe::FailureError(), -1)
                              : ::pread(FHandle, bytes + done, length - done, static_cast<off_t>(position));
        if (n < 0) {
            const int error = errno;
            if (MayRetry(error, busy))
                continue;
            throw Error(FileSystem::NativeSeparators(FPath) + ": " + FileSystem::SystemErrorText(error));
        }
        if (n == 0)
            throw Error("Stream read error");
        done += static_cast<std::size_t>(n);
    }
}

void ExclusiveWriteFile::WriteAllAt(std::int64_t offset, const void *data, std::size_t length, std::size_t *written)
{
    const auto *bytes = static_cast<const unsigned char *>(data);
    std::size_t done = 0;
    int busy = 0;
    while (done < length) {
        if (written)
            *written = done;
        const std::int64_t position = offset + static_cast<std::int64_t>(done);
        std::size_t piece = length - done;
        ssize_t n = -1;
        if (FileProbe::Fails(FileProbe::Step::Write, FPath, position)) {
            errno = FileProbe::FailureError();
        } else {
            if (piece > 1 && FileProbe::Fails(FileProbe::Step::Cut, FPath, position))
                piece /= 2;
            n = ::pwrite(FHandle, bytes + done, piece, static_cast<off_t>(position));
        }
        if (n < 0) {
            const int error = errno;
            if (!OutOfRetryTime() && MayRetry(error, busy))
                continue;
            errno = error;
        }
        if (n == 0)
            errno = EIO;
        if (n <= 0)
            FailWrite();
        FileProbe::Wrote(FPath, position, bytes + done, static_cast<std::size_t>(n));
        done += static_cast<std::size_t>(n);
    }
    if (written)
        *written = done;
}

void ExclusiveWriteFile::BoundRetries(std::int64_t Milliseconds)
{
    FRetryUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
    FRetryBounded = true;
}

bool ExclusiveWriteFile::OutOfRetryTime() const
{
    return FRetryBounded && std::chrono::steady_clock::now() >= FRetryUntil;
}

void ExclusiveWriteFile::Flush()
{
    while ((FileProbe::Fails(FileProbe::Step::Sync, FPath) ? (errno = EIO, -1) : ::fdatasync(FHandle)) != 0) {
        if (errno != EINTR)
            FailWrite();
    }
}

void ExclusiveWriteFile::Close()
{
    if (FHandle < 0)
        return;
    const bool fails = FileProbe::Fails(FileProbe::Step::Close, FPath);
    if (FLeased)
        ::fcntl(FHandle, F_SETLEASE, F_UNLCK);
    FLeased = false;
    const int handle = FHandle;
    FHandle = -1;
    if (fails)
        errno = EIO;
    if ((::close(handle) != 0 && errno != EINTR) || fails)
        FailWrite();
}

void ExclusiveWriteFile::FailWrite()
{
    FFailureReason = FileSystem::SystemErrorText(errno);
    throw Error("Stream write error");
}

void ExclusiveWriteFile::Release()
{
    if (FHandle < 0)
        return;
    if (FLeased)
        ::fcntl(FHandle, F_SETLEASE, F_UNLCK);
    FLeased = false;
    ::close(FHandle);
    FHandle = -1;
}
