#pragma once

#include <cstdint>

// One record of the art index: where an art entry lies in the art file.
// An Offset of -1 marks an entry that the art file does not hold.
struct TArtIndexEntry
{
    std::int32_t Number = 0; // the entry number, equal to its table position
    std::int32_t Offset = -1;
    std::int32_t Length = 0; // kept, but the decoders never need it
};
