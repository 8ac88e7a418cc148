#include "art/PackedTable.h"

#include "platform/SharedReadFile.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <limits>
#include <unordered_set>

namespace {

constexpr std::array<unsigned char, 4> Magic = {0x4D, 0x59, 0x50, 0x00};
constexpr std::size_t HeaderSize = 28;
constexpr std::size_t BlockHeaderSize = 12;
constexpr std::size_t RecordSize = 34;
// Far above what an art container holds (82 blocks of 1,000 entries), and
// low enough that a hostile chain or count is given up within moments.
constexpr std::size_t MostBlocks = 65536;
constexpr std::size_t MostRecords = (std::size_t(1) << 20) - 1;

std::uint32_t Long(const unsigned char *Bytes)
{
    return qFromLittleEndian<std::uint32_t>(Bytes);
}

std::uint64_t Quad(const unsigned char *Bytes)
{
    return qFromLittleEndian<std::uint64_t>(Bytes);
}

QString Number(std::uint64_t Value)
{
    return QString::number(Value);
}

} // namespace

TPackedTable::TPackedTable(const SharedReadFile &File)
{
    std::array<unsigned char, HeaderSize> header{};
    if (File.ReadAt(0, header.data(), header.size()) != header.size()
        || !std::equal(Magic.begin(), Magic.end(), header.begin())) {
        FProblem = QStringLiteral("not a packed container (no MYP header)");
        return;
    }
    // Room for the entries the header counts, as far as the file can hold
    // them: growing by doubling would copy the keys again and again.
    const std::uint64_t fits = std::uint64_t(File.Size()) / RecordSize;
    const std::uint64_t counted = Long(&header[24]);
    const std::size_t expected = std::size_t(std::min({counted, fits, std::uint64_t(MostRecords)}));
    FKeys.reserve(expected);
    FUnused.reserve(expected);
    // Each block is read with its entries in one go, as far as the
    // capacity the header gives (bounded against a hostile one).
    FBlockBytes = BlockHeaderSize + std::min<std::size_t>(Long(&header[20]), 4096) * RecordSize;
    ReadBlocks(File, Quad(&header[12]));
}

void TPackedTable::ReadBlocks(const SharedReadFile &File, std::uint64_t First)
{
    std::unordered_set<std::uint64_t> visited;
    for (std::uint64_t next = First; next != 0 && FProblem.isEmpty();) {
        if (!visited.insert(next).second) {
            FProblem = QStringLiteral("the chain of blocks loops back to byte %1").arg(Number(next));
        } else if (visited.size() > MostBlocks) {
            FProblem = QStringLiteral("more than %1 blocks").arg(Number(MostBlocks));
        } else {
            next = ReadBlock(File, next);
        }
    }
}

std::uint64_t TPackedTable::ReadBlock(const SharedReadFile &File, std::uint64_t Offset)
{
    const std::uint64_t size = std::uint64_t(File.Size());
    // Only the bytes read are looked at, so the buffer need not be cleared.
    std::vector<unsigned char> &bytes = FBuffer;
    if (bytes.size() < FBlockBytes)
        bytes.resize(FBlockBytes);
    const std::size_t got = Offset >= size ? 0 : File.ReadAt(std::int64_t(Offset), bytes.data(), FBlockBytes);
    if (got < BlockHeaderSize) {
        FProblem = QStringLiteral("a block at byte %1 lies past the end of the file").arg(Number(Offset));
        return 0;
    }
    const std::uint64_t claimed = Long(bytes.data());
    const std::uint64_t next = Quad(&bytes[4]);
    const std::uint64_t held = (size - Offset - BlockHeaderSize) / RecordSize;
    std::uint64_t count = std::min(claimed, held);
    if (count > MostRecords - FKeys.size()) {
        count = MostRecords - FKeys.size();
        FProblem = QStringLiteral("more than %1 entries").arg(Number(MostRecords));
    } else if (claimed > held) {
        FProblem = QStringLiteral("the block at byte %1 claims %2 entries, the file holds %3")
                       .arg(Number(Offset), Number(claimed), Number(held));
    }
    const std::size_t wanted = BlockHeaderSize + std::size_t(count) * RecordSize;
    if (wanted > got) {
        bytes.resize(wanted);
        File.ReadExactAt(std::int64_t(Offset + got), &bytes[got], wanted - got);
    }
    const unsigned char *records = &bytes[BlockHeaderSize];
    const std::size_t first = FKeys.size();
    FBlocks.push_back({first, std::int64_t(Offset + BlockHeaderSize)});
    FKeys.resize(first + std::size_t(count));
    FUnused.resize(first + std::size_t(count));
    for (std::size_t e = 0; e < std::size_t(count); ++e) {
        const unsigned char *record = &records[e * RecordSize];
        // A data offset of 0 marks an unused entry.
        FUnused[first + e] = Quad(record) == 0;
        FKeys[first + e] = Quad(record + 20);
        FUsed += FUnused[first + e] ? 0 : 1;
    }
    return FProblem.isEmpty() ? next : 0;
}

