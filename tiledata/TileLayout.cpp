#include "tiledata/TileLayout.h"

#include <algorithm>

namespace {

constexpr int ClassicFlagBytes = 4;
constexpr int NewerFlagBytes = 8;

std::int64_t LandSectionSize(int FlagBytes)
{
    return std::int64_t(TTileLayout::LandGroups)
           * (TTileLayout::GroupHeaderSize + TTileLayout::RecordsPerGroup * (FlagBytes + LandField::Size));
}

std::int64_t ItemGroupSize(int FlagBytes)
{
    return TTileLayout::GroupHeaderSize + TTileLayout::RecordsPerGroup * (FlagBytes + ItemField::Size);
}

// Groups of a newer file of Size bytes, or 0 when it is no newer length.
std::int64_t NewerGroups(std::int64_t Size)
{
    const std::int64_t items = Size - LandSectionSize(NewerFlagBytes);
    if (items <= 0 || items % ItemGroupSize(NewerFlagBytes) != 0)
        return 0;
    return items / ItemGroupSize(NewerFlagBytes);
}

// The largest group count whose tile count still fits an int index.
constexpr std::int64_t MaxNewerGroups = (std::int64_t(1) << 30) / TTileLayout::RecordsPerGroup;

std::string WithThousands(std::int64_t Value)
{
    std::string digits = std::to_string(Value);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(std::size_t(at), ",");
    return digits;
}

} // namespace

TTileLayout TTileLayout::Classic()
{
    return TTileLayout(ClassicFlagBytes, ClassicItems);
}

TTileLayout TTileLayout::Newer(int Groups)
{
    return TTileLayout(NewerFlagBytes, Groups * RecordsPerGroup);
}

TTileLayout TTileLayout::ForFileSize(std::int64_t Size)
{
    const std::int64_t groups = NewerGroups(Size);
    if (groups > 0 && groups <= MaxNewerGroups)
        return Newer(int(groups));
    return Classic();
}

// Up to as many groups as an index can count.
TTileLayout TTileLayout::NewerWithin(std::int64_t Size)
{
    constexpr std::int64_t MostGroups = (std::int64_t(1) << 30) / RecordsPerGroup;
    if (Size < Classic().RecordsEnd(TTileKind::Item))
        return Newer(UsualNewerGroups);
    const TTileLayout one = Newer(1);
    const std::int64_t groups = (Size - one.SectionStart(TTileKind::Item)) / one.GroupSize(TTileKind::Item);
    return Newer(int(std::clamp<std::int64_t>(groups, 1, MostGroups)));
}

bool TTileLayout::IsAmbiguousSize(std::int64_t Size)
{
    return Size > Classic().RecordsEnd(TTileKind::Item) && Size != ClassicFileSize && !ForFileSize(Size).IsNewer();
}

bool TTileLayout::IsShortSize(std::int64_t Size)
{
    return Size < Classic().RecordsEnd(TTileKind::Item) && !ForFileSize(Size).IsNewer();
}

std::uint64_t TTileLayout::FlagMask() const
{
    return IsNewer() ? ~std::uint64_t(0) : std::uint64_t(0xFFFFFFFFu);
}

std::int64_t TTileLayout::RecordsEnd(TTileKind Kind) const
{
    return RecordOffset(Kind, Count(Kind) - 1) + RecordSize(Kind);
}

bool TTileLayout::IsRecordByte(TTileKind Kind, std::int64_t Offset) const
{
    if (Offset < SectionStart(Kind) || Offset >= RecordsEnd(Kind))
        return false;
    return (Offset - SectionStart(Kind)) % GroupSize(Kind) >= GroupHeaderSize;
}

int TTileLayout::NameOffset(TTileKind Kind) const
{
    return FieldOffset(Kind == TTileKind::Land ? LandField::Name : ItemField::Name);
}

std::string TTileLayout::Description() const
{
    return WithThousands(FItems) + " tiles \u00B7 " + std::to_string(FlagBits()) + "-bit flags";
}
