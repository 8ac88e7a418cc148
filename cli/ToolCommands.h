#pragma once

#include <string>

struct DumpOptions;

// What a command has to say: the text for standard output and the exit
// status (0, or 1 when diff finds differences). Failures throw Error.
struct CommandResult
{
    int Status = 0;
    std::string Output;
};

namespace ToolCommands {

CommandResult Dump(const std::string &Path, const DumpOptions &Options);

// Status 0 when the files are equal, 1 when they differ.
CommandResult Diff(const std::string &PathA, const std::string &PathB);

// Checks every line of the edits file before anything is written, then
// writes the changed fields through the store's setters and saves, or with
// DryRun only reports what would change.
CommandResult Apply(const std::string &Path, const std::string &EditsPath, bool DryRun);

} // namespace ToolCommands
