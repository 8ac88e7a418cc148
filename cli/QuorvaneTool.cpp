#include "cli/QuorvaneTool.h"

#include "cli/CheckCommand.h"
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
    "dump    writes one line per item tile: index, flags (8 hex digits, 16 for\n"
    "        a newer file), flagnames, weight, quality, unknown0, unknown1,\n"
    "        quantity, anim (4 hex digits), unknown2, hue, unknown3, unknown4,\n"
    "        height, name, layout. Names are UTF-8; tab, newline and backslash are\n"
    "        written \\t, \\n, \\\\ and other control bytes \\xNN.\n"
    "          --land             the land tiles instead: index, flags,\n"
    "                             flagnames, texture, name, layout\n"
    "          --all              both: the item table, a blank line, the land table\n"
    "          --format tsv|json  TSV with a header line (default), or JSON\n"
    "          --tiles A-B        only tiles A to B (0x1A or decimal)\n"
    "          --named            leave out tiles with an empty name\n"
    "          --raw-names        add a column before layout, rawname: the name\n"
    "                             field's bytes where some follow the name's end\n"
    "          --texture          with --land or --all: add texturesize to the\n"
    "                             land table, the side of the texture the TexID\n"
    "                             names in texidx.mul (64, 128, or empty)\n"
    "          --animation        add frames to the item table: the item's frames\n"
    "                             in animdata.mul, as indices (empty for none)\n"
    "          --from DIR         read those files from DIR, not from beside the\n"
    "                             tile data file\n"
    "diff    lists the item and land tiles that differ, field by field, and\n"
    "        the bytes outside the records that differ. Every byte counts,\n"
    "        those after a name's end too. Exit status 0 equal, 1 different.\n"
    "apply   writes the edits of a TSV in the dump's form: the index column and\n"
    "        any of the others, by header name. Every line is checked first;\n"
    "        on any error nothing is written. Values equal to the tile's are\n"
    "        not rewritten. texturesize and frames are read as nothing to change.\n"
    "          --land             the edits are of land tiles\n"
    "          --dry-run          show what would change, write nothing\n"
    "recover finishes a save that was cut off (a kill, a crash, a power cut),\n"
    "        as apply and the editor also do first. Every save first writes\n"
    "        the old and new bytes to tiledata.mul-journal beside the file.\n"
    "        A save over which another program wrote since is refused unless\n"
    "          --finish           completes it over the other program's bytes\n"
    "          --discard          keeps the file as it is, removing the journal\n"
    "        dump, diff and check refuse a file whose save is not finished.\n"
    "check   finds where the files beside the tile data disagree with it: the\n"
    "        art, animdata.mul, texidx.mul and texmaps.mul, radarcol.mul. One\n"
    "        finding a line: index, section, rule, severity, message. The files\n"
    "        read and the count per rule go to standard error. Exit status 0, or\n"
    "        1 when a finding is at least as severe as --fail-on.\n"
    "          --rules a,b        only these rules\n"
    "          --skip a,b         all rules but these\n"
    "          --baseline FILE    leave out the findings of an earlier output\n"
    "                             (the same section, index and rule)\n"
    "          --fail-on S        error (default), warning or note\n"
    "          --format tsv|json  TSV with a header line (default), or JSON\n"
    "          --from DIR         read the other files from DIR\n"
    "        Rules: animation-without-entry, animation-frame-outside,\n"
    "        animation-frame-no-picture, entry-without-animation,\n"
    "        texture-missing, radar-missing, unnamed-bits (see the README).\n"
    "\n"
    "The layout (classic: 32-bit flags; newer: 64-bit flags) comes from the\n"
    "file's length. A length that fits neither is read as classic with a\n"
    "warning, and apply refuses it unless --layout classic|newer says which.\n"
    "A file that is only read may be - for standard input, or a pipe. Cells\n"
    "may be quoted as spreadsheets write them: \"oak \"\"red\"\" barrel\".\n"
    "A TSV dump's last column, layout, names the file's layout (classic or\n"
    "newer) on every line; apply refuses lines of the other layout.\n"
    "quorvane-tool --version prints the version.\n"
    "Errors go to standard error as one line, with exit status 2. Once apply\n"
    "has written the file its status is 0, even if its report cannot be.\n";

ToolRun Failed(const std::string &Message)
{
    return {ErrorStatus, std::string(), "quorvane-tool: " + Message + "\n", std::string()};
}

// Each line of Lines after the program's name, as every error line is.
std::string Prefixed(const std::string &Lines)
{
    std::string out;
    for (std::size_t start = 0; start < Lines.size();) {
        const std::size_t end = Lines.find('\n', start);
        const std::size_t next = end == std::string::npos ? Lines.size() : end + 1;
        out += "quorvane-tool: " + Lines.substr(start, next - start);
        start = next;
    }
    return out;
}

CommandResult Run(const ToolArguments &Arguments)
{
    switch (Arguments.What) {
    case ToolArguments::Command::Dump:
        return ToolCommands::Dump(Arguments.Paths[0], Arguments.Dump, Arguments.Layout);
    case ToolArguments::Command::Diff:
        return ToolCommands::Diff(Arguments.Paths[0], Arguments.Paths[1], Arguments.Layout);
    case ToolArguments::Command::Apply:
        return ToolCommands::Apply(Arguments.Paths[0], Arguments.Paths[1], Arguments.DryRun, Arguments.ApplyKind(),
                                   Arguments.Layout, Arguments.Journal);
    case ToolArguments::Command::Recover:
        return ToolCommands::Recover(Arguments.Paths[0], Arguments.Journal);
    case ToolArguments::Command::Check:
        return CheckCommand::Run(Arguments.Paths[0], Arguments.Check, Arguments.Layout);
    case ToolArguments::Command::Version:
        return {0, std::string("quorvane-tool ") + QUORVANE_VERSION + '\n', std::string(), std::string()};
    case ToolArguments::Command::Help:
        break;
    }
    return {0, ToolArguments::Synopsis() + HelpText, std::string(), std::string()};
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
        ToolRun run{result.Status, std::move(result.Output), Prefixed(result.Warnings), std::string()};
        if (!result.Written.empty())
            run.UnwrittenReport = Prefixed("warning: " + result.Written
                                           + " holds the edits, but the report of them cannot be written\n");
        return run;
    } catch (const Error &e) {
        return Failed(e.what());
    } catch (const std::bad_alloc &) {
        return Failed("out of memory");
    }
}
