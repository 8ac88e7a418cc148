#pragma once

#include <cstdint>
#include <functional>

class TAnimationReader;
class TRadarColours;
class TTextureReader;

// What the rules read besides the tile data. A null reader, or no picture
// test, is a file that was not found or not read whole: the rules that need
// it do not run.
struct TCheckSources
{
    TAnimationReader *Animations = nullptr;
    TTextureReader *Textures = nullptr;
    const TRadarColours *Radar = nullptr;
    // Whether art entry EntryNumber holds a picture (land tile t is entry t,
    // item t entry t + 0x4000).
    std::function<bool(std::int32_t EntryNumber)> HasPicture;
};
