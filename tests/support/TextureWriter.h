#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// Builds texidx.mul and texmaps.mul byte by byte, for tests and demo data.
// texidx.mul is a table of 12-byte entries (offset into texmaps.mul,
// length, extra), texmaps.mul the textures' 16-bit pixels with no header.
// Entries are numbered in the order they are added. Shares no code with
// the readers.
class TextureWriter
{
public:
    using Bytes = std::vector<unsigned char>;

    // Appends a Side x Side texture whose pixel at (X, Y) is Pixel(X, Y) and
    // returns its entry number.
    template <typename F>
    int AddTexture(int Side, F Pixel)
    {
        std::vector<std::uint16_t> pixels;
        for (int y = 0; y < Side; ++y)
            for (int x = 0; x < Side; ++x)
                pixels.push_back(Pixel(x, y));
        return AddPixels(pixels);
    }
    // Appends the pixels as they are, whatever their number.
    int AddPixels(const std::vector<std::uint16_t> &Pixels, std::uint32_t Extra = 0);
    // An entry with any values, for empty slots and hostile tables.
    int AddEntry(std::uint32_t Offset, std::uint32_t Length, std::uint32_t Extra = 0);
    // Empty slots (offset 0xFFFFFFFF) until the next entry added gets
    // number Number.
    void PadToEntry(int Number);
    int EntryCount() const { return int(FIndex.size() / 12); }

    Bytes IndexBytes() const { return FIndex; }
    Bytes TextureBytes() const { return FTextures; }
    // Writes texidx.mul and texmaps.mul into Folder.
    void WriteTo(const QString &Folder) const;

private:
    Bytes FIndex;
    Bytes FTextures;
};
