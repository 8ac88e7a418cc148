#pragma once

#include <cstdint>

// One record of the patch file. For art patches Block holds the replaced
// entry number reduced by 0x4000, so the patch for static tile n has Block n
// and a patch for an entry below 0x4000 has a negative Block.
struct TPatchEntry
{
    std::int32_t FileId = 0;
    std::int32_t Block = 0;
    std::int32_t Offset = 0;
    std::int32_t Length = 0;
    std::int32_t Extra = 0;
};
