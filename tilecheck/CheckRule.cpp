#include "tilecheck/CheckRule.h"

#include "platform/Error.h"

#include <array>

namespace {

struct TRuleText
{
    const char *Name;
    TSeverity Severity;
    const char *Explanation;
    const char *Needs; // the files the rule reads besides the tile data
};

constexpr std::array<TRuleText, CheckRuleCount> Rules = {{
    {"animation-without-entry", TSeverity::Error,
     "an item with the Animation flag, no animation entry with frames, and not a frame of another item's animation",
     "animdata.mul"},
    {"animation-frame-outside", TSeverity::Error, "an animation frame outside the items the file holds",
     "animdata.mul"},
    {"animation-frame-no-picture", TSeverity::Warning, "a frame whose item has no picture (only when art is found)",
     "animdata.mul and the art"},
    {"entry-without-animation", TSeverity::Warning,
     "an animation entry with frames whose item lacks the Animation flag", "animdata.mul"},
    {"texture-missing", TSeverity::Error,
     "a land tile whose TexID (not 0) names an empty slot, a slot beyond the table, or a length that is no texture",
     "texidx.mul and texmaps.mul"},
    {"radar-missing", TSeverity::Warning,
     "a tile with a picture whose radar colour is beyond the end of radarcol.mul, or 0 (black), when that file is "
     "found",
     "radarcol.mul and the art"},
    {"unnamed-bits", TSeverity::Note,
     "a tile with flag bits set that have no name (bits 40 to 63 of the newer layout)", ""},
}};

constexpr std::array<const char *, 3> SeverityNames = {"note", "warning", "error"};

} // namespace

namespace CheckRules {

const char *Name(TCheckRule Rule)
{
    return Rules[std::size_t(Rule)].Name;
}

TSeverity Severity(TCheckRule Rule)
{
    return Rules[std::size_t(Rule)].Severity;
}

const char *Explanation(TCheckRule Rule)
{
    return Rules[std::size_t(Rule)].Explanation;
}

const char *Needs(TCheckRule Rule)
{
    return Rules[std::size_t(Rule)].Needs;
}

std::optional<TCheckRule> Named(const std::string &Name)
{
    for (int i = 0; i < CheckRuleCount; ++i) {
        if (Name == Rules[std::size_t(i)].Name)
            return At(i);
    }
    return std::nullopt;
}

const char *SeverityName(TSeverity Severity)
{
    return SeverityNames[std::size_t(Severity)];
}

std::optional<TSeverity> SeverityNamed(const std::string &Name)
{
    for (std::size_t i = 0; i < SeverityNames.size(); ++i) {
        if (Name == SeverityNames[i])
            return TSeverity(i);
    }
    return std::nullopt;
}

TRuleSet Parse(const std::string &Names)
{
    TRuleSet rules = 0;
    std::size_t start = 0;
    while (start <= Names.size()) {
        std::size_t end = Names.find(',', start);
        if (end == std::string::npos)
            end = Names.size();
        const std::string word = Names.substr(start, end - start);
        const std::optional<TCheckRule> rule = Named(word);
        if (!rule)
            throw Error("\"" + word + "\" is not a rule; the rules are animation-without-entry, "
                        "animation-frame-outside, animation-frame-no-picture, entry-without-animation, "
                        "texture-missing, radar-missing and unnamed-bits");
        rules |= Bit(*rule);
        start = end + 1;
    }
    return rules;
}

} // namespace CheckRules
