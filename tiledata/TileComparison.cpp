#include "tiledata/TileComparison.h"

#include "tiledata/TileDataReader.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint64_t FlagsAt(const unsigned char *Record, int FlagBytes)
{
    std::uint64_t flags = 0;
    // Little-endian, as the host is; a classic record's upper half stays 0.
    std::memcpy(&flags, Record, std::size_t(FlagBytes));
    return flags;
}

// Whether Size bytes at A and B are equal, eight at a time. Inline: files
// of two layouts are compared record by record, and a call to memcmp for
// each record's few dozen bytes costs more than comparing them.
bool SameBytes(const unsigned char *A, const unsigned char *B, std::size_t Size)
{
    std::size_t at = 0;
    for (; at + 8 <= Size; at += 8) {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        std::memcpy(&a, A + at, 8);
        std::memcpy(&b, B + at, 8);
        if (a != b)
            return false;
    }
    for (; at < Size; ++at) {
        if (A[at] != B[at])
            return false;
    }
    return true;
}

// Records of two layouts: the flags as numbers, then the fields after them,
// which lie alike in both.
bool DifferAcross(const unsigned char *A, int FlagBytesA, const unsigned char *B, int FlagBytesB, std::size_t Rest)
{
    return FlagsAt(A, FlagBytesA) != FlagsAt(B, FlagBytesB) || !SameBytes(A + FlagBytesA, B + FlagBytesB, Rest);
}

// A tile beyond a short file's end has no record there to compare: it reads
// as zeros, which would mark it as differing, and no take could change that.
int CommonCount(const TTileData &A, const TTileData &B, TTileKind Kind)
{
    return std::min(A.WholeCount(Kind), B.WholeCount(Kind));
}

} // namespace

TTileComparison::TTileComparison(const TTileData &Ours, const TTileData &Other)
    : FSections{Compare(Ours, Other, TTileKind::Item), Compare(Ours, Other, TTileKind::Land)}
    , FAcrossLayouts(Ours.Layout().FlagBytes() != Other.Layout().FlagBytes())
{
}

bool TTileComparison::RecordsDiffer(const TTileData &A, const TTileData &B, TTileKind Kind, int Index)
{
    if (Index < 0 || Index >= CommonCount(A, B, Kind))
        return false;
    const int flagsA = A.Layout().FlagBytes();
    const int flagsB = B.Layout().FlagBytes();
    const unsigned char *a = A.RecordData(Kind, Index);
    const unsigned char *b = B.RecordData(Kind, Index);
    const std::size_t rest = std::size_t(A.Layout().RecordSize(Kind) - flagsA);
    if (flagsA == flagsB)
        return std::memcmp(a, b, rest + std::size_t(flagsA)) != 0;
    return DifferAcross(a, flagsA, b, flagsB, rest);
}

// A run of Count records, tiles Tile on, of files of one layout: when it
// differs it is halved until the records that differ are found. Most groups
// that differ hold one record that does, which a few memcmp calls find.
void TTileComparison::MarkRun(Section &Marks, const unsigned char *A, const unsigned char *B, std::size_t Size,
                              int Tile, int Count)
{
    if (std::memcmp(A, B, Size * std::size_t(Count)) == 0)
        return;
    if (Count == 1) {
        Marks.Marks[std::size_t(Tile)] = 1;
        ++Marks.Differing;
        return;
    }
    const int half = Count / 2;
    MarkRun(Marks, A, B, Size, Tile, half);
    MarkRun(Marks, A + Size * std::size_t(half), B + Size * std::size_t(half), Size, Tile + half, Count - half);
}

// A group's 32 records lie back to back in both files, so the records are
// walked a group at a time from its first record. Files of one layout are
// compared a group at a time too: most groups are equal, and one memcmp
// tells so.
TTileComparison::Section TTileComparison::Compare(const TTileData &Ours, const TTileData &Other, TTileKind Kind)
{
    Section section;
    const int count = CommonCount(Ours, Other, Kind);
    section.Marks.assign(std::size_t(count), 0);
    if (count == 0)
        return section;
    const TTileLayout &layoutA = Ours.Layout();
    const TTileLayout &layoutB = Other.Layout();
    const int flagsA = layoutA.FlagBytes();
    const int flagsB = layoutB.FlagBytes();
    const std::size_t sizeA = std::size_t(layoutA.RecordSize(Kind));
    const std::size_t sizeB = std::size_t(layoutB.RecordSize(Kind));
    const std::size_t rest = sizeA - std::size_t(flagsA);
    const unsigned char *startA = Ours.RecordData(Kind, 0);
    const unsigned char *startB = Other.RecordData(Kind, 0);
    const auto strideA = std::size_t(layoutA.GroupSize(Kind));
    const auto strideB = std::size_t(layoutB.GroupSize(Kind));
    constexpr int Group = TTileLayout::RecordsPerGroup;
    for (int first = 0; first < count; first += Group) {
        const int records = std::min(count - first, Group);
        const std::size_t group = std::size_t(first / Group);
        const unsigned char *a = startA + strideA * group;
        const unsigned char *b = startB + strideB * group;
        if (flagsA == flagsB) {
            MarkRun(section, a, b, sizeA, first, records);
            continue;
        }
        for (int k = 0; k < records; ++k) {
            if (DifferAcross(a + sizeA * std::size_t(k), flagsA, b + sizeB * std::size_t(k), flagsB, rest)) {
                section.Marks[std::size_t(first + k)] = 1;
                ++section.Differing;
            }
        }
    }
    return section;
}

bool TTileComparison::Recompare(const TTileData &Ours, const TTileData &Other, TTileKind Kind, int Index)
{
    Section &section = Of(Kind);
    if (Index < 0 || std::size_t(Index) >= section.Marks.size())
        return false;
    const unsigned char differs = RecordsDiffer(Ours, Other, Kind, Index) ? 1 : 0;
    unsigned char &mark = section.Marks[std::size_t(Index)];
    if (mark == differs)
        return false;
    section.Differing += differs ? 1 : -1;
    mark = differs;
    return true;
}

void TTileComparison::Recompare(const TTileData &Ours, const TTileData &Other, TTileKind Kind)
{
    Of(Kind) = Compare(Ours, Other, Kind);
    FAcrossLayouts = Ours.Layout().FlagBytes() != Other.Layout().FlagBytes();
}

std::vector<int> TTileComparison::Differing(TTileKind Kind) const
{
    std::vector<int> tiles;
    tiles.reserve(std::size_t(DifferCount(Kind)));
    const std::vector<unsigned char> &marks = Of(Kind).Marks;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (marks[i] != 0)
            tiles.push_back(int(i));
    }
    return tiles;
}
