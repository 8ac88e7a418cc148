#include "cli/ToolArguments.h"

#include "tiletext/CellValue.h"
#include "tiletext/TextAppend.h"
#include "cli/ToolInput.h"
#include "platform/Error.h"

#include <algorithm>

namespace {

const char *const DumpUsage = "quorvane-tool dump <tiledata.mul> [--land|--all] [--format tsv|json] [--tiles A-B] "
                              "[--named] [--raw-names] [--texture] [--animation] [--from DIR] "
                              "[--layout classic|newer]";
const char *const DiffUsage = "quorvane-tool diff <a.mul> <b.mul> [--layout classic|newer]";
const char *const ApplyUsage = "quorvane-tool apply <tiledata.mul> <edits.tsv> [--land] [--dry-run] "
                               "[--layout classic|newer] [--finish|--discard]";
const char *const RecoverUsage = "quorvane-tool recover <tiledata.mul> [--finish|--discard]";
const char *const CheckUsage = "quorvane-tool check <tiledata.mul> [--format tsv|json] [--rules a,b] [--skip a,b] "
                               "[--baseline FILE] [--fail-on error|warning|note] [--from DIR] "
                               "[--layout classic|newer]";

// The largest index --tiles takes before the file says how many tiles it
// has; the file's own count bounds it when the dump runs.
constexpr int MaxTileNumber = (1 << 30) - 1;

std::size_t PathCount(ToolArguments::Command Which)
{
    using Command = ToolArguments::Command;
    return Which == Command::Dump || Which == Command::Recover || Which == Command::Check ? 1 : 2;
}

// One end of a --tiles range: "0x1A" as the dump writes it, or decimal.
int TileNumber(const std::string &Text)
{
    if (Text.size() > 1 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X'))
        return CellValue::TileIndex(Text, MaxTileNumber);
    return int(CellValue::Decimal(Text, MaxTileNumber));
}

void ReadTileRange(const std::string &Text, DumpOptions &Options)
{
    Options.TilesText = Text;
    const std::size_t dash = Text.find('-');
    // An end left empty ("-5", "5-") would be blamed as an empty number.
    if (Text.empty() || dash == 0 || dash + 1 == Text.size())
        throw Error(TextAppend::Quoted(Text) + " is not a tile or a range of tiles such as 0x10-0x1F or 16-31"
                    + (dash == 0 ? " (no tile number is below 0)" : ""));
    Options.First = TileNumber(Text.substr(0, dash));
    Options.Last = dash == std::string::npos ? Options.First : TileNumber(Text.substr(dash + 1));
    if (Options.First > Options.Last)
        throw Error(TextAppend::Quoted(Text) + " runs backwards");
}

DumpFormat FormatNamed(const std::string &Text)
{
    if (Text == "tsv")
        return DumpFormat::Tsv;
    if (Text == "json")
        return DumpFormat::Json;
    throw Error(TextAppend::Quoted(Text) + " is not a format (tsv or json)");
}

LayoutChoice LayoutNamed(const std::string &Text)
{
    if (Text == "classic")
        return LayoutChoice::Classic;
    if (Text == "newer")
        return LayoutChoice::Newer;
    throw Error(TextAppend::Quoted(Text) + " is not a layout (classic or newer)");
}

bool IsOptionOf(ToolArguments::Command What, const std::string &Option)
{
    using Command = ToolArguments::Command;
    if (Option == "--finish" || Option == "--discard")
        return What == Command::Apply || What == Command::Recover;
    if (What == Command::Recover)
        return false;
    if (What == Command::Check)
        return Option == "--format" || Option == "--rules" || Option == "--skip" || Option == "--baseline"
               || Option == "--fail-on" || Option == "--from" || Option == "--layout";
    if (Option == "--layout")
        return true;
    if (What == Command::Dump)
        return Option == "--format" || Option == "--tiles" || Option == "--named" || Option == "--raw-names"
               || Option == "--land" || Option == "--all" || Option == "--texture" || Option == "--animation"
               || Option == "--from";
    return What == Command::Apply && (Option == "--dry-run" || Option == "--land");
}

TSeverity SeverityNamed(const std::string &Text)
{
    if (const std::optional<TSeverity> severity = CheckRules::SeverityNamed(Text))
        return *severity;
    throw Error(TextAppend::Quoted(Text) + " is not a severity (error, warning or note)");
}

std::string FolderNamed(const std::string &Text)
{
    if (Text.empty())
        throw Error("needs a folder");
    return Text;
}

// Check's options; false for an option check shares with dump or none.
bool SetCheckOption(ToolArguments &Result, const std::string &Option, const std::string &Value)
{
    CheckOptions &Check = Result.Check;
    if (Option == "--format")
        Check.Format = FormatNamed(Value);
    else if (Option == "--rules")
        Result.NamedRules |= CheckRules::Parse(Value);
    else if (Option == "--skip")
        Result.SkippedRules |= CheckRules::Parse(Value);
    else if (Option == "--baseline")
        Check.Baseline = FolderNamed(Value);
    else if (Option == "--fail-on")
        Check.FailOn = SeverityNamed(Value);
    else if (Option == "--from")
        Check.From = FolderNamed(Value);
    else
        return false;
    return true;
}

void SetOption(ToolArguments &Result, const std::string &Option, const std::string &Value)
{
    if (Result.What == ToolArguments::Command::Check && SetCheckOption(Result, Option, Value))
        return;
    if (Option == "--format")
        Result.Dump.Format = FormatNamed(Value);
    else if (Option == "--tiles")
        ReadTileRange(Value, Result.Dump);
    else if (Option == "--named")
        Result.Dump.NamedOnly = true;
    else if (Option == "--raw-names")
        Result.Dump.RawNames = true;
    else if (Option == "--land")
        Result.Dump.Sections = DumpSections::Land;
    else if (Option == "--all")
        Result.Dump.Sections = DumpSections::Both;
    else if (Option == "--texture")
        Result.Dump.Texture = true;
    else if (Option == "--animation")
        Result.Dump.Animation = true;
    else if (Option == "--from")
        Result.Dump.LinkFolder = FolderNamed(Value);
    else if (Option == "--layout")
        Result.Layout = LayoutNamed(Value);
    else if (Option == "--finish" || Option == "--discard")
        Result.Journal = Option == "--finish" ? JournalChoice::Finish : JournalChoice::Discard;
    else
        Result.DryRun = true;
}

// Reads the option at Arguments[At]; At moves past its value, if any.
void ReadOption(ToolArguments &Result, const std::vector<std::string> &Arguments, std::size_t &At)
{
    std::string option = Arguments[At];
    std::string value;
    const bool dump = Result.What == ToolArguments::Command::Dump;
    const bool check = Result.What == ToolArguments::Command::Check;
    const auto named = [&option](const char *Name) { return option.rfind(Name, 0) == 0; };
    const bool takesValue = ((dump || check) && (named("--format") || named("--from"))) || (dump && named("--tiles"))
                            || (check && (named("--rules") || named("--skip") || named("--baseline") || named("--fail-on")))
                            || named("--layout");
    if (takesValue) {
        const std::size_t equals = option.find('=');
        if (equals != std::string::npos) {
            value = option.substr(equals + 1);
            option.erase(equals);
        } else if (At + 1 < Arguments.size()) {
            value = Arguments[++At];
        } else {
            throw Error(TextAppend::Quoted(option) + " needs a value");
        }
    }
    if (!IsOptionOf(Result.What, option))
        throw Error(TextAppend::Quoted(option) + " is not an option of this command");
    try {
        SetOption(Result, option, value);
    } catch (const Error &e) {
        throw Error(option + ": " + e.what());
    }
}

// The columns from the files beside the tile data belong to one section
// each; asked for without it, they would silently give nothing.
void CheckLinkOptions(const DumpOptions &Options)
{
    if (Options.Texture && Options.Sections == DumpSections::Items)
        throw Error("--texture adds a column to the land tiles: give --land or --all too");
    if (Options.Animation && Options.Sections == DumpSections::Land)
        throw Error("--animation adds a column to the items: leave out --land, or give --all");
    if (!Options.LinkFolder.empty() && !Options.Texture && !Options.Animation)
        throw Error("--from names where --texture and --animation read their files: give one of them too");
}

void ReadCommandLine(ToolArguments &Result, const std::vector<std::string> &Arguments)
{
    if (Arguments.empty())
        throw Error("no command given");
    for (const std::string &argument : Arguments) {
        if (argument == "--help" || argument == "-h")
            return;
    }
    if (Arguments[0] == "--version") {
        if (Arguments.size() > 1)
            throw Error("--version takes no arguments");
        Result.What = ToolArguments::Command::Version;
        return;
    }
    const std::string &command = Arguments[0];
    if (command == "dump")
        Result.What = ToolArguments::Command::Dump;
    else if (command == "diff")
        Result.What = ToolArguments::Command::Diff;
    else if (command == "apply")
        Result.What = ToolArguments::Command::Apply;
    else if (command == "recover")
        Result.What = ToolArguments::Command::Recover;
    else if (command == "check")
        Result.What = ToolArguments::Command::Check;
    else
        throw Error(TextAppend::Quoted(command) + " is not a command");
    for (std::size_t at = 1; at < Arguments.size(); ++at) {
        const std::string &argument = Arguments[at];
        if (argument.size() > 1 && argument[0] == '-')
            ReadOption(Result, Arguments, at);
        else
            Result.Paths.push_back(argument);
    }
    if (Result.Paths.size() != PathCount(Result.What))
        throw Error("this command takes " + std::to_string(PathCount(Result.What)) + " file name"
                    + (PathCount(Result.What) == 1 ? "" : "s") + ", not " + std::to_string(Result.Paths.size()));
    CheckLinkOptions(Result.Dump);
    Result.Check.Rules = (Result.NamedRules != 0 ? Result.NamedRules : AllRules) & ~Result.SkippedRules;
    if (Result.What == ToolArguments::Command::Check && Result.Check.Rules == 0)
        throw Error("--skip leaves no rule to check");
    // Standard input can be read only once.
    if (std::count(Result.Paths.begin(), Result.Paths.end(), ToolInput::StandardInputPath) > 1)
        throw Error("only one of the files can be standard input (-)");
}

} // namespace

ToolArguments ToolArguments::Parse(const std::vector<std::string> &Arguments)
{
    ToolArguments result;
    try {
        ReadCommandLine(result, Arguments);
    } catch (const Error &e) {
        result.Problem = e.what();
    }
    return result;
}

std::string ToolArguments::Usage(Command Which)
{
    switch (Which) {
    case Command::Dump:
        return std::string("usage: ") + DumpUsage + '\n';
    case Command::Diff:
        return std::string("usage: ") + DiffUsage + '\n';
    case Command::Apply:
        return std::string("usage: ") + ApplyUsage + '\n';
    case Command::Recover:
        return std::string("usage: ") + RecoverUsage + '\n';
    case Command::Check:
        return std::string("usage: ") + CheckUsage + '\n';
    case Command::Help:
    case Command::Version:
        break;
    }
    return "usage: quorvane-tool dump|diff|apply|recover|check <file>... (quorvane-tool --help tells more)\n";
}

std::string ToolArguments::Synopsis()
{
    return std::string("usage: ") + DumpUsage + "\n       " + DiffUsage + "\n       " + ApplyUsage + "\n       "
           + RecoverUsage + "\n       " + CheckUsage + '\n';
}
