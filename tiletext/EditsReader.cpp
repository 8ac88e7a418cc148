#include "tiletext/EditsReader.h"

#include "tiletext/CellValue.h"
#include "tiletext/FlagText.h"
#include "tiletext/NameText.h"
#include "tiletext/TextAppend.h"
#include "platform/Error.h"
#include "tiledata/TileRecord.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Splits Text into its lines, without their line ends.
class LineCursor
{
public:
    explicit LineCursor(std::string_view Text)
        : FRest(Text)
    {
    }

    bool Next(std::string_view &Line)
    {
        if (FRest.empty())
            return false;
        const std::size_t end = FRest.find('\n');
        Line = FRest.substr(0, end);
        FRest = end == std::string_view::npos ? std::string_view() : FRest.substr(end + 1);
        if (!Line.empty() && Line.back() == '\r')
            Line.remove_suffix(1);
        ++FNumber;
        return true;
    }

    int Number() const { return FNumber; }

private:
    std::string_view FRest;
    int FNumber = 0;
};

// A byte-order mark of UTF-16, or a first line whose ASCII letters come with
// a zero byte beside each, as a UTF-16 file without the mark has them.
bool IsUtf16(std::string_view Text)
{
    if (Text.size() < 2)
        return false;
    const std::string_view start = Text.substr(0, 2);
    return start == "\xFF\xFE" || start == "\xFE\xFF" || (start[0] == '\0') != (start[1] == '\0');
}

bool IsLayoutName(std::string_view Text)
{
    return Text == TTileLayout::Classic().Name() || Text == TTileLayout::Newer(1).Name();
}

} // namespace

EditsReader::EditsReader(std::string SourceName)
    : EditsReader(std::move(SourceName), TTileLayout::Classic(), TTileKind::Item)
{
}

EditsReader::EditsReader(std::string SourceName, const TTileLayout &Layout, TTileKind Kind)
    : FSourceName(std::move(SourceName))
    , FLayout(Layout)
    , FKind(Kind)
{
}

std::string EditsReader::FlagWord(std::uint64_t Flags) const
{
    std::string word;
    TextAppend::Hex(word, Flags, FLayout.FlagBits() / 4);
    return word;
}

void EditsReader::Read(std::string_view Text, const std::function<void(const TileEdit &)> &Each) const
{
    if (IsUtf16(Text))
        throw Error(FSourceName + " is UTF-16; save it as UTF-8");
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (Text.substr(0, ByteOrderMark.size()) == ByteOrderMark)
        Text.remove_prefix(ByteOrderMark.size());
    LineCursor lines(Text);
    std::string_view line;
    const auto nextHeader = [&] {
        if (!lines.Next(line))
            Fail(lines.Number() + 1, "no header line; the first line names the columns, such as index<TAB>weight");
    };
    nextHeader();
    TsvCells cells;
    // A blank line would read as one column without a name.
    if (line.empty())
        Fail(1, "the first line is blank; it must name the columns, such as index<TAB>weight");
    Split(cells, line, 1, nullptr);
    // Dumps once began with a line naming their layout, "layout<TAB>newer";
    // today's carry it in a column. Hand-written edits need neither.
    bool layoutNamed = false;
    if (cells.Size() > 1 && cells[0] == ColumnHeader::Layout && IsLayoutName(cells[1])) {
        CheckLayoutMark(cells);
        layoutNamed = true;
        nextHeader();
        Split(cells, line, lines.Number(), nullptr);
    }
    const std::vector<Column> columns = ReadHeader(cells, lines.Number());
    layoutNamed = layoutNamed
                  || std::any_of(columns.begin(), columns.end(), [](const Column &C) { return C.What == Kind::Layout; });

    // The line that edits each tile, so that a second edit of one tile is
    // refused rather than silently overriding the first.
    std::vector<int> lineOfTile(std::size_t(FLayout.Count(FKind)), 0);
    int unindexedLine = 0;
    while (lines.Next(line)) {
        if (line.empty())
            continue;
        Split(cells, line, lines.Number(), &columns);
        const TileEdit edit = ReadLine(columns, cells, lines.Number(), layoutNamed);
        if (edit.Index == TileEdit::NoIndex) {
            // The one edit for the chosen tiles; a second line would leave
            // which of the two a tile gets to chance.
            if (unindexedLine != 0)
                Fail(lines.Number(), "there is no index column, so only one line may follow the header");
            unindexedLine = lines.Number();
            Each(edit);
            continue;
        }
        int &earlier = lineOfTile[std::size_t(edit.Index)];
        if (earlier != 0)
            Fail(lines.Number(), "index: tile " + TextAppend::TileIndex(edit.Index) + " is already edited on line "
                                     + std::to_string(earlier));
        earlier = lines.Number();
        Each(edit);
    }
}

