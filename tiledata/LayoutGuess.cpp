#include "tiledata/LayoutGuess.h"

#include "platform/AnsiCodePage.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Fewer text names than this prove nothing: a handful turn up in any bytes.
constexpr std::int64_t FewestTextNames = 16;
// How many times the share of text names must exceed the other layout's.
// Read in the wrong layout, a field still lands inside a name now and then,
// so that layout's share is never nil.
constexpr std::int64_t ClearMargin = 2;

bool IsPrintable(unsigned char Byte)
{
    const char32_t cp = AnsiCodePage::ToUnicode(Byte);
    return cp >= 0x20 && !(cp >= 0x7F && cp <= 0x9F);
}

bool ReadsAsText(const unsigned char *Name)
{
    int length = 0;
    while (length < TTileLayout::NameLength && Name[length] != 0) {
        if (!IsPrintable(Name[length]))
            return false;
        ++length;
    }
    return length > 0;
}

struct TNameCount
{
    std::int64_t Text = 0;
    std::int64_t Names = 0;
};

// The land records of Layout that lie wholly in the file's first Size
// bytes.
TNameCount CountNames(const TTileLayout &Layout, const unsigned char *Bytes, std::size_t Size)
{
    TNameCount count;
    const int nameAt = Layout.NameOffset(TTileKind::Land);
    for (int tile = 0; tile < Layout.Count(TTileKind::Land); ++tile) {
        const std::int64_t at = Layout.RecordOffset(TTileKind::Land, tile);
        if (at + Layout.RecordSize(TTileKind::Land) > std::int64_t(Size))
            break;
        ++count.Names;
        count.Text += ReadsAsText(Bytes + at + nameAt) ? 1 : 0;
    }
    return count;
}

// True when A's share of text names clearly exceeds B's.
bool ClearlyMore(const TNameCount &A, const TNameCount &B)
{
    return A.Text >= FewestTextNames && A.Text * B.Names >= ClearMargin * B.Text * A.Names;
}

} // namespace

TLayoutGuess::TLayoutGuess(const unsigned char *Bytes, std::size_t Size)
    : FSize(std::int64_t(Size))
{
    // Both layouts are read over the same bytes, those where both keep land
    // records: past the classic land section, the newer layout's land
    // records would be read out of the classic item records, whose names
    // read as text in any layout.
    const std::size_t common = std::size_t(std::min(
        TTileLayout::Classic().RecordsEnd(TTileKind::Land), TTileLayout::Newer(1).RecordsEnd(TTileKind::Land)));
    const std::size_t compared = std::min(Size, common);
    const TNameCount classic = CountNames(TTileLayout::Classic(), Bytes, compared);
    const TNameCount newer = CountNames(TTileLayout::Newer(1), Bytes, compared);
    if (ClearlyMore(classic, newer))
        FNewer = false;
    else if (ClearlyMore(newer, classic))
        FNewer = true;
}

std::string TLayoutGuess::Reason() const
{
    if (!IsSettled())
        return "its names do not tell the layouts apart";
    return std::string("its names read as text in the ") + (IsNewer() ? "newer" : "classic") + " layout";
}

bool TLayoutGuess::ContradictsLength() const
{
    if (!IsSettled() || TTileLayout::IsShortSize(FSize) || TTileLayout::IsAmbiguousSize(FSize))
        return false;
    return TTileLayout::ForFileSize(FSize).IsNewer() != IsNewer();
}

std::optional<TTileLayout> TLayoutGuess::Proposal() const
{
    if (!IsSettled())
        return std::nullopt;
    return IsNewer() ? TTileLayout::NewerWithin(FSize) : TTileLayout::Classic();
}

TTileLayout TLayoutGuess::ReadOnlyLayout() const
{
    if (const std::optional<TTileLayout> proposed = Proposal())
        return *proposed;
    if (FSize <= TTileLayout::Classic().RecordsEnd(TTileKind::Item))
        return TTileLayout::Classic();
    const TTileLayout below = TTileLayout::NewerWithin(FSize);
    const TTileLayout above = TTileLayout::Newer(below.Count(TTileKind::Item) / TTileLayout::RecordsPerGroup + 1);
    const auto distance = [this](std::int64_t Length) { return std::llabs(Length - FSize); };
    const std::int64_t classic = distance(TTileLayout::ClassicFileSize);
    const std::int64_t newerBelow = distance(below.RecordsEnd(TTileKind::Item));
    const std::int64_t newerAbove = distance(above.RecordsEnd(TTileKind::Item));
    if (classic <= newerBelow && classic <= newerAbove)
        return TTileLayout::Classic();
    return newerBelow <= newerAbove ? below : above;
}
