#pragma once

#include <string>
#include <vector>

// Where the tool's commands read their files from, and how their errors
// name them. "-" stands for standard input wherever a file is only read.
namespace ToolInput {

constexpr const char *StandardInputPath = "-";

// The file's name as messages give it: the path, or "standard input".
std::string NameOf(const std::string &Path);

// The whole of a file that is only read: standard input for "-", a pipe or
// process substitution read to its end, anything else as a regular file.
// Errors name the file.
std::vector<unsigned char> Read(const std::string &Path);

// An edits file, read as Read reads it, but refused as soon as a line
// grows longer than any line of a dump can be, so that a device such as
// /dev/zero or a file that is no edits file is not read into memory whole:
//   edits.tsv:2: the line is longer than any line of a dump (4,096 bytes); is
//   this an edits file?
std::vector<unsigned char> ReadEdits(const std::string &Path);

// An earlier output of check, read with the same bound on its lines, the
// question asking whether it is a check's output.
std::vector<unsigned char> ReadBaseline(const std::string &Path);

// Runs Action; an Error whose message does not name the file yet (such as
// "Stream read error") gets the name put in front: "a.mul: Stream read error".
template <typename Action>
auto NamingFile(const std::string &Path, Action &&Do) -> decltype(Do());

// Rethrows the Error being handled with the file's name in front, unless
// its message names the file already.
[[noreturn]] void RethrowNaming(const std::string &Path);

template <typename Action>
auto NamingFile(const std::string &Path, Action &&Do) -> decltype(Do())
{
    try {
        return Do();
    } catch (...) {
        RethrowNaming(Path);
    }
}

} // namespace ToolInput
