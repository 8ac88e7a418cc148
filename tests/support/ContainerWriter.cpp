#include "tests/support/ContainerWriter.h"

#include <QFile>

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

std::uint32_t Rot(std::uint32_t V, int K)
{
    return (V << K) | (V >> (32 - K));
}

// lookup3's two scrambles, written as tables of steps over the state
// {a, b, c}: mixing step s works on v[s % 3] with v[(s + 2) % 3] and adds
// v[(s + 1) % 3]; finishing step s folds v[(s + 1) % 3] into v[(s + 2) % 3].
void Scramble(std::uint32_t (&V)[3])
{
    const int shifts[6] = {4, 6, 8, 16, 19, 4};
    for (int s = 0; s < 6; ++s) {
        std::uint32_t &x = V[s % 3];
        std::uint32_t &y = V[(s + 2) % 3];
        x -= y;
        x ^= Rot(y, shifts[s]);
        y += V[(s + 1) % 3];
    }
}

void Finish(std::uint32_t (&V)[3])
{
    const int shifts[7] = {14, 11, 25, 16, 4, 14, 24};
    for (int s = 0; s < 7; ++s) {
        std::uint32_t &x = V[(s + 2) % 3];
        const std::uint32_t y = V[(s + 1) % 3];
        x ^= y;
        x -= Rot(y, shifts[s]);
    }
}

void PutBytes(ContainerWriter::Bytes &File, std::size_t At, std::uint64_t Value, int Count)
{
    for (int i = 0; i < Count; ++i)
        File.at(At + std::size_t(i)) = (unsigned char)(Value >> (8 * i));
}

} // namespace

ContainerWriter::ContainerWriter(int BlockCapacity, KeyOrder Order)
    : FCapacity(BlockCapacity)
    , FOrder(Order)
{
}

std::pair<std::uint32_t, std::uint32_t> ContainerWriter::Hash(const std::string &Text, std::uint32_t C,
                                                              std::uint32_t B)
{
    std::uint32_t v[3];
    v[0] = v[1] = v[2] = 0xDEADBEEFu + std::uint32_t(Text.size()) + C;
    v[2] += B;
    std::size_t left = Text.size();
    std::size_t at = 0;
    // Twelve bytes at a time, the last one to twelve bytes left for the
    // finish; byte i of a group goes into word i / 4 at bit 8 * (i % 4).
    while (left > 0) {
        const std::size_t take = left > 12 ? 12 : left;
        for (std::size_t i = 0; i < take; ++i)
            v[i / 4] += std::uint32_t((unsigned char)Text[at + i]) << (8 * (i % 4));
        at += take;
        left -= take;
        if (left > 0)
            Scramble(v);
        else
            Finish(v);
    }
    return {v[2], v[1]};
}

std::string ContainerWriter::ArtName(int EntryNumber)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08d", EntryNumber);
    return "build/artlegacymul/" + std::string(digits) + ".tga";
}

std::uint64_t ContainerWriter::KeyOf(const std::string &Name) const
{
    const auto [c, b] = Hash(Name);
    return FOrder == KeyOrder::PrimaryHigh ? (std::uint64_t(c) << 32 | b) : (std::uint64_t(b) << 32 | c);
}

ContainerWriter::Bytes ContainerWriter::Pack(const Bytes &Data)
{
    uLongf length = compressBound(uLong(Data.size()));
    Bytes packed(length);
    if (compress2(packed.data(), &length, Data.data(), uLong(Data.size()), 9) != Z_OK)
        throw std::runtime_error("zlib could not pack an entry");
    packed.resize(length);
    return packed;
}

int ContainerWriter::AddArt(int EntryNumber, const Bytes &Data, bool Packed, const Bytes &DataHeader)
{
    const int entry = AddEntry(KeyOf(ArtName(EntryNumber)), Packed ? Pack(Data) : Data, std::uint32_t(Data.size()),
                               Packed ? 1 : 0);
    FEntries.back().Header = DataHeader;
    return entry;
}

int ContainerWriter::AddEntry(std::uint64_t Key, const Bytes &Stored, std::uint32_t Size, std::uint16_t Compression)
{
    Entry entry;
    entry.Key = Key;
    entry.Stored = Stored;
    entry.Size = Size;
    entry.Compression = Compression;
    FEntries.push_back(entry);
    return int(FEntries.size()) - 1;
}

