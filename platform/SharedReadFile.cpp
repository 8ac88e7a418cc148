#include "platform/SharedReadFile.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

SharedReadFile::SharedReadFile(const std::string &path)
    : FPath(path)
{
    // O_NONBLOCK keeps a FIFO planted under a file's name from blocking the
    // open; such a thing is refused just below, and regular files ignore it.
    FHandle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (FHandle < 0)
        throw CannotOpenFileError(path, FileSystem::SystemErrorText(errno));
    struct stat info {};
    int failure = 0;
    if (::fstat(FHandle, &info) != 0)
        failure = errno;
    else if (S_ISDIR(info.st_mode))
        failure = EISDIR;
    else if (!S_ISREG(info.st_mode))
        failure = EINVAL;
    if (failure != 0) {
        ::close(FHandle);
        FHandle = -1;
        throw CannotOpenFileError(path, FileSystem::SystemErrorText(failure));
    }
    FSize = static_cast<std::int64_t>(info.st_size);
}

SharedReadFile::~SharedReadFile()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

std::size_t SharedReadFile::ReadAt(std::int64_t offset, void *buffer, std::size_t length) const
{
    if (offset < 0)
        return 0;
    auto *out = static_cast<unsigned char *>(buffer);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(FHandle, out + done, length - done,
                                  static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}
