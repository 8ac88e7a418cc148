// The edits file of quorvane-tool, or text pasted into the window, from
// arbitrary text, for item or land tiles of a classic or a newer file: the reader either refuses it with one
// line naming where and why, or hands back edits that all fit their fields
// and the file's tile count and flag width, so that nothing the store would
// truncate or wrap reaches it.

#include "tiletext/EditsReader.h"
#include "tiletext/NameText.h"
#include "tiletext/TsvCells.h"
#include "fuzz/FuzzLayout.h"
#include "fuzz/FuzzScratch.h"
#include "platform/Error.h"
#include "tiledata/TileRecord.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

using FuzzScratch::Expect;

namespace {

void CheckEdit(const TileEdit &Edit, const TTileLayout &Layout, TTileKind Kind, int &Unindexed)
{
    if (Edit.Index == TileEdit::NoIndex)
        Expect(++Unindexed == 1, "more than one edit without an index");
    else
        Expect(Edit.Index >= 0 && Edit.Index < Layout.Count(Kind), "an edit of a tile outside the file");
    Expect(!Edit.Flags || (*Edit.Flags & ~Layout.FlagMask()) == 0, "flags beyond the file's width");
    const std::vector<NumberField> &fields = NumberFields(Kind);
    for (std::size_t k = 0; k < Edit.Numbers.size(); ++k)
        Expect(!Edit.Numbers[k] || (k < fields.size() && *Edit.Numbers[k] <= fields[k].Max),
               "a number beyond its field");
    if (!Edit.Name)
        return;
    Expect(Edit.Name->size() <= std::size_t(NameLength), "a name longer than its field");
    Expect(Edit.Name->find('\0') == std::string::npos, "a name with a zero byte");
    // What the dump would write for the name reads back as the same bytes.
    std::string text;
    NameText::AppendEscaped(text, *Edit.Name);
    Expect(text.find_first_of("\t\n\r") == std::string::npos, "an escaped name that breaks its line");
    Expect(NameText::Parse(text) == *Edit.Name, "a name that does not survive its escapes");
    // And the dump's cell of it is read back as that text.
    std::string cell;
    TsvCells::AppendCell(cell, text);
    TsvCells cells;
    Expect(cells.Split(cell) && cells.Size() == 1 && cells[0] == text, "a name cell that reads back otherwise");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    if (Size == 0)
        return 0;
    const std::uint8_t shape = Data[0];
    const TTileKind kind = shape & 1 ? TTileKind::Land : TTileKind::Item;
    const TTileLayout layout = shape & 2 ? TTileLayout::Newer(1 + ((shape >> 2) & 0x1F)) : TTileLayout::Classic();
    // The top bit reads as the window's paste does: the index may be left out.
    const bool pasted = shape & 0x80;
    const std::string_view text(reinterpret_cast<const char *>(Data + 1), Size - 1);
    try {
        EditsReader reader("edits.tsv", layout, kind);
        if (pasted)
            reader.SetIndexColumn(EditsReader::IndexColumn::Optional);
        int unindexed = 0;
        reader.Read(text, [&](const TileEdit &Edit) { CheckEdit(Edit, layout, kind, unindexed); });
    } catch (const Error &e) {
        const char *message = e.what();
        // "edits.tsv:<line>: ...", or for a whole file "edits.tsv is UTF-16; ...".
        Expect(std::strncmp(message, "edits.tsv:", 10) == 0 || std::strncmp(message, "edits.tsv is ", 13) == 0,
               "a refusal that does not name the file");
        Expect(std::strchr(message, '\n') == nullptr && std::strchr(message, '\r') == nullptr,
               "a refusal of more than one line");
    }
    return 0;
}