bool TPackedTable::ReadEntry(const SharedReadFile &File, std::int64_t Position, std::uint64_t Key,
                             TPackedEntry &Entry)
{
    std::array<unsigned char, RecordSize> record{};
    if (File.ReadAt(Position, record.data(), record.size()) != record.size() || Quad(&record[20]) != Key)
        return false;
    const std::uint64_t offset = Quad(&record[0]);
    const std::uint32_t headerLength = Long(&record[8]);
    // An offset so large that the sum wraps lies past any file.
    Entry.Start = offset > std::numeric_limits<std::uint64_t>::max() - headerLength
                      ? std::numeric_limits<std::uint64_t>::max()
                      : offset + headerLength;
    Entry.StoredSize = Long(&record[12]);
    Entry.Size = Long(&record[16]);
    Entry.Key = Key;
    Entry.Compression = qFromLittleEndian<std::uint16_t>(&record[32]);
    return offset != 0;
}

std::int64_t TPackedTable::PositionOf(std::size_t Record) const
{
    const auto after = std::upper_bound(FBlocks.begin(), FBlocks.end(), Record,
                                        [](std::size_t R, const TBlock &Block) { return R < Block.First; });
    const TBlock &block = *(after - 1);
    return block.Records + std::int64_t((Record - block.First) * RecordSize);
}

void TPackedTable::BuildSlots() const
{
    // At least three slots for every two entries: linear probing stays
    // short at that load, and the table small.
    FSlotBits = 4;
    while ((std::size_t(1) << FSlotBits) < FUsed + FUsed / 2)
        ++FSlotBits;
    FSlots.assign(std::size_t(1) << FSlotBits, 0);
    for (std::size_t e = 0; e < FKeys.size(); ++e) {
        if (FUnused[e])
            continue;
        const std::uint64_t key = FKeys[e];
        std::size_t at = 0;
        if (Probe(key, at) >= 0)
            continue; // the first entry of a key counts
        // Where the walk went too far, which only keys chosen to collide
        // make it do, the entry is left out: it draws as missing, and every
        // look-up stays short.
        if (FSlots[at] == 0)
            FSlots[at] = std::uint32_t((e + 1) << TagBits) | TagOf(key);
    }
}

std::uint64_t TPackedTable::Mixed(std::uint64_t Key)
{
    // Fibonacci hashing: keys that differ only in a few bits, as keys made
    // up by hand do, still spread over the table.
    return Key * 0x9E3779B97F4A7C15ull;
}

std::uint32_t TPackedTable::TagOf(std::uint64_t Key) const
{
    return std::uint32_t(Mixed(Key) >> (64 - FSlotBits - TagBits)) & TagMask;
}

std::int64_t TPackedTable::Probe(std::uint64_t Key, std::size_t &At) const
{
    const std::size_t mask = FSlots.size() - 1;
    const std::uint32_t tag = TagOf(Key);
    At = std::size_t(Mixed(Key) >> (64 - FSlotBits));
    for (int probes = 0; probes <= MostProbes; ++probes, At = (At + 1) & mask) {
        const std::uint32_t slot = FSlots[At];
        if (slot == 0)
            return -1;
        // The tag spares a look at the key, far away in FKeys, for all
        // but one in 4,096 of the other entries on the way.
        const std::size_t record = (slot >> TagBits) - 1;
        if ((slot & TagMask) == tag && FKeys[record] == Key)
            return std::int64_t(record);
    }
    return -1;
}

std::int64_t TPackedTable::Find(std::uint64_t Key) const
{
    // A pass over the keys in file order costs some tens of microseconds;
    // building the hash table costs a millisecond or two, most of it in
    // memory accesses that no cache serves. Opening a container and
    // drawing one picture needs three look-ups or so, browsing many more:
    // the table is built once passes have cost about as much as it would.
    std::int64_t record = -1;
    if (FSlots.empty() && FScans < ScansBeforeTable) {
        ++FScans;
        for (std::size_t e = 0; e < FKeys.size() && record < 0; ++e) {
            if (FKeys[e] == Key && !FUnused[e])
                record = std::int64_t(e);
        }
    } else {
        if (FSlots.empty())
            BuildSlots();
        std::size_t at = 0;
        record = Probe(Key, at);
    }
    return record < 0 ? -1 : PositionOf(std::size_t(record));
}
