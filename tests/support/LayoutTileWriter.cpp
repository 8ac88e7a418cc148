#include "tests/support/LayoutTileWriter.h"

#include "tests/support/TestFiles.h"

#include <iterator>
#include <stdexcept>

namespace {

std::uint64_t Get(const std::vector<unsigned char> &Bytes, std::size_t At, int Width)
{
    std::uint64_t value = 0;
    for (int k = Width - 1; k >= 0; --k)
        value = (value << 8) | Bytes.at(At + std::size_t(k));
    return value;
}

} // namespace

LayoutTileWriter::LayoutTileWriter(bool Newer, int Items, std::size_t Size, std::uint32_t Seed)
    : FNewer(Newer)
    , FItems(Items)
    , FBytes(Size)
{
    std::mt19937 random(Seed);
    for (auto &b : FBytes)
        b = static_cast<unsigned char>(random() & 0xFF);
}

LayoutTileWriter LayoutTileWriter::Classic(std::uint32_t Seed)
{
    return LayoutTileWriter(false, 16383, ClassicFileSize, Seed);
}

LayoutTileWriter LayoutTileWriter::Newer(int Groups, std::uint32_t Seed)
{
    return LayoutTileWriter(true, 32 * Groups, NewerLandSection + NewerItemGroup * std::size_t(Groups), Seed);
}

LayoutTileWriter LayoutTileWriter::ShapeOf(std::size_t Length)
{
    if (Length > NewerLandSection && (Length - NewerLandSection) % NewerItemGroup == 0)
        return LayoutTileWriter(true, int(32 * ((Length - NewerLandSection) / NewerItemGroup)), 0, 0);
    return LayoutTileWriter(false, 16383, 0, 0);
}

std::size_t LayoutTileWriter::ItemOffset(int Tile) const
{
    const std::size_t t = std::size_t(Tile);
    return LandSection() + ItemGroup() * (t / 32) + 4 + std::size_t(FlagBytes() + 33) * (t % 32);
}

std::size_t LayoutTileWriter::LandOffset(int Tile) const
{
    const std::size_t t = std::size_t(Tile);
    return LandGroup() * (t / 32) + 4 + std::size_t(FlagBytes() + 22) * (t % 32);
}

bool LayoutTileWriter::IsRecordByte(std::size_t Offset) const
{
    if (Offset < LandSection())
        return Offset % LandGroup() >= 4;
    const std::size_t end = ItemOffset(FItems - 1) + std::size_t(FlagBytes() + 33);
    return Offset < end && (Offset - LandSection()) % ItemGroup() >= 4;
}

void LayoutTileWriter::PutFlags(std::size_t At, std::uint64_t Flags)
{
    TestFiles::PutU32(FBytes, At, std::uint32_t(Flags));
    if (FNewer)
        TestFiles::PutU32(FBytes, At + 4, std::uint32_t(Flags >> 32));
    else if (Flags >> 32)
        throw std::invalid_argument("a classic record has 32 flag bits");
}

std::uint64_t LayoutTileWriter::GetFlags(std::size_t At) const
{
    return Get(FBytes, At, FlagBytes());
}

void LayoutTileWriter::PutName(std::size_t At, const std::string &Name)
{
    if (Name.size() > 20)
        throw std::invalid_argument("name longer than 20 bytes");
    for (std::size_t k = 0; k < 20; ++k)
        TestFiles::PutU8(FBytes, At + k, k < Name.size() ? static_cast<unsigned char>(Name[k]) : 0);
}

std::string LayoutTileWriter::GetName(std::size_t At) const
{
    std::string name;
    for (std::size_t k = 0; k < 20 && FBytes.at(At + k) != 0; ++k)
        name.push_back(static_cast<char>(FBytes[At + k]));
    return name;
}

