#pragma once

#include "tiletext/TileRow.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// One line of an edits file: the tile and the fields it gives. Fields the
// file has no column for stay empty and leave the tile's value alone.
struct TileEdit
{
    // The index of an edit whose text names no tile.
    static constexpr int NoIndex = -1;

    int Index = 0;
    std::optional<std::uint64_t> Flags;
    std::array<std::optional<std::uint32_t>, NumberFieldCount> Numbers{};
    std::optional<std::string> Name; // Windows-1252 bytes

    // Row with this edit's fields put over it.
    TileRow AppliedTo(const TileRow &Row) const;
};
