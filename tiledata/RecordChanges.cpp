#include "tiledata/RecordChanges.h"

#include "tiledata/TileDataReader.h"

#include <cstring>
#include <iterator>

namespace {

// The widths of the fields after the flags, in record order.
constexpr int ItemWidths[] = {1, 1, 2, 1, 1, 2, 1, 1, 1, 1, 1, TTileLayout::NameLength};
constexpr int LandWidths[] = {2, TTileLayout::NameLength};

// Mask gets the bits of the record that differ between Before and After:
// flags bit by bit, any other field whole when any of its bytes differs.
void MarkChanged(const TTileLayout &Layout, TTileKind Kind, const unsigned char *Before,
                 const unsigned char *After, unsigned char *Mask)
{
    const int flagBytes = Layout.FlagBytes();
    for (int k = 0; k < flagBytes; ++k)
        Mask[k] = (unsigned char)(Before[k] ^ After[k]);
    const int *width = Kind == TTileKind::Land ? std::begin(LandWidths) : std::begin(ItemWidths);
    const int *end = Kind == TTileKind::Land ? std::end(LandWidths) : std::end(ItemWidths);
    for (int at = flagBytes; width != end; at += *width++) {
        const bool changed = std::memcmp(Before + at, After + at, std::size_t(*width)) != 0;
        std::memset(Mask + at, changed ? 0xFF : 0, std::size_t(*width));
    }
}

// Keeps only the masked bits of a record in Values.
void KeepMasked(char *Values, const char *Mask, std::size_t Size)
{
    for (std::size_t k = 0; k < Size; ++k)
        Values[k] = char(Values[k] & Mask[k]);
}

} // namespace

TRecordChanges::TRecordChanges(const TTileData &Store, TTileKind Kind, std::vector<int> Tiles,
                               const QByteArray &Before)
    : FKind(Kind)
{
    const std::size_t size = std::size_t(Store.Layout().RecordSize(Kind));
    if (std::size_t(Before.size()) != Tiles.size() * size)
        return;
    for (std::size_t i = 0; i < Tiles.size(); ++i) {
        const auto *before = reinterpret_cast<const unsigned char *>(Before.constData()) + i * size;
        const unsigned char *after = Store.RecordData(Kind, Tiles[i]);
        if (!after || std::memcmp(before, after, size) == 0)
            continue;
        const qsizetype at = FMask.size();
        FMask.resize(at + qsizetype(size));
        MarkChanged(Store.Layout(), Kind, before, after, reinterpret_cast<unsigned char *>(FMask.data() + at));
        FBefore.append(reinterpret_cast<const char *>(before), qsizetype(size));
        FAfter.append(reinterpret_cast<const char *>(after), qsizetype(size));
        KeepMasked(FBefore.data() + at, FMask.constData() + at, size);
        KeepMasked(FAfter.data() + at, FMask.constData() + at, size);
        FTiles.push_back(Tiles[i]);
    }
}

void TRecordChanges::PutBefore(TTileData &Store) const
{
    Store.PutRecordsBits(FKind, FTiles, FBefore, FMask);
}

void TRecordChanges::PutAfter(TTileData &Store) const
{
    Store.PutRecordsBits(FKind, FTiles, FAfter, FMask);
}
