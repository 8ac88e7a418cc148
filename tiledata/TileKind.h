#pragma once

// The two sections of the tile data file: the land tiles first, then the
// item (static) tiles.
enum class TTileKind
{
    Item,
    Land,
};
