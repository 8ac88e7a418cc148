#pragma once

#include "tiledata/TileKind.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TTileData;

// The number fields of a record, in the order the dump's columns give
// them, with the store's getter and setter of each: eleven for an item
// tile, the texture for a land tile.
struct NumberField
{
    const char *Header;
    std::uint32_t Max;
    int HexDigits; // 0: decimal; anim is written in hexadecimal, as the window shows it
    int (TTileData::*Get)(int) const;
    void (TTileData::*Set)(int, int);

    void AppendValue(std::string &Out, std::uint32_t Value) const;
};

// The most number fields a kind of tile has.
constexpr int NumberFieldCount = 11;
const std::vector<NumberField> &NumberFields(TTileKind Kind = TTileKind::Item);

// Headers of the columns that are not number fields.
namespace ColumnHeader {
constexpr const char *Index = "index";
constexpr const char *Flags = "flags";
constexpr const char *FlagNames = "flagnames";
constexpr const char *Name = "name";
constexpr const char *RawName = "rawname"; // the dump's, for reading only
// The dump's last column, the layout its tile came from ("newer"). Dumps
// once gave it as a line of its own before the header, "layout<TAB>newer",
// which is still read.
constexpr const char *Layout = "layout";
// Columns from the files beside the tile data, for reading only: the side
// of a land tile's texture, an item's animation frames.
constexpr const char *TextureSize = "texturesize";
constexpr const char *Frames = "frames";
} // namespace ColumnHeader

// Every field of one tile as the tool reads, compares and writes it.
struct TileRow
{
    TTileKind Kind = TTileKind::Item;
    int Index = 0;
    // The width of the file's flags: 32 or 64 bits, written as 8 or 16
    // hexadecimal digits.
    int FlagBits = 32;
    std::uint64_t Flags = 0;
    // The kind's number fields, in NumberFields order; the rest stay 0.
    std::array<std::uint32_t, NumberFieldCount> Numbers{};
    std::string Name; // the stored Windows-1252 bytes, up to the first zero

    static TileRow Read(const TTileData &Store, int Index) { return Read(Store, TTileKind::Item, Index); }
    static TileRow Read(const TTileData &Store, TTileKind Kind, int Index);

    int FlagDigits() const { return FlagBits / 4; }
    const std::vector<NumberField> &Fields() const { return NumberFields(Kind); }

    // Writes through the store's setters only the fields that differ from
    // Old, so that an unchanged name keeps the bytes after its zero.
    void WriteChangesTo(TTileData &Store, const TileRow &Old) const;

    bool operator==(const TileRow &Other) const;
    bool operator!=(const TileRow &Other) const { return !(*this == Other); }
};