void EditsReader::Split(TsvCells &Cells, std::string_view Line, int LineNumber,
                        const std::vector<Column> *Columns) const
{
    if (Cells.Split(Line))
        return;
    const TsvCells::Fault &fault = Cells.LastFault();
    const bool named = Columns && fault.Cell < Columns->size();
    Fail(LineNumber, (named ? (*Columns)[fault.Cell].Header : "column " + std::to_string(fault.Cell + 1)) + ": "
                         + fault.Reason);
}

void EditsReader::CheckLayoutMark(const TsvCells &Mark) const
{
    // A spreadsheet may add empty cells up to its widest row.
    for (std::size_t c = 2; c < Mark.Size(); ++c) {
        if (!Mark[c].empty())
            Fail(1, std::string(ColumnHeader::Layout) + ": " + TextAppend::Quoted(Mark[c]) + " follows the layout");
    }
    CheckLayout(Mark[1], 1);
}

void EditsReader::CheckLayout(std::string_view Theirs, int LineNumber) const
{
    // An empty cell is a line added by hand, read for the file's layout.
    if (Theirs.empty() || Theirs == FLayout.Name())
        return;
    const TTileLayout newer = TTileLayout::Newer(1);
    const TTileLayout classic = TTileLayout::Classic();
    if (!IsLayoutName(Theirs))
        Fail(LineNumber, std::string(ColumnHeader::Layout) + ": " + TextAppend::Quoted(Theirs) + " is neither "
                             + classic.Name() + " nor " + newer.Name());
    const TTileLayout &dumped = Theirs == newer.Name() ? newer : classic;
    Fail(LineNumber, std::string(ColumnHeader::Layout) + ": this is a dump of a " + dumped.Name() + " file ("
                         + std::to_string(dumped.FlagBits()) + "-bit flags); it cannot be applied to a "
                         + FLayout.Name() + " file (" + std::to_string(FLayout.FlagBits()) + "-bit flags)");
}

std::vector<EditsReader::Column> EditsReader::ReadHeader(const TsvCells &Headers, int LineNumber) const
{
    std::vector<Column> columns;
    for (std::size_t c = 0; c < Headers.Size(); ++c) {
        const std::string_view header = Headers[c];
        if (header == ColumnHeader::RawName)
            Fail(LineNumber, TextAppend::Quoted(header) + " is the dump's for reading only; leave it out of the edits");
        Column column{Kind::Number, -1, std::string(header)};
        if (header == ColumnHeader::Index)
            column.What = Kind::Index;
        else if (header == ColumnHeader::Flags)
            column.What = Kind::Flags;
        else if (header == ColumnHeader::FlagNames)
            column.What = Kind::FlagNames;
        else if (header == ColumnHeader::Name)
            column.What = Kind::Name;
        else if (header == ColumnHeader::Layout)
            column.What = Kind::Layout;
        else if (header == ColumnHeader::TextureSize || header == ColumnHeader::Frames)
            column.What = Kind::Ignored; // what other files say, not the tile's to change
        const std::vector<NumberField> &fields = NumberFields(FKind);
        for (std::size_t k = 0; k < fields.size(); ++k) {
            if (header == fields[k].Header)
                column.Field = int(k);
        }
        if (column.What == Kind::Number && column.Field < 0)
            Fail(LineNumber, TextAppend::Quoted(header) + " is not a column of the "
                        + (FKind == TTileKind::Land ? "land dump" : "dump"));
        const auto same = [&](const Column &c) { return c.Header == column.Header; };
        if (std::any_of(columns.begin(), columns.end(), same))
            Fail(LineNumber, TextAppend::Quoted(header) + " is given twice");
        columns.push_back(column);
    }
    const auto has = [&](Kind what) {
        return std::any_of(columns.begin(), columns.end(), [&](const Column &c) { return c.What == what; });
    };
    if (!has(Kind::Index) && FIndexColumn == IndexColumn::Required)
        Fail(LineNumber, "there is no index column");
    return columns;
}