int ContainerWriter::AddUnused()
{
    FEntries.push_back(Entry());
    FEntries.back().Unused = true;
    return int(FEntries.size()) - 1;
}

int ContainerWriter::Blocks() const
{
    return (int(FEntries.size()) + FCapacity - 1) / FCapacity;
}

int ContainerWriter::CountIn(int Block) const
{
    return std::min(FCapacity, int(FEntries.size()) - Block * FCapacity);
}

std::vector<std::size_t> ContainerWriter::BlockOffsets() const
{
    std::vector<std::size_t> offsets;
    std::size_t at = HeaderSize;
    for (int b = 0; b < Blocks(); ++b) {
        offsets.push_back(at);
        at += BlockHeaderSize + std::size_t(CountIn(b)) * RecordSize;
        for (int e = b * FCapacity; e < b * FCapacity + CountIn(b); ++e)
            at += FEntries[std::size_t(e)].Header.size() + FEntries[std::size_t(e)].Stored.size();
    }
    return offsets;
}

std::size_t ContainerWriter::BlockOffset(int Block) const
{
    return BlockOffsets().at(std::size_t(Block));
}

std::size_t ContainerWriter::RecordOffset(int Entry) const
{
    return BlockOffset(Entry / FCapacity) + BlockHeaderSize + std::size_t(Entry % FCapacity) * RecordSize;
}

std::size_t ContainerWriter::DataOffset(int Entry) const
{
    const int block = Entry / FCapacity;
    std::size_t at = BlockOffset(block) + BlockHeaderSize + std::size_t(CountIn(block)) * RecordSize;
    for (int e = block * FCapacity; e < Entry; ++e)
        at += FEntries[std::size_t(e)].Header.size() + FEntries[std::size_t(e)].Stored.size();
    return at;
}

ContainerWriter::Bytes ContainerWriter::Build() const
{
    const std::vector<std::size_t> blocks = BlockOffsets();
    Bytes file(HeaderSize, 0);
    const unsigned char magic[4] = {'M', 'Y', 'P', 0};
    std::copy(magic, magic + 4, file.begin());
    PutBytes(file, 4, 5, 4);          // version
    PutBytes(file, 8, 0xFD23EC43, 4); // signature
    PutBytes(file, 12, blocks.empty() ? 0 : blocks[0], 8);
    PutBytes(file, 20, std::uint32_t(FCapacity), 4);
    PutBytes(file, 24, FEntries.size(), 4);
    for (int b = 0; b < Blocks(); ++b) {
        const int first = b * FCapacity;
        const int count = CountIn(b);
        const std::size_t records = blocks[std::size_t(b)] + BlockHeaderSize;
        file.resize(records + std::size_t(count) * RecordSize, 0);
        PutBytes(file, blocks[std::size_t(b)], std::uint32_t(count), 4);
        PutBytes(file, blocks[std::size_t(b)] + 4, b + 1 < Blocks() ? blocks[std::size_t(b) + 1] : 0, 8);
        for (int e = first; e < first + count; ++e) {
            const Entry &entry = FEntries[std::size_t(e)];
            const std::size_t record = records + std::size_t(e - first) * RecordSize;
            if (!entry.Unused)
                PutBytes(file, record, file.size(), 8);
            PutBytes(file, record + 8, entry.Header.size(), 4);
            PutBytes(file, record + 12, entry.Stored.size(), 4);
            PutBytes(file, record + 16, entry.Size, 4);
            PutBytes(file, record + 20, entry.Key, 8);
            PutBytes(file, record + 28, 0, 4); // checksum, which readers ignore
            PutBytes(file, record + 32, entry.Compression, 2);
            file.insert(file.end(), entry.Header.begin(), entry.Header.end());
            file.insert(file.end(), entry.Stored.begin(), entry.Stored.end());
        }
    }
    return file;
}

void ContainerWriter::WriteTo(const QString &Path) const
{
    const Bytes file = Build();
    QFile out(Path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || out.write(reinterpret_cast<const char *>(file.data()), qint64(file.size())) != qint64(file.size()))
        throw std::runtime_error("cannot write " + Path.toStdString());
}

void ContainerWriter::Put32(Bytes &File, std::size_t At, std::uint32_t Value)
{
    PutBytes(File, At, Value, 4);
}

void ContainerWriter::Put64(Bytes &File, std::size_t At, std::uint64_t Value)
{
    PutBytes(File, At, Value, 8);
}
