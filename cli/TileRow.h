#pragma once

#include <array>
#include <cstdint>
#include <string>

class TTileData;

// The eleven number fields of a record, in the order the dump's columns
// give them, with the store's getter and setter of each.
struct NumberField
{
    const char *Header;
    std::uint32_t Max;
    int HexDigits; // 0: decimal; anim is written in hexadecimal, as the window shows it
    int (TTileData::*Get)(int) const;
    void (TTileData::*Set)(int, int);

    void AppendValue(std::string &Out, std::uint32_t Value) const;
};

constexpr int NumberFieldCount = 11;
const std::array<NumberField, NumberFieldCount> &NumberFields();

// Headers of the columns that are not number fields.
namespace ColumnHeader {
constexpr const char *Index = "index";
constexpr const char *Flags = "flags";
constexpr const char *FlagNames = "flagnames";
constexpr const char *Name = "name";
constexpr const char *RawName = "rawname"; // the dump's, for reading only
} // namespace ColumnHeader

// Every field of one tile as the tool reads, compares and writes it.
struct TileRow
{
    int Index = 0;
    std::uint32_t Flags = 0;
    std::array<std::uint32_t, NumberFieldCount> Numbers{};
    std::string Name; // the stored Windows-1252 bytes, up to the first zero

    static TileRow Read(const TTileData &Store, int Index);

    // Writes through the store's setters only the fields that differ from
    // Old, so that an unchanged name keeps the bytes after its zero.
    void WriteChangesTo(TTileData &Store, const TileRow &Old) const;

    bool operator==(const TileRow &Other) const;
    bool operator!=(const TileRow &Other) const { return !(*this == Other); }
};