TileEdit EditsReader::ReadLine(const std::vector<Column> &Columns, const TsvCells &Cells, int LineNumber,
                               bool LayoutNamed) const
{
    if (Cells.Size() != Columns.size())
        Fail(LineNumber, "the line has " + std::to_string(Cells.Size()) + " cells, the header "
                             + std::to_string(Columns.size()));
    TileEdit edit;
    const auto isIndex = [](const Column &C) { return C.What == Kind::Index; };
    if (std::none_of(Columns.begin(), Columns.end(), isIndex))
        edit.Index = TileEdit::NoIndex;
    // The layout first: the other cells of a line of the other layout would
    // fail for reasons that hide the real one.
    for (std::size_t c = 0; c < Cells.Size(); ++c) {
        if (Columns[c].What == Kind::Layout)
            CheckLayout(Cells[c], LineNumber);
    }
    std::optional<std::string_view> names;
    for (std::size_t c = 0; c < Cells.Size(); ++c) {
        if (Columns[c].What == Kind::FlagNames) {
            names = Cells[c];
            continue;
        }
        try {
            ReadCell(edit, Columns[c], Cells[c]);
        } catch (const Error &e) {
            Fail(LineNumber, Columns[c].Header + ": " + e.what());
        }
        if (Columns[c].What == Kind::Flags && !LayoutNamed)
            CheckFlagDigits(*edit.Flags, Cells[c], LineNumber);
    }
    CheckFlagBits(edit, ColumnHeader::Flags, LineNumber);
    if (names) {
        ReadFlagNames(edit, *names, LineNumber);
        CheckFlagBits(edit, ColumnHeader::FlagNames, LineNumber);
    }
    return edit;
}

void EditsReader::ReadFlagNames(TileEdit &Edit, std::string_view Names, int LineNumber) const
{
    // A whole dump gives both columns; where the names are just what the
    // flags column says, they need no reading of their own.
    if (Edit.Flags && FlagText::NamesMatch(Names, *Edit.Flags))
        return;
    std::uint64_t named = 0;
    try {
        named = FlagText::ParseNames(Names);
    } catch (const Error &e) {
        Fail(LineNumber, std::string(ColumnHeader::FlagNames) + ": " + e.what());
    }
    if (Edit.Flags && named != *Edit.Flags)
        Fail(LineNumber, std::string(ColumnHeader::FlagNames) + ": " + FlagWord(named) + " is not the "
                             + ColumnHeader::Flags + " column's " + FlagWord(*Edit.Flags)
                             + "; keep only the column you edit");
    Edit.Flags = named;
}

// A classic dump cut down to a few columns has lost the layout column that
// would refuse it here; its 8 digits, read as 64 bits, would clear the upper
// bits of every tile it names.
void EditsReader::CheckFlagDigits(std::uint64_t Flags, std::string_view Cell, int LineNumber) const
{
    constexpr std::size_t ClassicDigits = 8;
    const std::size_t digits = Cell.size();
    if (!FLayout.IsNewer() || digits > ClassicDigits)
        return;
    // The cell holds hexadecimal digits only, read already.
    Fail(LineNumber, std::string(ColumnHeader::Flags) + ": " + std::string(Cell) + " has only "
                         + std::to_string(digits) + (digits == 1 ? " digit" : " digits")
                         + " and would clear bits 32 to 63 of this newer file; write all 16 digits ("
                         + FlagWord(Flags) + "), or add a layout column saying newer");
}

void EditsReader::CheckFlagBits(const TileEdit &Edit, const char *Header, int LineNumber) const
{
    const int bit = Edit.Flags ? FlagText::FirstBitBeyond(*Edit.Flags, FLayout.FlagBits()) : -1;
    if (bit >= 0)
        Fail(LineNumber, std::string(Header) + ": bit " + std::to_string(bit) + " does not exist in a "
                             + std::to_string(FLayout.FlagBits()) + "-bit file");
}

void EditsReader::ReadCell(TileEdit &Edit, const Column &Where, std::string_view Cell) const
{
    switch (Where.What) {
    case Kind::Index:
        Edit.Index = CellValue::TileIndex(Cell, FLayout.Count(FKind) - 1);
        break;
    case Kind::Flags:
        Edit.Flags = CellValue::Flags(Cell);
        break;
    case Kind::FlagNames:
        break; // read by ReadFlagNames, once the flags column is known
    case Kind::Layout:
        break; // checked before the line's other cells
    case Kind::Ignored:
        break;
    case Kind::Number: {
        const NumberField &field = NumberFields(FKind)[std::size_t(Where.Field)];
        Edit.Numbers[std::size_t(Where.Field)] =
            field.HexDigits > 0 ? CellValue::Hex(Cell, field.Max) : CellValue::Decimal(Cell, field.Max);
        break;
    }
    case Kind::Name:
        Edit.Name = NameText::Parse(Cell);
        break;
    }
}

void EditsReader::Fail(int LineNumber, const std::string &Reason) const
{
    throw Error(FSourceName + ":" + std::to_string(LineNumber) + ": " + Reason);
}
