#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A plain model of what a tile data store holds: the file image it read and
// its table of records, kept as raw bytes. Every operation is the naive one
// on those bytes (little-endian stores at the field's offset, a name copied
// into a zeroed 20-byte field), so that a store whose file differs from the
// model after a save has written a wrong byte.
class TileFileModel
{
public:
    static constexpr int Tiles = 16383;
    static constexpr int RecordBytes = 37;
    static constexpr int NameOffset = 17;
    static constexpr int NameBytes = 20;

    using Record = std::array<unsigned char, RecordBytes>;

    // The model of a store just constructed on a file holding Disk.
    explicit TileFileModel(std::vector<unsigned char> Disk);

    static bool IsTile(int tile) { return tile >= 0 && tile < Tiles; }
    // Only a record wholly inside the file can be edited and saved.
    bool IsWhole(int tile) const;

    // [begin, end) of every stretch of a file of Length bytes that belongs
    // to no record: the leading section, the group headers and the tail.
    using Span = std::pair<std::size_t, std::size_t>;
    static std::vector<Span> OutsideRecords(std::size_t Length);

    // A new store on the file: the image is the disk, the table all zero.
    void Reopen(const std::vector<unsigned char> &Disk);
    // LoadTiles: the table from the image; bytes past its end read as zero.
    void Load();
    // Save: the table's whole records into the image.
    void Save();

    // Stores the low Width bytes of Value at Offset of the record.
    void SetField(int tile, int Offset, int Width, std::uint32_t Value);
    std::uint32_t Field(int tile, int Offset, int Width) const;

    void SetName(int tile, const std::string &bytes);
    std::string Name(int tile) const;
    // Renames every tile whose name equals Old when a to z are folded.
    void ReplaceName(const std::string &Old, const std::string &New);
    // Lowest tile whose capitalised name contains UpperText, or -1.
    int FindUpper(const std::string &UpperText) const;

    const std::vector<unsigned char> &Image() const { return FImage; }

private:
    std::vector<unsigned char> FImage;
    std::vector<Record> FTable;
};
