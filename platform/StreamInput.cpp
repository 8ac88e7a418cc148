#include "platform/StreamInput.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/SharedReadFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace StreamInput {

namespace {

// A failed read says why, after the name of what was read when it has one
// (standard input has none; the caller puts its own words in front).
std::size_t ReadSomeOf(int descriptor, unsigned char *buffer, std::size_t length, const std::string &name)
{
    for (;;) {
        const ssize_t n = ::read(descriptor, buffer, length);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        const int error = errno;
        if (error != EINTR)
            throw Error((name.empty() ? std::string() : FileSystem::NativeSeparators(name) + ": ")
                        + FileSystem::SystemErrorText(error));
    }
}

bool IsStream(const std::string &path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0
           && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode) || S_ISSOCK(info.st_mode));
}

} // namespace

std::vector<unsigned char> ReadAll(const std::string &path, std::size_t limit, const Watch &watch)
{
    // Everything else, a missing file or a directory included, goes the
    // regular way and gets its usual message.
    if (!IsStream(path))
        return Watched(ReadWholeFile(path), watch);
    // A blocking open: a named pipe is read once its writer has come.
    int descriptor = -1;
    do
        descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        throw CannotOpenFileError(path, FileSystem::SystemErrorText(errno));
    try {
        std::vector<unsigned char> bytes = ReadToEnd(
            [&](unsigned char *buffer, std::size_t length) { return ReadSomeOf(descriptor, buffer, length, path); },
            limit, watch);
        ::close(descriptor);
        return bytes;
    } catch (...) {
        ::close(descriptor);
        throw;
    }
}

std::vector<unsigned char> ReadStandardInput(std::size_t limit, const Watch &watch)
{
    return ReadToEnd([](unsigned char *buffer, std::size_t length) { return ReadSomeOf(STDIN_FILENO, buffer, length, {}); },
                     limit, watch);
}

} // namespace StreamInput
