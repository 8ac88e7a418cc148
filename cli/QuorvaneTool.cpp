#include "cli/QuorvaneTool.h"

#include "cli/ToolArguments.h"
#include "cli/ToolCommands.h"
#include "platform/Error.h"
#include "platform/FileSystem.h"

#include <new>

namespace {

constexpr int ErrorStatus = 2;

const char *const HelpText =
    "\n"
    "The tile data file in text, for scripts, spreadsheets and version control.\n"
    "\n"
    "dump    writes one line per tile: index, flags (8 hex digits), flagnames,\n"
    "        weight, quality, unknown0, unknown1, quantity, anim (4 hex digits),\n"
    "        unknown2, hue, unknown3, unknown4, height, name. Names are UTF-8;\n"
    "        tab, newline and backslash are written \\t, \\n, \\\\ and other\n"
    "        control bytes \\xNN.\n"
    "          --format tsv|json  TSV with a header line (default), or JSON\n"
    "          --tiles A-B        only tiles A to B (0x1A or decimal)\n"
    "          --named            leave out tiles with an empty name\n"
    "diff    lists the tiles that differ, field by field, and the bytes outside\n"
    "        the records that differ. Exit status 0 equal, 1 different.\n"
    "apply   writes the edits of a TSV in the dump's form: the index column and\n"
    "        any of the others, by header name. Every line is checked first;\n"
    "        on any error nothing is written. Values equal to the tile's are\n"
    "        not rewritten.\n"
    "          --dry-run          show what would change, write nothing\n"
    "\n"
    "Errors go to standard error as one line, with exit status 2.\n";

ToolRun Failed(const std::string &Message)
{
    return {ErrorStatus, std::string(), "quorvane-tool: " + Message + "\n"};
}

CommandResult Run(const ToolArguments &Arguments)
{
    switch (Arguments.What) {
    case ToolArguments::Command::Dump:
        return ToolCommands::Dump(Arguments.Paths[0], Arguments.Dump);
    case ToolArguments::Command::Diff:
        return ToolCommands::Diff(Arguments.Paths[0], Arguments.Paths[1]);
    case ToolArguments::Command::Apply:
        return ToolCommands::Apply(Arguments.Paths[0], Arguments.Paths[1], Arguments.DryRun);
    case ToolArguments::Command::Help:
        break;
    }
    return {0, ToolArguments::Synopsis() + HelpText};
}

} // namespace

ToolRun RunQuorvaneTool(const std::vector<std::string> &Arguments)
{
    ToolArguments arguments = ToolArguments::Parse(Arguments);
    if (!arguments.Problem.empty()) {
        ToolRun run = Failed(arguments.Problem);
        run.Errors += ToolArguments::Usage(arguments.What);
        return run;
    }
    // Messages name the files as the system writes paths.
    for (std::string &path : arguments.Paths)
        path = FileSystem::NativeSeparators(path);
    try {
        CommandResult result = Run(arguments);
        return {result.Status, std::move(result.Output), std::string()};
    } catch (const Error &e) {
        return Failed(e.what());
    } catch (const std::bad_alloc &) {
        return Failed("out of memory");
    }
}
