#pragma once

#include <cstdint>
#include <vector>

// A texture of texmaps.mul: Side x Side 16-bit pixels (one unused top bit,
// then 5 bits each of red, green and blue), rows from top to bottom.
struct TTexture
{
    int Side = 0;
    std::vector<std::uint16_t> Pixels;
};
