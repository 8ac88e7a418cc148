#include "cli/TileDump.h"

#include "cli/FlagText.h"
#include "cli/NameText.h"
#include "cli/RawName.h"
#include "cli/TextAppend.h"
#include "cli/TileRow.h"
#include "platform/AnsiCodePage.h"
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

void AppendJsonFlagNames(std::string &Out, std::uint32_t Flags)
{
    Out += '[';
    bool first = true;
    for (int bit = 0; bit < FlagCount; ++bit) {
        if ((Flags >> bit) & 1u) {
            if (!first)
                Out += ", ";
            AppendJsonString(Out, FlagText::Name(bit));
            first = false;
        }
    }
    Out += ']';
}

} // namespace

std::string TileDump::Write(const TTileData &Store, const DumpOptions &Options)
{
    const bool json = Options.Format == DumpFormat::Json;
    std::string out = json ? std::string("[\n") : TsvHeader();
    if (!json && Options.RawNames)
        out.insert(out.size() - 1, std::string("\t") + ColumnHeader::RawName);
    // Room for long lines up front: growing a megabyte string copies it
    // whole, onto fresh pages. Pages reserved but never written cost nothing.
    out.reserve(std::size_t(Options.Last - Options.First + 1) * 256);
    bool first = true;
    for (int i = Options.First; i <= Options.Last; ++i) {
        const TileRow row = TileRow::Read(Store, i);
        if (Options.NamedOnly && row.Name.empty())
            continue;
        if (!json) {
            AppendTsvLine(out, row);
            if (Options.RawNames)
                AppendRawName(out, Store, row, false);
            continue;
        }
        if (!first)
            out += ",\n";
        AppendJsonObject(out, row);
        if (Options.RawNames)
            AppendRawName(out, Store, row, true);
        first = false;
    }
    if (json)
        out += first ? "]\n" : "\n]\n";
    return out;
}

std::string TileDump::TsvHeader()
{
    std::string header = std::string(ColumnHeader::Index) + '\t' + ColumnHeader::Flags + '\t' + ColumnHeader::FlagNames;
    for (const NumberField &field : NumberFields())
        header += std::string("\t") + field.Header;
    return header + '\t' + ColumnHeader::Name + '\n';
}

void TileDump::AppendTsvLine(std::string &Out, const TileRow &Row)
{
    TextAppend::TileIndex(Out, Row.Index);
    Out += '\t';
    TextAppend::Hex(Out, Row.Flags, 8);
    Out += '\t';
    FlagText::AppendNames(Out, Row.Flags);
    for (int k = 0; k < NumberFieldCount; ++k) {
        Out += '\t';
        NumberFields()[std::size_t(k)].AppendValue(Out, Row.Numbers[std::size_t(k)]);
    }
    Out += '\t';
    NameText::AppendEscaped(Out, Row.Name);
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
    TextAppend::Hex(Out, Row.Flags, 8);
    Out += "\", \"";
    Out += ColumnHeader::FlagNames;
    Out += "\": ";
    AppendJsonFlagNames(Out, Row.Flags);
    for (int k = 0; k < NumberFieldCount; ++k) {
        const NumberField &field = NumberFields()[std::size_t(k)];
        Out += ", \"";
        Out += field.Header;
        Out += "\": ";
        // Anim stays a hexadecimal text, as in the TSV form.
        if (field.HexDigits > 0)
            Out += '"';
        field.AppendValue(Out, Row.Numbers[std::size_t(k)]);
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
    const std::string field = RawName::Of(Store, Row.Index);
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
        if (raw)
            RawName::AppendEscaped(Out, field);
    }
    Out += end;
}
