#include "cli/CheckCommand.h"

#include "cli/CheckBaseline.h"
#include "cli/CheckReport.h"
#include "cli/ToolInput.h"
#include "platform/Error.h"
#include "tilecheck/CheckFiles.h"
#include "tilecheck/TileCheck.h"
#include "tilelinks/LinkFiles.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

namespace {

std::string Joined(const std::vector<std::string> &Names)
{
    std::string out;
    for (const std::string &name : Names)
        out += (out.empty() ? "" : ", ") + name;
    return out;
}

std::string FilesRead(const TCheckFiles &Files)
{
    std::string out = "read: " + (Files.Found().empty() ? std::string("none of the files") : Joined(Files.Found()));
    if (!Files.Missing().empty())
        out += "; not found: " + Joined(Files.Missing());
    out += '\n';
    for (const std::string &problem : Files.Problems())
        out += "note: " + problem + '\n';
    return out;
}

std::string RuleCounts(const TTileCheck &Check, const CheckOptions &Options, const std::vector<TFinding> &Findings)
{
    std::array<int, CheckRuleCount> counts{};
    for (const TFinding &finding : Findings)
        ++counts[std::size_t(finding.Rule)];
    std::string out;
    for (int i = 0; i < CheckRuleCount; ++i) {
        const TCheckRule rule = CheckRules::At(i);
        if ((Options.Rules & CheckRules::Bit(rule)) == 0)
            continue;
        out += CheckRules::Name(rule);
        if (Check.Runs(rule))
            out += ": " + std::to_string(counts[std::size_t(i)]) + '\n';
        else
            out += std::string(": skipped, it needs ") + CheckRules::Needs(rule) + '\n';
    }
    return out;
}

std::unique_ptr<TCheckBaseline> ReadBaseline(const std::string &Path)
{
    if (Path.empty())
        return nullptr;
    const std::vector<unsigned char> text = ToolInput::ReadBaseline(Path);
    return std::make_unique<TCheckBaseline>(
        ToolInput::NameOf(Path), std::string_view(reinterpret_cast<const char *>(text.data()), text.size()));
}

} // namespace

namespace CheckCommand {

CommandResult Run(const std::string &Path, const CheckOptions &Options, LayoutChoice Layout)
{
    if (Path == ToolInput::StandardInputPath && Options.Baseline == ToolInput::StandardInputPath)
        throw Error("only one of the files can be standard input (-)");
    const TileFile file(Path, TileFile::Use::Read, Layout);
    const std::unique_ptr<TCheckBaseline> baseline = ReadBaseline(Options.Baseline);
    const std::string folder = Options.From.empty() ? TLinkFiles::FolderOf(Path) : Options.From;
    TCheckFiles files(folder);
    if (!Options.From.empty() && files.Found().empty() && files.Problems().empty())
        throw Error("--from: " + Options.From + " holds none of the files check reads (art.mul and artidx.mul or "
                    "artLegacyMUL.uop, animdata.mul, texidx.mul, texmaps.mul, radarcol.mul)");
    TTileCheck check(file.Store(), files.Sources(), Options.Rules);
    std::vector<TFinding> findings = check.All();
    std::size_t known = 0;
    if (baseline) {
        const std::size_t all = findings.size();
        findings.erase(std::remove_if(findings.begin(), findings.end(),
                                      [&](const TFinding &Finding) { return baseline->Holds(Finding); }),
                       findings.end());
        known = all - findings.size();
    }
    CommandResult result;
    result.Output = Options.Format == DumpFormat::Json ? CheckReport::Json(findings) : CheckReport::Tsv(findings);
    if (!file.Warning().empty())
        result.Warnings += file.Warning() + '\n';
    result.Warnings += FilesRead(files) + RuleCounts(check, Options, findings);
    if (baseline)
        result.Warnings += std::to_string(known) + (known == 1 ? " finding" : " findings")
                           + " of the baseline left out\n";
    for (const TFinding &finding : findings) {
        if (CheckRules::Severity(finding.Rule) >= Options.FailOn)
            result.Status = 1;
    }
    return result;
}

} // namespace CheckCommand
