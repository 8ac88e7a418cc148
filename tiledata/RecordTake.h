#pragma once

#include "tiledata/TileKind.h"

#include <QByteArray>

class TTileData;

// The parts of a tile's record that can be taken from another file's tile.
enum class TRecordPart
{
    Whole,
    Flags,
    // Every field but the flags and the name: an item's eleven properties,
    // a land tile's texture.
    Numbers,
    // All 20 bytes of the name field, those after the name's end included.
    Name,
};

// Taking part of a tile's record from the same tile of another file, which
// may be of the other layout. A classic record taken into a newer file
// keeps the newer tile's bits 32 to 63, which the classic one does not
// have. A newer record whose bits 32 to 63 are set cannot go into a classic
// file, which has no room for them.
namespace RecordTake {

// True when Part of Other's tile carries flags Ours cannot hold.
bool Refused(const TTileData &Ours, const TTileData &Other, TTileKind Kind, int Index, TRecordPart Part);

// Ours' record of tile Index of Kind with Part of Other's record in it.
// Empty when either file has no such tile.
QByteArray Taken(const TTileData &Ours, const TTileData &Other, TTileKind Kind, int Index, TRecordPart Part);

} // namespace RecordTake
