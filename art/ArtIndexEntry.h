#pragma once

#include <cstdint>

// Art entry number of static tile 0: the picture of static tile t is art
// entry t + 0x4000, and patches for tile pictures carry that number too.
constexpr std::uint32_t StaticArtBase = 0x4000;

// One record of the art index: where an art entry lies in the art file.
// An Offset of -1 marks an entry that the art file does not hold.
struct TArtIndexEntry
{
    std::int32_t Number = 0; // the entry number, equal to its table position
    std::int32_t Offset = -1;
    std::int32_t Length = 0; // kept, but the decoders never need it
};
