#include "platform/StandardStream.h"

#include "platform/FileSystem.h"

#include <cerrno>
#include <unistd.h>

namespace StandardStream {

namespace {

std::string LastFailure;

} // namespace

std::string FailureReason()
{
    return LastFailure;
}

Outcome Write(Stream Which, const std::string &Bytes)
{
    const int descriptor = Which == Stream::Output ? STDOUT_FILENO : STDERR_FILENO;
    std::size_t done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = ::write(descriptor, Bytes.data() + done, Bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EPIPE)
            return Outcome::Closed;
        if (n <= 0) {
            LastFailure = n < 0 ? FileSystem::SystemErrorText(errno) : "the system took none of the bytes";
            return Outcome::Failed;
        }
        done += static_cast<std::size_t>(n);
    }
    return Outcome::Written;
}

} // namespace StandardStream
