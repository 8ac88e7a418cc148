#pragma once

#include <cstdint>

class TPackedTable;

// The keys under which the packed container files its art entries. Each
// entry is a file named by its number; the key is the lookup3 hash of that
// name, its two 32-bit halves put together in an order that public
// descriptions of the format disagree on, so it is found from the table:
// the first art name whose key the table holds decides.
class TPackedArtKeys
{
public:
    enum class TKeyOrder { Unknown, PrimaryHigh, PrimaryLow };

    // The art entries the container names: land 0 to 0x3FFF, items from
    // 0x4000 on.
    static constexpr std::int32_t EntryCount = 0x14000;

    // Finds the order of the key's halves from Table; only the order is
    // kept, not the table.
    explicit TPackedArtKeys(const TPackedTable &Table);

    TKeyOrder Order() const { return FOrder; }

    // The table position of art entry EntryNumber, or -1 when the table
    // lacks it, the number names no art entry or the order is unknown.
    std::int64_t Find(const TPackedTable &Table, std::int32_t EntryNumber) const;

    // The key of art entry EntryNumber under the order found; 0 while the
    // order is unknown.
    std::uint64_t KeyOf(std::int32_t EntryNumber) const;

private:
    TKeyOrder FOrder = TKeyOrder::Unknown;
};
