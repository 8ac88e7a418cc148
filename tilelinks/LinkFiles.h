#pragma once

#include "tilelinks/AnimationReader.h"
#include "tilelinks/TextureReader.h"

#include <string>

// The files a tile's record points into, found in one folder (beside the
// tile data file, as the art is): texidx.mul, texmaps.mul and animdata.mul.
// Making it reads nothing.
class TLinkFiles
{
public:
    // Folder with or without its trailing separator; empty is the current
    // folder.
    explicit TLinkFiles(const std::string &Folder);
    // The files in the folder of TileDataPath.
    static std::string FolderOf(const std::string &TileDataPath);
    // True when Folder holds at least one of the three files: a folder named
    // on purpose that holds none is a mistyped one.
    static bool AnyIn(const std::string &Folder);

    TTextureReader &Textures() { return FTextures; }
    TAnimationReader &Animations() { return FAnimations; }

private:
    TTextureReader FTextures;
    TAnimationReader FAnimations;
};
