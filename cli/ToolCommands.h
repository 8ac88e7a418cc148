#pragma once

#include "cli/TileFile.h"
#include "tiledata/TileKind.h"

#include <string>

struct DumpOptions;

// What a command has to say: the text for standard output, warnings for
// standard error (whole lines, without the program's name) and the exit
// status (0, or 1 when diff finds differences). Failures throw Error.
struct CommandResult
{
    int Status = 0;
    std::string Output;
    std::string Warnings;
    // The file the command has written, whose Output is only a report of it.
    std::string Written;
};

namespace ToolCommands {

CommandResult Dump(const std::string &Path, const DumpOptions &Options,
                   LayoutChoice Layout = LayoutChoice::FromLength);

// Both sections, land lines after the item lines. Status 0 when the files
// are equal, 1 when they differ.
CommandResult Diff(const std::string &PathA, const std::string &PathB,
                   LayoutChoice Layout = LayoutChoice::FromLength);

// Checks every line of the edits file before anything is written, then
// writes the changed fields of the Kind's tiles through the store's setters
// and saves, or with DryRun only reports what would change. A file whose
// length fits neither layout is refused unless Layout names one.
//
// A save of Path that was cut off is first finished (or given up) as
// Recover does.
CommandResult Apply(const std::string &Path, const std::string &EditsPath, bool DryRun,
                    TTileKind Kind = TTileKind::Item, LayoutChoice Layout = LayoutChoice::FromLength,
                    JournalChoice Journal = JournalChoice::Refuse);

// Finishes or gives up a save of Path that was cut off, as its journal
// allows; one that another program wrote over since is refused unless
// Choice says which. The report goes to standard error.
CommandResult Recover(const std::string &Path, JournalChoice Choice);

} // namespace ToolCommands
