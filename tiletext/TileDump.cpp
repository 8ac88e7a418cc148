#include "tiletext/TileDump.h"

#include "tiletext/FlagText.h"
#include "tiletext/NameText.h"
#include "tiletext/RawName.h"
#include "tiletext/TextAppend.h"
#include "tiletext/TileRow.h"
#include "tiletext/TsvCells.h"
#include "platform/AnsiCodePage.h"
#include "platform/Error.h"
#include "tiledata/TileDataReader.h"
#include "tiledata/TileFlags.h"

namespace {

// A JSON string of plain text that needs no escapes (flag names, numbers).
void AppendJsonString(std::string &Out, const std::string &Text)
{
    Out += '"';
    Out += Text;
    Out += '"';
}

// A name's bytes as a JSON string: quote, backslash and the controls
// escaped, everything else as UTF-8.
void AppendJsonName(std::string &Out, const std::string &Bytes)
{
    Out += '"';
    for (const char c : Bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const char32_t cp = AnsiCodePage::ToUnicode(byte);
        if (c == '"' || c == '\\') {
            Out += '\\';
            Out += c;
        } else if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) {
            Out += "\\u00";
            TextAppend::Hex(Out, cp, 2);
        } else {
            NameText::AppendEscaped(Out, std::string_view(&c, 1));
        }
    }
    Out += '"';
}

void AppendJsonFlagNames(std::string &Out, std::uint64_t Flags)
{
    Out += '[';
    bool first = true;
    for (int bit = 0; bit < WideFlagCount; ++bit) {
        if ((Flags >> bit) & 1u) {
            if (!first)
                Out += ", ";
            AppendJsonString(Out, FlagText::Name(bit));
            first = false;
        }
    }
    Out += ']';
}

// A name in its text form, as a cell that apply reads back as the same
// bytes: a name beginning with a quote mark is quoted, as a spreadsheet
// writes it. Most names go straight into the line.
void AppendNameCell(std::string &Out, const std::string &Bytes)
{
    if (Bytes.empty() || Bytes.front() != '"') {
        NameText::AppendEscaped(Out, Bytes);
        return;
    }
    std::string text;
    NameText::AppendEscaped(text, Bytes);
    TsvCells::AppendCell(Out, text);
}

bool HasSection(const DumpOptions &Options, TTileKind Kind)
{
    if (Options.Sections == DumpSections::Both)
        return true;
    return (Options.Sections == DumpSections::Land) == (Kind == TTileKind::Land);
}

// The last tile to dump of a section of Count tiles.
int LastTile(const DumpOptions &Options, int Count)
{
    if (Options.Last < 0)
        return Count - 1;
    if (Options.Last >= Count)
        throw Error("--tiles: " + TextAppend::Quoted(Options.TilesText) + " goes past the last tile, "
                    + TextAppend::TileIndex(Count - 1));
    return Options.Last;
}

void AppendJsonHead(std::string &Out, const TTileLayout &Layout)
{
    Out += "{\"layout\": ";
    AppendJsonString(Out, Layout.Name());
    Out += ", \"flagbits\": ";
    TextAppend::Decimal(Out, std::uint32_t(Layout.FlagBits()));
    Out += ", \"itemtiles\": ";
    TextAppend::Decimal(Out, std::uint32_t(Layout.Count(TTileKind::Item)));
    Out += ", \"landtiles\": ";
    TextAppend::Decimal(Out, std::uint32_t(Layout.Count(TTileKind::Land)));
}

// The layout column, last on the line just appended (header or tile), so
// that every line has as many cells as the header and each tile, copied
// or sorted on its own, still says which layout it came from; apply
// refuses it on a file of the other layout.
void AppendLayoutCell(std::string &Out, const char *Cell)
{
    Out.back() = '\t';
    Out += Cell;
    Out += '\n';
}

// The extra cells of a tile, on the line or in the object just appended.
void AppendExtraCells(std::string &Out, TTileKind Kind, int Index, const DumpOptions &Options, bool Json)
{
    for (const DumpOptions::ExtraColumn &column : Options.Extra) {
        if (column.Kind != Kind)
            continue;
        const char end = Out.back();
        Out.pop_back();
        if (Json) {
            Out += ", \"";
            Out += column.Header;
            Out += "\": \"";
            column.AppendCell(Out, Index);
            Out += '"';
        } else {
            Out += '\t';
            column.AppendCell(Out, Index);
        }
        Out += end;
    }
}

