#include "platform/ExclusiveWriteFile.h"

#include "platform/Error.h"
#include "platform/FileProbe.h"
#include "platform/FileSystem.h"
#include "platform/win/FileHandle.h"

ExclusiveWriteFile::ExclusiveWriteFile(const std::string &path)
    : FPath(path)
{
    // No sharing: the open fails with a sharing violation while any other
    // handle, in any process, has the file open, and every other open fails
    // the same way until we close. Another program that only glances at the
    // file closes it again in a moment, so that is tried for half a second.
    constexpr int MostBusyRetries = 50;
    constexpr DWORD ReadWrite = GENERIC_READ | GENERIC_WRITE;
    HANDLE handle = FileHandle::OpenUnlessShared(path, ReadWrite, 0);
    for (int busy = 0; handle == INVALID_HANDLE_VALUE && busy < MostBusyRetries; ++busy) {
        ::Sleep(10);
        handle = FileHandle::OpenUnlessShared(path, ReadWrite, 0);
    }
    // A reader that keeps the file open must not make saving impossible:
    // letting others read succeeds when every handle open elsewhere only
    // reads and lets others write. A writer still keeps the file in use.
    if (handle == INVALID_HANDLE_VALUE)
        handle = FileHandle::OpenExisting(path, ReadWrite, FILE_SHARE_READ);
    FHandle = FileHandle::Kept(handle);
}

ExclusiveWriteFile::~ExclusiveWriteFile()
{
    Release();
}

std::int64_t ExclusiveWriteFile::Size() const
{
    LARGE_INTEGER size {};
    if (!::GetFileSizeEx(FileHandle::Of(FHandle), &size))
        throw Error(FileSystem::NativeSeparators(FPath) + ": " + FileHandle::ReasonFor(::GetLastError()));
    return size.QuadPart;
}

void ExclusiveWriteFile::ReadExactAt(std::int64_t offset, void *data, std::size_t length) const
{
    if (offset < 0)
        throw Error("Stream read error");
    auto *bytes = static_cast<unsigned char *>(data);
    std::size_t done = 0;
    while (done < length) {
        const DWORD n = FileHandle::ReadPiece(FileHandle::Of(FHandle), FPath, static_cast<std::uint64_t>(offset) + done,
                                              bytes + done, length - done);
        if (n == 0)
            throw Error("Stream read error");
        done += n;
    }
}

void ExclusiveWriteFile::WriteAllAt(std::int64_t offset, const void *data, std::size_t length, std::size_t *written)
{
    if (offset < 0)
        throw Error("Stream write error");
    const auto *bytes = static_cast<const unsigned char *>(data);
    std::size_t done = 0;
    while (done < length) {
        if (written)
            *written = done;
        const std::uint64_t position = static_cast<std::uint64_t>(offset) + done;
        OVERLAPPED at = FileHandle::At(position);
        DWORD piece = FileHandle::Piece(length - done);
        DWORD n = 0;
        if (FileProbe::Fails(FileProbe::Step::Write, FPath, static_cast<std::int64_t>(position))) {
            ::SetLastError(ERROR_SUCCESS);
            FailWrite();
        }
        if (piece > 1 && FileProbe::Fails(FileProbe::Step::Cut, FPath, static_cast<std::int64_t>(position)))
            piece /= 2;
        if (!::WriteFile(FileHandle::Of(FHandle), bytes + done, piece, &n, &at) || n == 0)
            FailWrite();
        FileProbe::Wrote(FPath, static_cast<std::int64_t>(position), bytes + done, n);
        done += n;
    }
    if (written)
        *written = done;
}

// Windows writes are not turned away for a moment, so nothing is retried.
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
    if (FileProbe::Fails(FileProbe::Step::Sync, FPath) || !::FlushFileBuffers(FileHandle::Of(FHandle)))
        FailWrite();
}

void ExclusiveWriteFile::Close()
{
    if (FHandle == -1)
        return;
    const bool fails = FileProbe::Fails(FileProbe::Step::Close, FPath);
    const HANDLE handle = FileHandle::Of(FHandle);
    FHandle = -1;
    if (!::CloseHandle(handle) || fails)
        FailWrite();
}

void ExclusiveWriteFile::FailWrite()
{
    const DWORD error = ::GetLastError();
    FFailureReason = FileHandle::ReasonFor(error == ERROR_SUCCESS ? ERROR_WRITE_FAULT : error);
    throw Error("Stream write error");
}

void ExclusiveWriteFile::Release()
{
    if (FHandle == -1)
        return;
    ::CloseHandle(FileHandle::Of(FHandle));
    FHandle = -1;
}