void LayoutTileWriter::SetItem(int Tile, const Item &R)
{
    const std::size_t at = ItemOffset(Tile);
    PutFlags(at, R.Flags);
    const std::size_t f = at + std::size_t(FlagBytes());
    using namespace TestFiles;
    PutU8(FBytes, f + 0, R.Weight);
    PutU8(FBytes, f + 1, R.Quality);
    PutU16(FBytes, f + 2, R.Unknown0);
    PutU8(FBytes, f + 4, R.Unknown1);
    PutU8(FBytes, f + 5, R.Quantity);
    PutU16(FBytes, f + 6, R.Anim);
    PutU8(FBytes, f + 8, R.Unknown2);
    PutU8(FBytes, f + 9, R.Hue);
    PutU8(FBytes, f + 10, R.Unknown3);
    PutU8(FBytes, f + 11, R.Unknown4);
    PutU8(FBytes, f + 12, R.Height);
    PutName(f + 13, R.Name);
}

void LayoutTileWriter::NameAllLand()
{
    static const char *const Words[] = {"grass", "dirt", "water", "cave floor", "NoName", "jungle", "sand dunes",
                                        "lava", "embankment", "rock", "furrows", "swamp water", "snow"};
    for (int tile = 0; tile < LandTiles; ++tile)
        PutName(LandOffset(tile) + std::size_t(FlagBytes()) + 2, Words[std::size_t(tile) % std::size(Words)]);
}

void LayoutTileWriter::SetLand(int Tile, const Land &R)
{
    const std::size_t at = LandOffset(Tile);
    PutFlags(at, R.Flags);
    TestFiles::PutU16(FBytes, at + std::size_t(FlagBytes()), R.Texture);
    PutName(at + std::size_t(FlagBytes()) + 2, R.Name);
}

void LayoutTileWriter::SetRawItemName(int Tile, const std::string &TwentyBytes)
{
    if (TwentyBytes.size() != 20)
        throw std::invalid_argument("raw name must be 20 bytes");
    for (std::size_t k = 0; k < 20; ++k)
        FBytes.at(ItemOffset(Tile) + std::size_t(FlagBytes()) + 13 + k) = static_cast<unsigned char>(TwentyBytes[k]);
}

void LayoutTileWriter::SetRawLandName(int Tile, const std::string &TwentyBytes)
{
    if (TwentyBytes.size() != 20)
        throw std::invalid_argument("raw name must be 20 bytes");
    for (std::size_t k = 0; k < 20; ++k)
        FBytes.at(LandOffset(Tile) + std::size_t(FlagBytes()) + 2 + k) = static_cast<unsigned char>(TwentyBytes[k]);
}

LayoutTileWriter::Item LayoutTileWriter::ReadItem(int Tile) const
{
    const std::size_t at = ItemOffset(Tile);
    const std::size_t f = at + std::size_t(FlagBytes());
    Item r;
    r.Flags = GetFlags(at);
    r.Weight = std::uint8_t(Get(FBytes, f + 0, 1));
    r.Quality = std::uint8_t(Get(FBytes, f + 1, 1));
    r.Unknown0 = std::uint16_t(Get(FBytes, f + 2, 2));
    r.Unknown1 = std::uint8_t(Get(FBytes, f + 4, 1));
    r.Quantity = std::uint8_t(Get(FBytes, f + 5, 1));
    r.Anim = std::uint16_t(Get(FBytes, f + 6, 2));
    r.Unknown2 = std::uint8_t(Get(FBytes, f + 8, 1));
    r.Hue = std::uint8_t(Get(FBytes, f + 9, 1));
    r.Unknown3 = std::uint8_t(Get(FBytes, f + 10, 1));
    r.Unknown4 = std::uint8_t(Get(FBytes, f + 11, 1));
    r.Height = std::uint8_t(Get(FBytes, f + 12, 1));
    r.Name = GetName(f + 13);
    return r;
}

LayoutTileWriter::Land LayoutTileWriter::ReadLand(int Tile) const
{
    const std::size_t at = LandOffset(Tile);
    Land r;
    r.Flags = GetFlags(at);
    r.Texture = std::uint16_t(Get(FBytes, at + std::size_t(FlagBytes()), 2));
    r.Name = GetName(at + std::size_t(FlagBytes()) + 2);
    return r;
}

void LayoutTileWriter::WriteTo(const QString &Path) const
{
    TestFiles::WriteBytes(Path, FBytes);
}
