#include "cli/TileDiff.h"

#include "tiletext/FlagText.h"
#include "tiletext/NameText.h"
#include "tiletext/TextAppend.h"
#include "tiletext/TileRow.h"
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

// "0x1A", or "land 0x3" for a land tile.
std::string TileLabel(const TileRow &Row)
{
    std::string label = Row.Kind == TTileKind::Land ? "land " : "";
    TextAppend::TileIndex(label, Row.Index);
    return label;
}

} // namespace

std::string Line(const TileRow &Old, const TileRow &New)
{
    if (Old == New)
        return std::string();
    std::string line = TileLabel(New) + '\t';
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

std::string RecordLine(const TileRow &Old, const TileRow &New, bool BytesAfterNameEndDiffer)
{
    std::string line = Line(Old, New);
    if (!BytesAfterNameEndDiffer)
        return line;
    constexpr const char *Note = "name bytes after the end differ\n";
    if (line.empty())
        return TileLabel(New) + ": " + Note;
    line.back() = '\t';
    return line + Note;
}

std::string CountLine(int Count, const char *One, const char *Many)
{
    return std::to_string(Count) + ' ' + (Count == 1 ? One : Many) + '\n';
}

} // namespace TileDiff
