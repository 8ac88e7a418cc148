#pragma once

#include "tilecheck/Finding.h"

#include <cstdint>
#include <string_view>
#include <string>
#include <vector>

// The findings of an earlier check, which a later one leaves out, so that
// a client's old problems do not hide its new ones. A finding matches one
// of the baseline's by section, index and rule: its message may change, as
// when a frame is added to an animation that already had a fault.
//
// The baseline is the check's own output, TSV or JSON, and untrusted: any
// line that is not a finding is refused, naming the line.
class TCheckBaseline
{
public:
    // Name names the file in messages. Throws Error.
    TCheckBaseline(const std::string &Name, std::string_view Text);

    bool Holds(const TFinding &Finding) const;
    std::size_t Size() const { return FKeys.size(); }

private:
    void ReadTsv(std::string_view Text);
    void ReadJson(std::string_view Text);
    void Add(std::string_view Section, std::string_view Index, std::string_view Rule);
    static std::uint64_t Key(TTileKind Kind, int Index, TCheckRule Rule);

    std::string FName;
    bool FJson = false;
    int FLine = 0; // the line, or in JSON the finding, read last
    std::vector<std::uint64_t> FKeys; // sorted once read
};
