#include "tilelinks/TextureReader.h"

#include "platform/Error.h"
#include "platform/SharedReadFile.h"

#include <algorithm>
#include <utility>

namespace {

std::uint32_t Long(const unsigned char *Bytes)
{
    return std::uint32_t(Bytes[0]) | std::uint32_t(Bytes[1]) << 8 | std::uint32_t(Bytes[2]) << 16
           | std::uint32_t(Bytes[3]) << 24;
}

int SideOf(std::uint32_t Length)
{
    if (Length == TTextureReader::SmallLength)
        return 64;
    if (Length == TTextureReader::LargeLength)
        return 128;
    return 0;
}

} // namespace

TTextureReader::TTextureReader(std::string IndexPath, std::string TexturePath)
    : FIndexPath(std::move(IndexPath))
    , FTexturePath(std::move(TexturePath))
{
}

void TTextureReader::Load()
{
    if (FLoaded)
        return;
    FLoaded = true;
    // Either file missing or unreadable: the folder simply has no textures,
    // and the window shows the tiles as it does without them.
    try {
        const SharedReadFile textures(FTexturePath);
        FTextureFileSize = textures.Size();
        const SharedReadFile index(FIndexPath);
        const std::int64_t count = std::min<std::int64_t>(index.Size() / EntrySize, MostEntries);
        std::vector<unsigned char> bytes(std::size_t(count) * EntrySize);
        const std::size_t read = index.ReadAt(0, bytes.data(), bytes.size());
        if (read != bytes.size())
            FProblem = FIndexPath + ": the file ended at byte " + std::to_string(read) + " while it was read";
        bytes.resize(read / EntrySize * EntrySize);
        FEntries.resize(bytes.size() / EntrySize);
        for (std::size_t i = 0; i < FEntries.size(); ++i) {
            FEntries[i].Offset = Long(&bytes[i * EntrySize]);
            FEntries[i].Length = Long(&bytes[i * EntrySize + 4]);
        }
    } catch (const Error &e) {
        FEntries.clear();
        FProblem = e.what();
    }
}

int TTextureReader::EntryCount()
{
    Load();
    return int(FEntries.size());
}

TTextureFault TTextureReader::Fault(int TexId)
{
    if (TexId == 0)
        return TTextureFault::Zero;
    Load();
    if (TexId < 0 || TexId >= int(FEntries.size()))
        return TTextureFault::BeyondTable;
    const TEntry &entry = FEntries[std::size_t(TexId)];
    if (entry.Offset == 0xFFFFFFFFu || entry.Length == 0)
        return TTextureFault::EmptySlot;
    if (SideOf(entry.Length) == 0)
        return TTextureFault::NotATexture;
    if (std::int64_t(entry.Offset) + entry.Length > FTextureFileSize)
        return TTextureFault::PastFileEnd;
    return TTextureFault::None;
}

std::uint32_t TTextureReader::Length(int TexId)
{
    Load();
    return TexId >= 0 && TexId < int(FEntries.size()) ? FEntries[std::size_t(TexId)].Length : 0;
}

const TTextureReader::TEntry *TTextureReader::Usable(int TexId)
{
    if (Fault(TexId) != TTextureFault::None)
        return nullptr;
    return &FEntries[std::size_t(TexId)];
}

int TTextureReader::Side(int TexId)
{
    const TEntry *entry = Usable(TexId);
    return entry == nullptr ? 0 : SideOf(entry->Length);
}

bool TTextureReader::Read(int TexId, TTexture &Out)
{
    Out = TTexture();
    const TEntry *entry = Usable(TexId);
    if (entry == nullptr)
        return false;
    std::vector<unsigned char> bytes(entry->Length);
    try {
        const SharedReadFile file(FTexturePath);
        // The file may have changed since its size was taken: a short read
        // is a texture that is not there.
        if (file.ReadAt(entry->Offset, bytes.data(), bytes.size()) != bytes.size())
            return false;
    } catch (const Error &) {
        return false;
    }
    Out.Side = SideOf(entry->Length);
    Out.Pixels.resize(bytes.size() / 2);
    for (std::size_t i = 0; i < Out.Pixels.size(); ++i)
        Out.Pixels[i] = std::uint16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return true;
}
