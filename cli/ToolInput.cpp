#include "cli/ToolInput.h"

#include "platform/Error.h"
#include "platform/StreamInput.h"

namespace ToolInput {

namespace {

// Far more than any tile data or edits file: only a stream that never
// ends, such as /dev/zero, comes near it.
constexpr std::size_t LongestStream = std::size_t(256) * 1024 * 1024;

} // namespace

std::string NameOf(const std::string &Path)
{
    return Path == StandardInputPath ? std::string("standard input") : Path;
}

std::vector<unsigned char> Read(const std::string &Path)
{
    return NamingFile(Path, [&] {
        if (Path == StandardInputPath)
            return StreamInput::ReadStandardInput(LongestStream);
        return StreamInput::ReadAll(Path, LongestStream);
    });
}

void RethrowNaming(const std::string &Path)
{
    try {
        throw;
    } catch (const Error &e) {
        const std::string name = NameOf(Path);
        if (std::string(e.what()).find(name) != std::string::npos)
            throw;
        throw Error(name + ": " + e.what());
    }
}

} // namespace ToolInput
