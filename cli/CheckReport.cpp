#include "cli/CheckReport.h"

#include "tiletext/TextAppend.h"

namespace {

const char *SectionName(TTileKind Kind)
{
    return Kind == TTileKind::Land ? "land" : "items";
}

// The messages are the check's own ASCII; quote marks and backslashes are
// escaped all the same.
void AppendJsonString(std::string &Out, const std::string &Text)
{
    Out += '"';
    for (const char c : Text) {
        if (c == '"' || c == '\\')
            Out += '\\';
        Out += c;
    }
    Out += '"';
}

} // namespace

namespace CheckReport {

std::string Tsv(const std::vector<TFinding> &Findings)
{
    std::string out = "index\tsection\trule\tseverity\tmessage\n";
    std::size_t length = out.size();
    for (const TFinding &finding : Findings)
        length += 64 + finding.Message.size();
    out.reserve(length);
    for (const TFinding &finding : Findings) {
        TextAppend::TileIndex(out, finding.Index);
        out += '\t';
        out += SectionName(finding.Kind);
        out += '\t';
        out += CheckRules::Name(finding.Rule);
        out += '\t';
        out += CheckRules::SeverityName(CheckRules::Severity(finding.Rule));
        out += '\t';
        out += finding.Message;
        out += '\n';
    }
    return out;
}

std::string Json(const std::vector<TFinding> &Findings)
{
    std::string out = "{\"findings\": [";
    const char *separator = "\n";
    for (const TFinding &finding : Findings) {
        out += separator;
        out += "{\"index\": \"";
        TextAppend::TileIndex(out, finding.Index);
        out += "\", \"section\": \"";
        out += SectionName(finding.Kind);
        out += "\", \"rule\": \"";
        out += CheckRules::Name(finding.Rule);
        out += "\", \"severity\": \"";
        out += CheckRules::SeverityName(CheckRules::Severity(finding.Rule));
        out += "\", \"message\": ";
        AppendJsonString(out, finding.Message);
        out += '}';
        separator = ",\n";
    }
    out += Findings.empty() ? "]}\n" : "\n]}\n";
    return out;
}

} // namespace CheckReport
