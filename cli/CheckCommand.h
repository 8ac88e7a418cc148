#pragma once

#include "cli/TileFile.h"
#include "cli/ToolCommands.h"
#include "tilecheck/CheckRule.h"
#include "tiletext/TileDump.h"

#include <string>

// What check is asked to do.
struct CheckOptions
{
    DumpFormat Format = DumpFormat::Tsv;
    TRuleSet Rules = AllRules;
    // The least severity that makes the status 1.
    TSeverity FailOn = TSeverity::Error;
    // An earlier output whose findings are left out; empty for none.
    std::string Baseline;
    // Where the files beside the tile data are; empty: beside it.
    std::string From;
};

namespace CheckCommand {

// The findings in Options.Format; the files read and the count per rule on
// standard error. Status 1 when a finding reported is at least as severe as
// Options.FailOn, else 0.
CommandResult Run(const std::string &Path, const CheckOptions &Options, LayoutChoice Layout);

} // namespace CheckCommand
