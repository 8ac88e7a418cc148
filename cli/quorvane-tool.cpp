// quorvane-tool: dump, diff and apply the tile data file as text.

#include "cli/QuorvaneTool.h"
#include "platform/Process.h"
#include "platform/SignalDeferral.h"
#include "platform/StandardStream.h"

int main(int argc, char **argv)
{
    using StandardStream::Outcome;
    // A dump is the same bytes on every system, for version control.
    Process::UseBinaryStandardStreams();
    // A save that fails while a request to stop waits says why, in the
    // tool's words, before the request ends the tool.
    SignalDeferral::TellFailuresWith([](const std::string &Message) {
        StandardStream::Write(StandardStream::Stream::Error, "quorvane-tool: " + Message + "\n");
    });
    const ToolRun run = RunQuorvaneTool(Process::Arguments(argc, argv));
    // Once apply has changed the file, its status must say so, whatever
    // becomes of the report: a closed pipe must not end it by SIGPIPE.
    const bool reportOnly = !run.UnwrittenReport.empty();
    if (reportOnly)
        Process::KeepRunningOnClosedPipe();
    const Outcome written = StandardStream::Write(StandardStream::Stream::Output, run.Output);
    if (written != Outcome::Written && reportOnly) {
        StandardStream::Write(StandardStream::Stream::Error, run.Errors + run.UnwrittenReport);
        return run.Status;
    }
    switch (written) {
    case Outcome::Written:
        break;
    // A reader that has all it wants (`| head`) is no error: the tool stops
    // quietly, as Unix tools do.
    case Outcome::Closed:
        return StandardStream::ClosedStatus;
    // Output that did not all arrive (a full disk) must not pass for a
    // complete dump.
    case Outcome::Failed:
        StandardStream::Write(StandardStream::Stream::Error,
                              "quorvane-tool: cannot write the output: " + StandardStream::FailureReason() + "\n");
        return 2;
    }
    StandardStream::Write(StandardStream::Stream::Error, run.Errors);
    return run.Status;
}
