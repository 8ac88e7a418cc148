#include "platform/Process.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>
#include <vector>

namespace Process {

std::string ExecutablePath()
{
    // readlink does not say whether it truncated, so grow the buffer until
    // the link's text fits with room to spare.
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            throw Error("Cannot determine the program's path. " + FileSystem::SystemErrorText(errno));
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<std::string> Arguments(int argc, char **argv)
{
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void UseBinaryStandardStreams()
{
    // Standard streams carry bytes unchanged here already.
}

void KeepRunningOnClosedPipe()
{
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace Process
