#include "tiledata/SaveJournal.h"

#include "tiledata/TileLayout.h"

#include "platform/Error.h"
#include "platform/SharedReadFile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace {

constexpr char Magic[8] = {'Q', 'V', 'J', 'R', 'N', 'L', '0', '1'};
constexpr std::size_t HeaderSize = 8 + 8 + 4;
constexpr std::size_t RangeHeaderSize = 8 + 4;
constexpr std::size_t ChecksumSize = 4;
// Tiles are looked for in no longer a layout than this: a journal may name
// any length, and the records of a longer one would take long to walk.
constexpr std::uint64_t MostLayoutLength = 64u << 20;

std::uint32_t Crc32(const unsigned char *Data, std::size_t Size)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < Size; ++i)
        crc = table[(crc ^ Data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void Put(std::vector<unsigned char> &Out, std::uint64_t Value, int Bytes)
{
    for (int k = 0; k < Bytes; ++k)
        Out.push_back(static_cast<unsigned char>(Value >> (8 * k)));
}

std::uint64_t Get(const unsigned char *At, int Bytes)
{
    std::uint64_t value = 0;
    for (int k = 0; k < Bytes; ++k)
        value |= std::uint64_t(At[k]) << (8 * k);
    return value;
}

} // namespace

std::string TSaveJournal::PathFor(const std::string &FilePath)
{
    return FilePath + "-journal";
}

std::vector<unsigned char> TSaveJournal::Encode(const std::vector<TByteRange> &Ranges,
                                                const std::vector<unsigned char> &Old,
                                                const std::vector<unsigned char> &New)
{
    std::uint64_t length = Old.size();
    std::size_t total = HeaderSize + ChecksumSize;
    for (const TByteRange &range : Ranges) {
        length = std::max<std::uint64_t>(length, range.At + range.Size);
        total += RangeHeaderSize + 2 * range.Size;
    }
    std::vector<unsigned char> out(sizeof Magic);
    std::memcpy(out.data(), Magic, sizeof Magic);
    out.reserve(total);
    Put(out, length, 8);
    Put(out, Ranges.size(), 4);
    for (const TByteRange &range : Ranges) {
        Put(out, range.At, 8);
        Put(out, range.Size, 4);
        const std::size_t oldEnd = std::min(Old.size(), range.At + range.Size);
        const std::size_t oldHas = oldEnd > range.At ? oldEnd - range.At : 0;
        out.insert(out.end(), Old.begin() + std::ptrdiff_t(range.At), Old.begin() + std::ptrdiff_t(range.At + oldHas));
        out.resize(out.size() + range.Size - oldHas, 0);
        out.insert(out.end(), New.begin() + std::ptrdiff_t(range.At),
                   New.begin() + std::ptrdiff_t(range.At + range.Size));
    }
    Put(out, Crc32(out.data(), out.size()), 4);
    return out;
}

bool TSaveJournal::IsOurs(const unsigned char *Bytes, std::size_t Size)
{
    // A journal cut off within its magic is ours too: nothing else starts
    // so. An empty one was cut off right after it was made.
    return Size == 0 || std::memcmp(Bytes, Magic, std::min(Size, sizeof Magic)) == 0;
}

bool TSaveJournal::OursAt(const std::string &JournalPath)
{
    try {
        const SharedReadFile journal(JournalPath);
        unsigned char magic[sizeof Magic] = {};
        return IsOurs(magic, journal.ReadAt(0, magic, sizeof magic));
    } catch (const Error &) {
        return true;
    }
}

std::uint64_t TSaveJournal::MostSizeFor(std::uint64_t FileSize)
{
    // Old and new bytes of at most the whole file, and a range header for
    // at most every record of it (no record is shorter than 26 bytes).
    return HeaderSize + ChecksumSize + 2 * FileSize + RangeHeaderSize * (FileSize / 26 + 1);
}

TSaveJournal::TSaveJournal(std::vector<unsigned char> Bytes)
    : FBytes(std::move(Bytes))
{
    Read();
}

void TSaveJournal::Read()
{
    const std::size_t size = FBytes.size();
    if (!IsOurs(FBytes.data(), size)) {
        FKind = TKind::NotOurs;
        return;
    }
    FKind = TKind::Damaged;
    if (size < HeaderSize + ChecksumSize)
        return;
    const std::size_t body = size - ChecksumSize;
    if (Crc32(FBytes.data(), body) != Get(FBytes.data() + body, 4))
        return;
    const unsigned char *data = FBytes.data();
    FFileLength = Get(data + 8, 8);
    const std::uint64_t count = Get(data + 16, 4);
    if (count > (body - HeaderSize) / RangeHeaderSize)
        return;
    std::vector<TRange> ranges;
    ranges.reserve(std::size_t(count));
    std::size_t at = HeaderSize;
    std::uint64_t end = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (body - at < RangeHeaderSize)
            return;
        TRange range;
        range.At = Get(data + at, 8);
        range.Size = std::size_t(Get(data + at + 8, 4));
        at += RangeHeaderSize;
        // Apart, in order, within the length named, and all there.
        if (range.Size == 0 || range.At < end || range.At > FFileLength || range.Size > FFileLength - range.At
            || (body - at) / 2 < range.Size)
            return;
        range.Old = data + at;
        range.New = data + at + range.Size;
        at += 2 * range.Size;
        end = range.At + range.Size;
        ranges.push_back(range);
    }
    if (at != body)
        return;
    FRanges = std::move(ranges);
    FKind = TKind::Whole;
}

template <typename Visit>
void TSaveJournal::ForEachTile(const std::vector<std::size_t> &Only, Visit visit) const
{
    const TTileLayout layout = TTileLayout::ForFileSize(std::int64_t(std::min<std::uint64_t>(FFileLength, MostLayoutLength)));
    std::vector<std::size_t> chosen = Only;
    if (chosen.empty()) {
        for (std::size_t i = 0; i < FRanges.size(); ++i)
            chosen.push_back(i);
    }
    for (const TTileKind kind : {TTileKind::Land, TTileKind::Item}) {
        const std::uint64_t size = std::uint64_t(layout.RecordSize(kind));
        auto range = chosen.begin();
        for (int i = 0; i < layout.Count(kind) && range != chosen.end(); ++i) {
            const std::uint64_t at = std::uint64_t(layout.RecordOffset(kind, i));
            while (range != chosen.end() && FRanges[*range].At + FRanges[*range].Size <= at)
                ++range;
            if (range != chosen.end() && FRanges[*range].At < at + size)
                visit(kind, i);
        }
    }
}

int TSaveJournal::TileCount() const
{
    int count = 0;
    ForEachTile({}, [&count](TTileKind, int) { ++count; });
    return count;
}

std::string TSaveJournal::TilesText(const std::vector<std::size_t> &Only) const
{
    std::string text;
    ForEachTile(Only, [&text](TTileKind kind, int i) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", unsigned(i));
        text += (text.empty() ? "" : ", ") + std::string(kind == TTileKind::Land ? "land 0x" : "0x") + hex;
    });
    return text;
}
