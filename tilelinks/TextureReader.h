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
// Why a TexID names no texture.
enum class TTextureFault {
    None,         // it names a texture
    Zero,         // TexID 0: the tile has none, on purpose
    BeyondTable,  // past the table's last entry
    EmptySlot,    // offset 0xFFFFFFFF or length 0
    NotATexture,  // a length of neither 8,192 nor 32,768 bytes
    PastFileEnd,  // bytes reaching beyond texmaps.mul
};

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
    // Why TexId names no texture, or None when it names one.
    TTextureFault Fault(int TexId);
    // The length the entry of TexId gives, 0 past the table.
    std::uint32_t Length(int TexId);
    // Why the files could not be read whole, naming the file; empty when
    // they could, or were never asked for.
    const std::string &Problem() const { return FProblem; }

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
    std::string FProblem;
};
