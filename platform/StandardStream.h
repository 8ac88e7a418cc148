#pragma once

#include <string>

// A command-line program's writes to its standard output and error.
namespace StandardStream {

enum class Stream { Output, Error };

enum class Outcome {
    Written, // every byte arrived
    Closed,  // the reader went away, as `head` does once it has its lines
    Failed,  // anything else: a full disk, a stream that is not there
};

// A Unix shell's status for a program ended by SIGPIPE (128 + 13): what a
// program whose reader went away ends with, on every system.
constexpr int ClosedStatus = 141;

// Writes the bytes, all of them, to a file or a pipe as they are: UTF-8
// with "\n" line ends stays so. A Windows console gets the text as UTF-16
// instead, so that names show as they are rather than in the console's
// code page (it shows "\n" as a new line). On a POSIX system a closed pipe
// normally ends the process by SIGPIPE before this returns, as it ends any
// Unix tool; Closed comes back only where the signal is ignored.
Outcome Write(Stream Which, const std::string &Bytes);

// Why the last Write that came back Failed failed, in the system's words
// ("No space left on device"), for the user to act on.
std::string FailureReason();

} // namespace StandardStream
