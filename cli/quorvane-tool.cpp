// quorvane-tool: dump, diff and apply the tile data file as text.

#include "cli/QuorvaneTool.h"
#include "platform/Process.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool WriteAll(std::FILE *Stream, const std::string &Text)
{
    return std::fwrite(Text.data(), 1, Text.size(), Stream) == Text.size() && std::fflush(Stream) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    // A dump is the same bytes on every system, for version control.
    Process::UseBinaryStandardStreams();
    const ToolRun run = RunQuorvaneTool(Process::Arguments(argc, argv));
    // Output that did not all arrive (a full disk, a closed pipe) must not
    // pass for a complete dump.
    if (!WriteAll(stdout, run.Output)) {
        std::fputs("quorvane-tool: cannot write the output\n", stderr);
        return 2;
    }
    WriteAll(stderr, run.Errors);
    return run.Status;
}
