#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Builds hue files byte by byte from the file's layout, for tests and demo
// data. It shares no code with the hue table it is used to test.
//
// The file is a run of 708-byte blocks: a 4-byte header, then eight hues of
// 88 bytes each (32 little-endian colour words, two more words, a 20-byte
// name). Hues are numbered from 1 in file order, so hue n lives in block
// (n - 1) / 8, slot (n - 1) % 8. Anything set as trailing bytes follows the
// last whole block. A new writer's blocks are all zero.
class HueWriter
{
public:
    static constexpr std::size_t BlockSize = 708;
    static constexpr std::size_t HueSize = 88;
    static constexpr int HuesPerBlock = 8;
    static constexpr int Shades = 32;
    static constexpr std::size_t NameSize = 20;

    struct Hue
    {
        std::array<std::uint16_t, Shades> Colors {};
        std::uint16_t TableStart = 0; // the two words after the colours
        std::uint16_t TableEnd = 0;
        std::string Name;             // Windows-1252 bytes, cut to 20 and zero-padded
    };

    explicit HueWriter(int blocks = 0);

    int BlockCount() const { return FBlocks; }
    int HueCount() const { return FBlocks * HuesPerBlock; }
    // Grows with zero blocks or drops blocks from the end.
    void SetBlockCount(int blocks);

    // First byte of hue n's entry, counted from the start of the file.
    static std::size_t OffsetOf(int hueNumber);

    void SetHeader(int block, std::uint32_t header);
    void SetHue(int hueNumber, const Hue &hue);
    void SetColor(int hueNumber, int shade, std::uint16_t colour);
    // Writes the 20 name bytes exactly as given (must be 20 long).
    void SetRawName(int hueNumber, const std::string &twentyBytes);
    void SetTrailing(const std::vector<unsigned char> &bytes) { FTrailing = bytes; }

    std::vector<unsigned char> Bytes() const;
    void WriteTo(const QString &path) const;

    // A 15-bit colour word from three 5-bit channels (0 to 31); bit 15 clear.
    static std::uint16_t Colour15(int red, int green, int blue);
    // 32 shades running evenly from `darkest` (shade 0) to `brightest`
    // (shade 31), channel by channel: the ramps of a real hue file.
    static std::array<std::uint16_t, Shades> Ramp(std::uint16_t darkest, std::uint16_t brightest);

private:
    std::size_t CheckedOffset(int hueNumber) const;

    int FBlocks = 0;
    std::vector<unsigned char> FBody;
    std::vector<unsigned char> FTrailing;
};