// One section's lines: a TSV table, or the JSON member with its array.
void AppendSection(std::string &Out, const TTileData &Store, TTileKind Kind, const DumpOptions &Options)
{
    const bool json = Options.Format == DumpFormat::Json;
    const int last = LastTile(Options, Store.Count(Kind));
    // Room for long lines up front: growing a megabyte string copies it
    // whole, onto fresh pages. Pages reserved but never written cost nothing.
    Out.reserve(Out.size() + std::size_t(last - Options.First + 1) * 256);
    if (json) {
        Out += Kind == TTileKind::Land ? ",\n\"land\": [\n" : ",\n\"items\": [\n";
    } else {
        Out += TileDump::TsvHeader(Kind);
        if (Options.RawNames)
            AppendLayoutCell(Out, ColumnHeader::RawName);
        for (const DumpOptions::ExtraColumn &column : Options.Extra) {
            if (column.Kind == Kind)
                AppendLayoutCell(Out, column.Header);
        }
        AppendLayoutCell(Out, ColumnHeader::Layout);
    }
    const char *const layout = Store.Layout().Name();
    bool first = true;
    for (int i = Options.First; i <= last; ++i) {
        const TileRow row = TileRow::Read(Store, Kind, i);
        if (Options.NamedOnly && row.Name.empty())
            continue;
        if (!json) {
            TileDump::AppendTsvLine(Out, row);
            if (Options.RawNames)
                TileDump::AppendRawName(Out, Store, row, false);
            AppendExtraCells(Out, Kind, i, Options, false);
            AppendLayoutCell(Out, layout);
            continue;
        }
        if (!first)
            Out += ",\n";
        TileDump::AppendJsonObject(Out, row);
        if (Options.RawNames)
            TileDump::AppendRawName(Out, Store, row, true);
        AppendExtraCells(Out, Kind, i, Options, true);
        first = false;
    }
    if (json)
        Out += first ? "]" : "\n]";
}

} // namespace

std::string TileDump::Write(const TTileData &Store, const DumpOptions &Options)
{
    const bool json = Options.Format == DumpFormat::Json;
    std::string out;
    if (json)
        AppendJsonHead(out, Store.Layout());
    for (const TTileKind kind : {TTileKind::Item, TTileKind::Land}) {
        if (!HasSection(Options, kind))
            continue;
        if (!json && kind == TTileKind::Land && Options.Sections == DumpSections::Both)
            out += '\n';
        AppendSection(out, Store, kind, Options);
    }
    if (json)
        out += "}\n";
    return out;
}

std::string TileDump::WriteTiles(const TTileData &Store, TTileKind Kind, const std::vector<int> &Tiles)
{
    std::string out;
    out.reserve(Tiles.size() * 256);
    out += TsvHeader(Kind);
    AppendLayoutCell(out, ColumnHeader::Layout);
    const char *const layout = Store.Layout().Name();
    for (const int tile : Tiles) {
        AppendTsvLine(out, TileRow::Read(Store, Kind, tile));
        AppendLayoutCell(out, layout);
    }
    return out;
}

std::string TileDump::TsvHeader(TTileKind Kind)
{
    std::string header = std::string(ColumnHeader::Index) + '\t' + ColumnHeader::Flags + '\t' + ColumnHeader::FlagNames;
    for (const NumberField &field : NumberFields(Kind))
        header += std::string("\t") + field.Header;
    return header + '\t' + ColumnHeader::Name + '\n';
}

void TileDump::AppendTsvLine(std::string &Out, const TileRow &Row)
{
    TextAppend::TileIndex(Out, Row.Index);
    Out += '\t';
    TextAppend::Hex(Out, Row.Flags, Row.FlagDigits());
    Out += '\t';
    FlagText::AppendNames(Out, Row.Flags);
    const std::vector<NumberField> &fields = Row.Fields();
    for (std::size_t k = 0; k < fields.size(); ++k) {
        Out += '\t';
        fields[k].AppendValue(Out, Row.Numbers[k]);
    }
    Out += '\t';
    AppendNameCell(Out, Row.Name);
    Out += '\n';
}

void TileDump::AppendJsonObject(std::string &Out, const TileRow &Row)
{
    Out += "{\"";
    Out += ColumnHeader::Index;
    Out += "\": ";
    AppendJsonString(Out, TextAppend::TileIndex(Row.Index));
    Out += ", \"";
    Out += ColumnHeader::Flags;
    Out += "\": \"";
    TextAppend::Hex(Out, Row.Flags, Row.FlagDigits());
    Out += "\", \"";
    Out += ColumnHeader::FlagNames;
    Out += "\": ";
    AppendJsonFlagNames(Out, Row.Flags);
    const std::vector<NumberField> &fields = Row.Fields();
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const NumberField &field = fields[k];
        Out += ", \"";
        Out += field.Header;
        Out += "\": ";
        // Anim stays a hexadecimal text, as in the TSV form.
        if (field.HexDigits > 0)
            Out += '"';
        field.AppendValue(Out, Row.Numbers[k]);
        if (field.HexDigits > 0)
            Out += '"';
    }
    Out += ", \"";
    Out += ColumnHeader::Name;
    Out += "\": ";
    AppendJsonName(Out, Row.Name);
    Out += '}';
}

void TileDump::AppendRawName(std::string &Out, const TTileData &Store, const TileRow &Row, bool Json)
{
    const std::string field = RawName::Of(Store, Row.Kind, Row.Index);
    const bool raw = RawName::HasBytesAfterEnd(field);
    // In place of the line end or the closing brace just written.
    const char end = Out.back();
    Out.pop_back();
    if (Json && raw) {
        Out += ", \"";
        Out += ColumnHeader::RawName;
        Out += "\": ";
        AppendJsonName(Out, field.substr(0, field.find_last_not_of('\0') + 1));
    } else if (!Json) {
        Out += '\t';
        if (raw) {
            std::string text;
            RawName::AppendEscaped(text, field);
            TsvCells::AppendCell(Out, text);
        }
    }
    Out += end;
}
