#include "tests/support/TileDataWriter.h"

#include "tests/support/TestFiles.h"

#include <stdexcept>

namespace {

constexpr std::size_t LeadingSection = 428032;
constexpr std::size_t GroupBytes = 1188;
constexpr std::size_t HeaderBytes = 4;
constexpr std::size_t RecordBytes = 37;
constexpr std::size_t NameOffset = 17;

std::uint32_t Get(const std::vector<unsigned char> &b, std::size_t at, int width)
{
    std::uint32_t v = 0;
    for (int k = width - 1; k >= 0; --k)
        v = (v << 8) | (at + k < b.size() ? b[at + k] : 0);
    return v;
}

} // namespace

TileDataWriter::TileDataWriter(std::uint32_t seed, std::size_t size)
    : FBytes(size)
    , FRandom(seed)
{
    for (auto &b : FBytes)
        b = static_cast<unsigned char>(FRandom() & 0xFF);
}

std::size_t TileDataWriter::OffsetOf(int tile)
{
    const std::size_t group = static_cast<std::size_t>(tile) / 32;
    const std::size_t position = static_cast<std::size_t>(tile) % 32;
    return LeadingSection + GroupBytes * group + HeaderBytes + RecordBytes * position;
}

bool TileDataWriter::IsRecordByte(std::size_t offset)
{
    if (offset < LeadingSection || offset >= RecordsEnd)
        return false;
    return (offset - LeadingSection) % GroupBytes >= HeaderBytes;
}

void TileDataWriter::SetRecord(int tile, const Record &r)
{
    if (r.Name.size() > 20)
        throw std::invalid_argument("name longer than 20 bytes");
    const std::size_t at = OffsetOf(tile);
    using namespace TestFiles;
    PutU32(FBytes, at + 0, r.Flags);
    PutU8(FBytes, at + 4, r.Weight);
    PutU8(FBytes, at + 5, r.Quality);
    PutU16(FBytes, at + 6, r.Unknown0);
    PutU8(FBytes, at + 8, r.Unknown1);
    PutU8(FBytes, at + 9, r.Quantity);
    PutU16(FBytes, at + 10, r.Anim);
    PutU8(FBytes, at + 12, r.Unknown2);
    PutU8(FBytes, at + 13, r.Hue);
    PutU8(FBytes, at + 14, r.Unknown3);
    PutU8(FBytes, at + 15, r.Unknown4);
    PutU8(FBytes, at + 16, r.Height);
    for (std::size_t k = 0; k < 20; ++k)
        PutU8(FBytes, at + NameOffset + k, k < r.Name.size() ? static_cast<unsigned char>(r.Name[k]) : 0);
}

void TileDataWriter::SetRawName(int tile, const std::string &twentyBytes)
{
    if (twentyBytes.size() != 20)
        throw std::invalid_argument("raw name must be 20 bytes");
    const std::size_t at = OffsetOf(tile) + NameOffset;
    for (std::size_t k = 0; k < 20; ++k)
        TestFiles::PutU8(FBytes, at + k, static_cast<unsigned char>(twentyBytes[k]));
}

void TileDataWriter::RandomizeRecords()
{
    const std::size_t keep = FBytes.size();
    for (int tile = 0; tile < Tiles; ++tile) {
        const std::size_t at = OffsetOf(tile);
        for (std::size_t k = 0; k < NameOffset; ++k)
            TestFiles::PutU8(FBytes, at + k, static_cast<unsigned char>(FRandom() & 0xFF));
        const std::size_t length = FRandom() % 21;
        for (std::size_t k = 0; k < 20; ++k) {
            unsigned char c;
            if (k < length)
                c = static_cast<unsigned char>('a' + FRandom() % 26);
            else if (k == length)
                c = 0;
            else
                c = static_cast<unsigned char>(FRandom() & 0xFF);
            TestFiles::PutU8(FBytes, at + NameOffset + k, c);
        }
    }
    FBytes.resize(keep);
}

void TileDataWriter::Truncate(std::size_t size)
{
    FBytes.resize(size);
}

TileDataWriter::Record TileDataWriter::ReadRecord(int tile) const
{
    const std::size_t at = OffsetOf(tile);
    Record r;
    r.Flags = Get(FBytes, at, 4);
    r.Weight = std::uint8_t(Get(FBytes, at + 4, 1));
    r.Quality = std::uint8_t(Get(FBytes, at + 5, 1));
    r.Unknown0 = std::uint16_t(Get(FBytes, at + 6, 2));
    r.Unknown1 = std::uint8_t(Get(FBytes, at + 8, 1));
    r.Quantity = std::uint8_t(Get(FBytes, at + 9, 1));
    r.Anim = std::uint16_t(Get(FBytes, at + 10, 2));
    r.Unknown2 = std::uint8_t(Get(FBytes, at + 12, 1));
    r.Hue = std::uint8_t(Get(FBytes, at + 13, 1));
    r.Unknown3 = std::uint8_t(Get(FBytes, at + 14, 1));
    r.Unknown4 = std::uint8_t(Get(FBytes, at + 15, 1));
    r.Height = std::uint8_t(Get(FBytes, at + 16, 1));
    for (std::size_t k = 0; k < 20; ++k) {
        const unsigned char c = static_cast<unsigned char>(Get(FBytes, at + NameOffset + k, 1));
        if (c == 0)
            break;
        r.Name.push_back(static_cast<char>(c));
    }
    return r;
}

void TileDataWriter::WriteTo(const QString &path) const
{
    TestFiles::WriteBytes(path, FBytes);
}
