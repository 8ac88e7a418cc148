#include "platform/SharedReadFile.h"

#include "platform/Error.h"
#include "platform/FileProbe.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <chrono>
#include <thread>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

SharedReadFile::SharedReadFile(const std::string &path)
    : FPath(path)
{
    // O_NONBLOCK keeps a FIFO planted under a file's name from blocking the
    // open; such a thing is refused just below, and regular files ignore it.
    // Another program's save holding its lease turns the open away until
    // the lease is broken or given up: that is tried again for half a
    // second, as a save tries a busy file.
    constexpr int MostBusyRetries = 50;
    int busy = 0;
    for (;;) {
        FHandle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (FHandle >= 0)
            break;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || ++busy > MostBusyRetries)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (FHandle < 0) {
        // Another program's save holds a lease on the file, which makes a
        // non-blocking open fail with EWOULDBLOCK: say it is in use, in the
        // words a refused save uses.
        const int openError = errno;
        throw CannotOpenFileError(path, openError == EWOULDBLOCK ? FileSystem::FileInUseText()
                                                                 : FileSystem::SystemErrorText(openError));
    }
    struct stat info {};
    std::string failure;
    if (::fstat(FHandle, &info) != 0)
        failure = FileSystem::SystemErrorText(errno);
    else if (S_ISDIR(info.st_mode))
        failure = FileSystem::SystemErrorText(EISDIR);
    else if (!S_ISREG(info.st_mode))
        failure = FileSystem::NotRegularFileText();
    if (!failure.empty()) {
        ::close(FHandle);
        FHandle = -1;
        throw CannotOpenFileError(path, failure);
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
        const std::int64_t position = offset + static_cast<std::int64_t>(done);
        const ssize_t n = FileProbe::Fails(FileProbe::Step::Read, FPath, position)
                              ? (errno = FileProbe::FailureError(), -1)
                              : ::pread(FHandle, out + done, length - done, static_cast<off_t>(position));
        if (n < 0 && errno == EINTR)
            continue;
        // Only a read of nothing is the end of the file. A failed read is no
        // end: taking it for one would hand callers a file cut short.
        if (n < 0)
            throw Error(FileSystem::NativeSeparators(FPath) + ": " + FileSystem::SystemErrorText(errno));
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}
