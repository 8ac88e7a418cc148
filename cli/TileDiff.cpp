#include "cli/TileDiff.h"

#include "cli/FlagText.h"
#include "cli/NameText.h"
#include "cli/TextAppend.h"
#include "cli/TileRow.h"
#include "tiledata/TileFlags.h"

namespace TileDiff {

namespace {

void AppendQuotedName(std::string &Out, const std::string &Bytes)
{
    Out += '"';
    NameText::AppendEscaped(Out, Bytes);
    Out += '"';
}

void AppendFlagChange(std::string &Out, std::uint64_t Old, std::uint64_t New, int Digits)
{
    Out += "\tflags: ";
    TextAppend::Hex(Out, Old, Digits);
    Out += " -> ";
    TextAppend::Hex(Out, New, Digits);
    Out += " (";
    bool first = true;
    for (const bool set : {true, false}) {
        for (int bit = 0; bit < WideFlagCount; ++bit) {
            const std::uint64_t mask = std::uint64_t(1) << bit;
            if ((Old & mask) == (New & mask) || ((New & mask) != 0) != set)
                continue;
            if (!first)
                Out += ' ';
            Out += set ? '+' : '-';
            Out += FlagText::Name(bit);
            first = false;
        }
    }
    Out += ')';
}

} // namespace

std::string Line(const TileRow &Old, const TileRow &New)
{
    if (Old == New)
        return std::string();
    std::string line = New.Kind == TTileKind::Land ? "land " : "";
    TextAppend::TileIndex(line, New.Index);
    line += '\t';
    AppendQuotedName(line, Old.Name);
    line += " -> ";
    AppendQuotedName(line, New.Name);
    if (Old.Flags != New.Flags)
        AppendFlagChange(line, Old.Flags, New.Flags, New.FlagDigits());
    const std::vector<NumberField> &fields = New.Fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (Old.Numbers[i] == New.Numbers[i])
            continue;
        const NumberField &field = fields[i];
        line += '\t';
        line += field.Header;
        line += ": ";
        field.AppendValue(line, Old.Numbers[i]);
        line += " -> ";
        field.AppendValue(line, New.Numbers[i]);
    }
    return line + '\n';
}

std::string CountLine(int Count, const char *One, const char *Many)
{
    return std::to_string(Count) + ' ' + (Count == 1 ? One : Many) + '\n';
}

} // namespace TileDiff
