#pragma once

#include <cstdint>
#include <string>
#include <vector>

// radarcol.mul: one 16-bit colour per tile, in the art's pixel form, the
// land tiles first (0x4000 entries), then the items, item N at entry
// 0x4000 + N. The file has no header; its length says how many tiles have
// a colour, and a real one holds fewer than the items.
//
// The file is read whole at construction, up to the last entry a tile can
// name, so a longer file costs no more memory. A missing or unreadable file
// holds no colours, and Problem says why.
class TRadarColours
{
public:
    static constexpr int ItemBase = 0x4000;
    static constexpr int MostEntries = ItemBase + 0x10000;

    explicit TRadarColours(const std::string &Path);

    // The number of entries the file holds (at most MostEntries).
    int Count() const { return int(FColours.size()); }
    // The colour of Entry; 0 past the file.
    std::uint16_t Colour(int Entry) const;
    const std::string &Problem() const { return FProblem; }

private:
    std::vector<std::uint16_t> FColours;
    std::string FProblem;
};
