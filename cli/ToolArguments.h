#pragma once

#include "tiletext/TileDump.h"
#include "cli/CheckCommand.h"
#include "cli/TileFile.h"

#include <string>
#include <vector>

// The command line of quorvane-tool, taken apart.
struct ToolArguments
{
    enum class Command { Help, Version, Dump, Diff, Apply, Recover, Check };

    Command What = Command::Help;
    std::vector<std::string> Paths; // the command's files, in order
    DumpOptions Dump;
    CheckOptions Check;
    // check's --rules and --skip, each given any number of times.
    TRuleSet NamedRules = 0;
    TRuleSet SkippedRules = 0;
    bool DryRun = false;
    LayoutChoice Layout = LayoutChoice::FromLength;
    // What apply and recover do with a cut-off save that another program
    // wrote over since: --finish or --discard.
    JournalChoice Journal = JournalChoice::Refuse;
    // What is wrong with the command line; empty when nothing is. What then
    // tells which usage line to show.
    std::string Problem;

    static ToolArguments Parse(const std::vector<std::string> &Arguments);

    // The section apply edits: land with --land, else items.
    TTileKind ApplyKind() const
    {
        return Dump.Sections == DumpSections::Land ? TTileKind::Land : TTileKind::Item;
    }

    // The usage line shown after a problem: the command's synopsis, or a
    // pointer to --help when no command was recognised.
    static std::string Usage(Command Which);
    // Every command's synopsis, for --help.
    static std::string Synopsis();
};
