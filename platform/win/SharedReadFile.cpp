#include "platform/SharedReadFile.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/win/FileHandle.h"

SharedReadFile::SharedReadFile(const std::string &path)
    : FPath(path)
{
    // Other programs may go on reading and writing the file meanwhile.
    // Another program's save keeps others out until it is done: that is
    // tried again for half a second, as a save tries a busy file.
    constexpr int MostBusyRetries = 50;
    constexpr DWORD Share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE handle = FileHandle::OpenUnlessShared(path, GENERIC_READ, Share);
    for (int busy = 0; handle == INVALID_HANDLE_VALUE && busy < MostBusyRetries; ++busy) {
        ::Sleep(10);
        handle = FileHandle::OpenUnlessShared(path, GENERIC_READ, Share);
    }
    if (handle == INVALID_HANDLE_VALUE)
        handle = FileHandle::OpenExisting(path, GENERIC_READ, Share);
    FHandle = FileHandle::Kept(handle);
    LARGE_INTEGER size {};
    if (!::GetFileSizeEx(handle, &size)) {
        const DWORD failure = ::GetLastError();
        ::CloseHandle(handle);
        FHandle = -1;
        throw CannotOpenFileError(path, FileSystem::SystemErrorText(static_cast<int>(failure)));
    }
    FSize = size.QuadPart;
}

SharedReadFile::~SharedReadFile()
{
    if (FHandle != -1)
        ::CloseHandle(FileHandle::Of(FHandle));
}

std::size_t SharedReadFile::ReadAt(std::int64_t offset, void *buffer, std::size_t length) const
{
    if (offset < 0)
        return 0;
    auto *out = static_cast<unsigned char *>(buffer);
    std::size_t done = 0;
    while (done < length) {
        const DWORD n = FileHandle::ReadPiece(FileHandle::Of(FHandle), FPath, static_cast<std::uint64_t>(offset) + done,
                                              out + done, length - done);
        if (n == 0)
            break;
        done += n;
    }
    return done;
}
