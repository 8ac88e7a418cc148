#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// Builds radarcol.mul, for tests and demo data: one little-endian 16-bit
// colour per entry, land tile t at entry t, item t at 0x4000 + t, and
// nothing else. Shares no code with the reader.
class RadarWriter
{
public:
    static constexpr int ItemBase = 0x4000;

    // The file holds Entries entries, all 0 until set.
    explicit RadarWriter(int Entries);
    void SetLand(int Tile, std::uint16_t Colour) { Set(Tile, Colour); }
    void SetItem(int Tile, std::uint16_t Colour) { Set(ItemBase + Tile, Colour); }
    const std::vector<unsigned char> &FileBytes() const { return FBytes; }
    void WriteTo(const QString &Folder) const;

private:
    void Set(int Entry, std::uint16_t Colour);

    std::vector<unsigned char> FBytes;
};
