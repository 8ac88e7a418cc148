#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// Builds animdata.mul byte by byte, for tests and demo data: 548-byte
// blocks of a 4-byte header and eight 68-byte entries, item id's entry in
// block id / 8 at 4 + (id % 8) * 68. An entry is 64 signed frame offsets,
// an unknown byte, the frame count, the interval and the start delay. The
// file holds as many whole blocks as its highest entry needs, all zero but
// for what is set. Shares no code with the reader.
class AnimationWriter
{
public:
    using Bytes = std::vector<unsigned char>;

    static constexpr std::size_t BlockSize = 548;

    // Item's entry, with Offsets (at most 64) as its frames; Count is
    // written as the frame count, or the number of offsets when -1.
    void SetEntry(int Item, const std::vector<int> &Offsets, int Interval, int Delay, int Count = -1,
                  int Unknown = 0);
    // Makes the file at least Blocks blocks long.
    void SetBlockCount(int Blocks);
    void SetHeader(int Block, std::uint32_t Header);

    Bytes FileBytes() const { return FBytes; }
    void WriteTo(const QString &Folder) const;

private:
    Bytes FBytes;
};
