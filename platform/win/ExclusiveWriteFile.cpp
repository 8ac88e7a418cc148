#include "platform/ExclusiveWriteFile.h"

#include "platform/Error.h"
#include "platform/FileProbe.h"
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
        OVERLAPPED at = FileHandle::At(static_cast<std::uint64_t>(offset) + done);
        DWORD n = 0;
        if (!::ReadFile(FileHandle::Of(FHandle), bytes + done, FileHandle::Piece(length - done), &n, &at) || n == 0)
            throw Error("Stream read error");
        done += n;
    }
}

void ExclusiveWriteFile::WriteAllAt(std::int64_t offset, const void *data, std::size_t length)
{
    if (offset < 0)
        throw Error("Stream write error");
    const auto *bytes = static_cast<const unsigned char *>(data);
    std::size_t done = 0;
    while (done < length) {
        const std::uint64_t position = static_cast<std::uint64_t>(offset) + done;
        OVERLAPPED at = FileHandle::At(position);
        DWORD n = 0;
        if (FileProbe::Fails(FileProbe::Step::Write, FPath, static_cast<std::int64_t>(position))
            || !::WriteFile(FileHandle::Of(FHandle), bytes + done, FileHandle::Piece(length - done), &n, &at) || n == 0)
            FailWrite();
        done += n;
    }
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
