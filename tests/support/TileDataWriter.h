#pragma once

#include <QString>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Builds tile data files byte by byte from the file's layout, for tests and
// demo data. It computes every position itself and shares no code with the
// store it is used to test.
//
// A new file is filled with seeded random bytes everywhere: the leading
// section, the group headers, the records and the tail, so that a check for
// "unchanged" compares against real data. Set records to known values with
// SetRecord and SetName.
class TileDataWriter
{
public:
    static constexpr std::size_t FullSize = 1036288;   // a real file's length
    static constexpr std::size_t RecordsEnd = 1036251; // end of tile 0x3FFE
    static constexpr int Tiles = 16383;

    struct Record
    {
        std::uint32_t Flags = 0;
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

    explicit TileDataWriter(std::uint32_t seed = 1, std::size_t size = FullSize);

    // Group arithmetic, written out the long way: group i / 32 starts at
    // 428,032 + 1,188 * group, its header takes 4 bytes, then 37 per record.
    static std::size_t OffsetOf(int tile);
    // True when the byte at offset belongs to one of the 16,383 records.
    static bool IsRecordByte(std::size_t offset);

    // Writes all 37 bytes of the record; the name is zero-padded.
    void SetRecord(int tile, const Record &record);
    // Writes the 20 name bytes exactly as given (must be 20 long).
    void SetRawName(int tile, const std::string &twentyBytes);
    // Fills every record with plausible random values: names of 0 to 20
    // letters, followed by a zero and then random leftovers.
    void RandomizeRecords();
    void Truncate(std::size_t size);

    Record ReadRecord(int tile) const;
    std::vector<unsigned char> &Bytes() { return FBytes; }
    const std::vector<unsigned char> &Bytes() const { return FBytes; }
    void WriteTo(const QString &path) const;

private:
    std::vector<unsigned char> FBytes;
    std::mt19937 FRandom;
};
