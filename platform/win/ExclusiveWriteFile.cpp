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
    // the same way until we close.
    FHandle = FileHandle::Kept(FileHandle::OpenExisting(path, GENERIC_READ | GENERIC_WRITE, 0));
}

ExclusiveWriteFile::~ExclusiveWriteFile()
{
    Release();
}

std::int64_t ExclusiveWriteFile::Size() const
{
    LARGE_INTEGER size {};
    if (!::GetFileSizeEx(FileHandle::Of(FHandle), &size))
        throw Error("Stream read error");
    return size.QuadPart;
}

void ExclusiveWriteFile::ReadExactAt(std::int64_t offset, void *data, std::size_t length) const
{
    if (offset < 0)
        throw Error("Stream read error");
    auto *bytes = static_cast<unsigned char *>(data);
    std::size_t done = 0;
    while (done < length) {
        const std::uint64_t position = static_cast<std::uint64_t>(offset) + done;
        OVERLAPPED at = FileHandle::At(position);
        DWORD n = 0;
        // A failure the probe makes has no system code of its own.
        const bool failed = FileProbe::Fails(FileProbe::Step::Read, FPath, static_cast<std::int64_t>(position))
                                ? (::SetLastError(ERROR_SUCCESS), true)
                                : !::ReadFile(FileHandle::Of(FHandle), bytes + done, FileHandle::Piece(length - done),
                                              &n, &at);
        if (failed) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF)
                throw Error("Stream read error");
            throw Error(FileSystem::NativeSeparators(FPath) + ": "
                        + FileHandle::ReasonFor(error == ERROR_SUCCESS ? ERROR_READ_FAULT : error));
        }
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
        done += n;
    }
    if (written)
        *written = done;
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
