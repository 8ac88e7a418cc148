#include "art/PackedArtKeys.h"

#include "art/Lookup3.h"
#include "art/PackedTable.h"

#include <array>
#include <cstring>

namespace {

using TKeyOrder = TPackedArtKeys::TKeyOrder;

constexpr char NamePrefix[] = "build/artlegacymul/";
constexpr std::size_t PrefixLength = sizeof(NamePrefix) - 1;
constexpr std::size_t Digits = 8;
constexpr char NameSuffix[] = ".tga";
constexpr std::size_t NameLength = PrefixLength + Digits + sizeof(NameSuffix) - 1;

// The name of an art entry, built in place: the order is decided by
// hashing up to every name, and a presence check hashes them all, so no
// text is allocated per name.
std::array<char, NameLength> NameBytes(std::int32_t EntryNumber)
{
    std::array<char, NameLength> name{};
    std::memcpy(name.data(), NamePrefix, PrefixLength);
    std::uint32_t rest = std::uint32_t(EntryNumber);
    for (std::size_t d = Digits; d-- > 0; rest /= 10)
        name[PrefixLength + d] = char('0' + rest % 10);
    std::memcpy(name.data() + PrefixLength + Digits, NameSuffix, sizeof(NameSuffix) - 1);
    return name;
}

TLookup3Hash HashOfEntry(std::int32_t EntryNumber)
{
    const std::array<char, NameLength> name = NameBytes(EntryNumber);
    return HashLittle2(name.data(), name.size());
}

std::uint64_t KeyOf(const TLookup3Hash &Hash, TKeyOrder Order)
{
    const std::uint64_t high = Order == TKeyOrder::PrimaryHigh ? Hash.C : Hash.B;
    const std::uint64_t low = Order == TKeyOrder::PrimaryHigh ? Hash.B : Hash.C;
    return (high << 32) | low;
}

TKeyOrder OrderIn(const TPackedTable &Table)
{
    if (Table.Count() == 0)
        return TKeyOrder::Unknown;
    // In a real container entry 0 is there, so the search ends at once.
    for (std::int32_t entry = 0; entry < TPackedArtKeys::EntryCount; ++entry) {
        const TLookup3Hash hash = HashOfEntry(entry);
        for (const TKeyOrder order : {TKeyOrder::PrimaryHigh, TKeyOrder::PrimaryLow}) {
            if (Table.Find(KeyOf(hash, order)) >= 0)
                return order;
        }
    }
    return TKeyOrder::Unknown;
}

} // namespace

TPackedArtKeys::TPackedArtKeys(const TPackedTable &Table)
    : FOrder(OrderIn(Table))
{
}

std::int64_t TPackedArtKeys::Find(const TPackedTable &Table, std::int32_t EntryNumber) const
{
    if (FOrder == TKeyOrder::Unknown || EntryNumber < 0 || EntryNumber >= EntryCount)
        return -1;
    return Table.Find(KeyOf(EntryNumber));
}

std::uint64_t TPackedArtKeys::KeyOf(std::int32_t EntryNumber) const
{
    return FOrder == TKeyOrder::Unknown ? 0 : ::KeyOf(HashOfEntry(EntryNumber), FOrder);
}
