#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The ways the client's files can disagree with the tile data, each a rule
// with a name, a severity and a line saying what it finds. The order here
// is the order a tile's findings are listed in.
enum class TCheckRule {
    AnimationWithoutEntry,
    AnimationFrameOutside,
    AnimationFrameNoPicture,
    EntryWithoutAnimation,
    TextureMissing,
    RadarMissing,
    UnnamedBits,
};

constexpr int CheckRuleCount = 7;

// Ordered: a finding counts "at or above" a severity by this order.
enum class TSeverity { Note, Warning, Error };

// A set of rules, one bit per rule.
using TRuleSet = std::uint32_t;
constexpr TRuleSet AllRules = (TRuleSet(1) << CheckRuleCount) - 1;

namespace CheckRules {

constexpr TRuleSet Bit(TCheckRule Rule) { return TRuleSet(1) << int(Rule); }
constexpr TCheckRule At(int Position) { return TCheckRule(Position); }

// "animation-without-entry" and so on.
const char *Name(TCheckRule Rule);
TSeverity Severity(TCheckRule Rule);
// One line saying what the rule finds.
const char *Explanation(TCheckRule Rule);
// The files it reads besides the tile data, "animdata.mul and the art";
// empty for none.
const char *Needs(TCheckRule Rule);
std::optional<TCheckRule> Named(const std::string &Name);

// "error", "warning" or "note".
const char *SeverityName(TSeverity Severity);
std::optional<TSeverity> SeverityNamed(const std::string &Name);

// The rules of a comma-separated list of names; throws Error naming the
// first word that is no rule.
TRuleSet Parse(const std::string &Names);

} // namespace CheckRules
