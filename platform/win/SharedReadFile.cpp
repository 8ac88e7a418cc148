#include "platform/SharedReadFile.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/win/FileHandle.h"

SharedReadFile::SharedReadFile(const std::string &path)
    : FPath(path)
{
    // Other programs may go on reading and writing the file meanwhile.
    const HANDLE handle = FileHandle::OpenExisting(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
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
