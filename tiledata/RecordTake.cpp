#include "tiledata/RecordTake.h"

#include "tiledata/TileDataReader.h"

#include <cstring>

namespace RecordTake {

namespace {

constexpr std::uint64_t UpperBits = ~std::uint64_t(0xFFFFFFFFu);

bool CarriesFlags(TRecordPart Part)
{
    return Part == TRecordPart::Whole || Part == TRecordPart::Flags;
}

bool CarriesFields(TRecordPart Part)
{
    return Part != TRecordPart::Flags;
}

// Where Part lies in a record, after the flags: the numbers run from the
// first field to the name.
struct Span
{
    int First;
    int Size;
};

Span FieldsOf(const TTileLayout &Layout, TTileKind Kind, TRecordPart Part)
{
    const int name = Layout.NameOffset(Kind) - Layout.FlagBytes();
    switch (Part) {
    case TRecordPart::Numbers:
        return {0, name};
    case TRecordPart::Name:
        return {name, TTileLayout::NameLength};
    default:
        return {0, Layout.RecordSize(Kind) - Layout.FlagBytes()};
    }
}

} // namespace

bool Refused(const TTileData &Ours, const TTileData &Other, TTileKind Kind, int Index, TRecordPart Part)
{
    return CarriesFlags(Part) && !Ours.Layout().IsNewer() && (Other.GetFlags(Kind, Index) & UpperBits) != 0;
}

QByteArray Taken(const TTileData &Ours, const TTileData &Other, TTileKind Kind, int Index, TRecordPart Part)
{
    if (Index < 0 || Index >= Ours.Count(Kind) || Index >= Other.Count(Kind))
        return QByteArray();
    QByteArray record = Ours.GetRecordBytes(Kind, Index);
    char *ours = record.data();
    const TTileLayout &layout = Ours.Layout();
    if (CarriesFlags(Part)) {
        const std::uint64_t kept = Ours.GetFlags(Kind, Index) & UpperBits & layout.FlagMask();
        const std::uint64_t taken = Other.GetFlags(Kind, Index) & layout.FlagMask();
        const std::uint64_t flags = Other.Layout().IsNewer() ? taken : kept | taken;
        std::memcpy(ours, &flags, std::size_t(layout.FlagBytes()));
    }
    if (CarriesFields(Part)) {
        const Span span = FieldsOf(layout, Kind, Part);
        const unsigned char *theirs = Other.RecordData(Kind, Index) + Other.Layout().FlagBytes();
        std::memcpy(ours + layout.FlagBytes() + span.First, theirs + span.First, std::size_t(span.Size));
    }
    return record;
}

} // namespace RecordTake
