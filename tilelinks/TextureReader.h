#pragma once

#include "tilelinks/Texture.h"

#include <cstdint>
#include <string>
#include <vector>

// The textures land tiles name by their TexID: the table texidx.mul (12-byte
// entries of offset, length and an extra value) and the pixels in
// texmaps.mul. Nothing is read until a texture is asked for; the table is
// then read once, the pixels of each texture when it is drawn.
//
// Both files are untrusted. A slot is empty when its offset is 0xFFFFFFFF,
// its length 0, its length is neither 8,192 (64 x 64) nor 32,768 (128 x 128)
// bytes, or its bytes reach beyond texmaps.mul: such a texture is never
// allocated. Missing or unreadable files hold no textures.
class TTextureReader
{
public:
    static constexpr int EntrySize = 12;
    static constexpr std::uint32_t SmallLength = 64 * 64 * 2;
    static constexpr std::uint32_t LargeLength = 128 * 128 * 2;
    // A TexID is a 16-bit field: entries past this one are never named, so
    // they are never read, however long the table.
    static constexpr int MostEntries = 0x10000;

    TTextureReader(std::string IndexPath, std::string TexturePath);

    // The side of the texture TexId names: 64, 128, or 0 for none (TexID 0
    // among them).
    int Side(int TexId);
    // Reads the texture TexId names into Out; false, with Out emptied, when
    // there is none or its bytes cannot be read whole.
    bool Read(int TexId, TTexture &Out);
    // The number of entries of the table (at most MostEntries).
    int EntryCount();

private:
    struct TEntry
    {
        std::uint32_t Offset = 0;
        std::uint32_t Length = 0;
    };

    void Load();
    // The entry TexId names when it holds a texture that lies within
    // texmaps.mul; null otherwise.
    const TEntry *Usable(int TexId);

    std::string FIndexPath;
    std::string FTexturePath;
    bool FLoaded = false;
    std::vector<TEntry> FEntries;
    std::int64_t FTextureFileSize = 0;
};
