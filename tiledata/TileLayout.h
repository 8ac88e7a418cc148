#pragma once

#include "tiledata/TileKind.h"

#include <cstdint>
#include <string>

// Where every record of a tile data file lies, for the two layouts the game
// has shipped. Every offset the store, the tool and the window use comes
// from this one value, chosen once from the file's length when it is loaded.
//
// Both layouts hold the land section first and the item (static) section
// after it. Each section is a run of groups: a 4-byte header that is never
// interpreted, then 32 records. Record fields are little-endian:
// - a land record: flags, texture (u16), name (20 bytes);
// - an item record: flags, weight, quality, unknown0 (u16), unknown1,
//   quantity, anim (u16), unknown2, hue, unknown3, unknown4, height, name.
// The classic layout has 32-bit flags and 16,383 items; the newer one has
// 64-bit flags and as many items as its file holds whole groups.
class TTileLayout
{
public:
    static constexpr int NameLength = 20;
    static constexpr int RecordsPerGroup = 32;
    static constexpr int GroupHeaderSize = 4;
    static constexpr int LandGroups = 512;
    static constexpr int ClassicItems = 16383;
    static constexpr std::int64_t ClassicFileSize = 1036288;
    // The item groups of today's newer files: 65,536 tiles.
    static constexpr int UsualNewerGroups = 2048;

    static TTileLayout Classic();
    // A newer layout with Groups item groups (at least 1).
    static TTileLayout Newer(int Groups);
    // The layout a file of Size bytes is read in: the newer one when Size is
    // exactly its land section plus whole item groups, else the classic one.
    static TTileLayout ForFileSize(std::int64_t Size);
    // True when a file of Size bytes is longer than the classic records yet
    // fits neither layout exactly: it is read as classic, with a warning.
    static bool IsAmbiguousSize(std::int64_t Size);
    // True when a file of Size bytes is too short for the classic records
    // and no newer length either: its length cannot tell the layouts apart.
    static bool IsShortSize(std::int64_t Size);
    // The newer layout for a file the user says is newer whatever its
    // length: as many whole item groups as Size bytes hold (at least one).
    // A file too short for the classic records is a newer file cut short,
    // so it gets today's 65,536 tiles, and those it lacks show as beyond
    // its end rather than as a file of a few whole groups.
    static TTileLayout NewerWithin(std::int64_t Size);

    bool IsNewer() const { return FFlagBytes == 8; }
    // 4 or 8: the width of a flags field, and so of the flags a tile can hold.
    int FlagBytes() const { return FFlagBytes; }
    int FlagBits() const { return FFlagBytes * 8; }
    std::uint64_t FlagMask() const;

    int Count(TTileKind Kind) const;
    int RecordSize(TTileKind Kind) const;
    // Byte offset of record Index of the section.
    std::int64_t RecordOffset(TTileKind Kind, int Index) const;
    // Offset of the first byte after the section's last record.
    std::int64_t RecordsEnd(TTileKind Kind) const;
    // Offset where the section's first group header lies.
    std::int64_t SectionStart(TTileKind Kind) const;
    std::int64_t GroupSize(TTileKind Kind) const;
    // True when the byte at Offset belongs to a record of the section, or of
    // either section.
    bool IsRecordByte(TTileKind Kind, std::int64_t Offset) const;
    bool IsRecordByte(std::int64_t Offset) const
    {
        return IsRecordByte(TTileKind::Land, Offset) || IsRecordByte(TTileKind::Item, Offset);
    }

    // Offsets of fields inside a record, after the flags.
    int FieldOffset(int AfterFlags) const { return FFlagBytes + AfterFlags; }
    int NameOffset(TTileKind Kind) const;

    // "65,536 tiles · 64-bit flags".
    std::string Description() const;
    // "classic" or "newer".
    const char *Name() const { return IsNewer() ? "newer" : "classic"; }

    bool operator==(const TTileLayout &Other) const
    {
        return FFlagBytes == Other.FFlagBytes && FItems == Other.FItems;
    }
    bool operator!=(const TTileLayout &Other) const { return !(*this == Other); }

private:
    TTileLayout(int FlagBytes, int Items)
        : FFlagBytes(FlagBytes)
        , FItems(Items)
    {
    }

    int FFlagBytes;
    int FItems;
};

// Item record fields, as offsets after the flags.
namespace ItemField {
constexpr int Weight = 0;
constexpr int Quality = 1;
constexpr int Unknown0 = 2; // u16
constexpr int Unknown1 = 4;
constexpr int Quantity = 5;
constexpr int Anim = 6; // u16
constexpr int Unknown2 = 8;
constexpr int Hue = 9;
constexpr int Unknown3 = 10;
constexpr int Unknown4 = 11;
constexpr int Height = 12;
constexpr int Name = 13;
constexpr int Size = 33; // the record without its flags
} // namespace ItemField

// Land record fields, as offsets after the flags.
namespace LandField {
constexpr int Texture = 0; // u16
constexpr int Name = 2;
constexpr int Size = 22;
} // namespace LandField

// Inline: every read and write of a field goes through these, 65,536 times
// for an edit of every tile of a newer file.
inline int TTileLayout::Count(TTileKind Kind) const
{
    return Kind == TTileKind::Land ? LandGroups * RecordsPerGroup : FItems;
}

inline int TTileLayout::RecordSize(TTileKind Kind) const
{
    return FFlagBytes + (Kind == TTileKind::Land ? LandField::Size : ItemField::Size);
}

inline std::int64_t TTileLayout::GroupSize(TTileKind Kind) const
{
    return GroupHeaderSize + std::int64_t(RecordsPerGroup) * RecordSize(Kind);
}

inline std::int64_t TTileLayout::SectionStart(TTileKind Kind) const
{
    return Kind == TTileKind::Land ? 0 : LandGroups * GroupSize(TTileKind::Land);
}

inline std::int64_t TTileLayout::RecordOffset(TTileKind Kind, int Index) const
{
    return SectionStart(Kind) + GroupSize(Kind) * (Index / RecordsPerGroup) + GroupHeaderSize
           + std::int64_t(RecordSize(Kind)) * (Index % RecordsPerGroup);
}
