#pragma once

#include <QString>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Builds tile data files of either layout byte by byte, land records
// included, for tests, fuzz seeds and demo data. Every position comes from
// the facts below, worked out here; nothing is shared with the store.
//
// - Both layouts: a land section of 512 groups, then item groups; a group
//   is a 4-byte header and 32 records.
// - Classic: 32-bit flags. A land record is flags, texture (u16) and a
//   20-byte name: 26 bytes, so the land section is 512 * (4 + 32 * 26) =
//   428,032 bytes. An item record is flags and 33 bytes: 37, a group 1,188;
//   16,383 items, a file of 1,036,288 bytes.
// - Newer: 64-bit flags. Land records of 30 bytes: 512 * (4 + 32 * 30) =
//   493,568 bytes. Item records of 41 bytes, groups of 4 + 32 * 41 = 1,316;
//   as many items as whole groups, 32 each.
//
// A new file is seeded random bytes throughout, so that "unchanged" is
// checked against real data.
class LayoutTileWriter
{
public:
    static constexpr std::size_t ClassicLandSection = 428032;
    static constexpr std::size_t NewerLandSection = 493568;
    static constexpr std::size_t ClassicFileSize = 1036288;
    static constexpr std::size_t NewerItemGroup = 1316;
    static constexpr int LandTiles = 16384;

    struct Item
    {
        std::uint64_t Flags = 0;
        std::uint8_t Weight = 0;
        std::uint8_t Quality = 0;
        std::uint16_t Unknown0 = 0;
        std::uint8_t Unknown1 = 0;
        std::uint8_t Quantity = 0;
        std::uint16_t Anim = 0;
        std::uint8_t Unknown2 = 0;
        std::uint8_t Hue = 0;
        std::uint8_t Unknown3 = 0;
        std::uint8_t Unknown4 = 0;
        std::uint8_t Height = 0;
        std::string Name; // Windows-1252 bytes, at most 20
    };

    struct Land
    {
        std::uint64_t Flags = 0;
        std::uint16_t Texture = 0;
        std::string Name;
    };

    // A classic file of 1,036,288 bytes.
    static LayoutTileWriter Classic(std::uint32_t Seed = 1);
    // A newer file of Groups item groups: 493,568 + 1,316 * Groups bytes.
    static LayoutTileWriter Newer(int Groups, std::uint32_t Seed = 1);
    // No bytes, only the positions of a file of Length bytes: the newer
    // layout when Length is 493,568 + 1,316 * k for a k of at least 1,
    // else the classic one.
    static LayoutTileWriter ShapeOf(std::size_t Length);

    bool IsNewer() const { return FNewer; }
    int FlagBytes() const { return FNewer ? 8 : 4; }
    int Items() const { return FItems; }
    std::size_t ItemOffset(int Tile) const;
    std::size_t LandOffset(int Tile) const;
    // True when the byte at Offset belongs to a land or item record.
    bool IsRecordByte(std::size_t Offset) const;

    // Write every byte of the record, the name zero-padded.
    void SetItem(int Tile, const Item &Record);
    void SetLand(int Tile, const Land &Record);
    // Write the 20 name bytes exactly as given (must be 20 long).
    void SetRawItemName(int Tile, const std::string &TwentyBytes);
    void SetRawLandName(int Tile, const std::string &TwentyBytes);
    // Names every land tile as real files do, with words of many lengths,
    // so that the layout its names read in can be told; the other bytes
    // stay.
    void NameAllLand();
    Item ReadItem(int Tile) const;
    Land ReadLand(int Tile) const;

    std::vector<unsigned char> &Bytes() { return FBytes; }
    const std::vector<unsigned char> &Bytes() const { return FBytes; }
    void WriteTo(const QString &Path) const;

private:
    LayoutTileWriter(bool Newer, int Items, std::size_t Size, std::uint32_t Seed);
    std::size_t LandSection() const { return FNewer ? NewerLandSection : ClassicLandSection; }
    std::size_t ItemGroup() const { return 4 + 32 * std::size_t(FlagBytes() + 33); }
    std::size_t LandGroup() const { return 4 + 32 * std::size_t(FlagBytes() + 22); }
    void PutFlags(std::size_t At, std::uint64_t Flags);
    std::uint64_t GetFlags(std::size_t At) const;
    void PutName(std::size_t At, const std::string &Name);
    std::string GetName(std::size_t At) const;

    bool FNewer;
    int FItems;
    std::vector<unsigned char> FBytes;
};
