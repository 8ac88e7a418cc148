#pragma once

#include <cstdint>
#include <vector>

// Builds save journals byte by byte, from their layout alone: the magic
// "QVJRNL01", the file's length (8 bytes, little-endian), the number of
// stretches (4), each stretch's offset (8), length (4), old bytes and new
// bytes, and last the CRC-32 (zlib's) of every byte before it.
namespace JournalWriter {

struct Stretch
{
    std::uint64_t At = 0;
    std::vector<unsigned char> Old;
    std::vector<unsigned char> New;
};

std::vector<unsigned char> Build(std::uint64_t FileLength, const std::vector<Stretch> &Stretches);

} // namespace JournalWriter
