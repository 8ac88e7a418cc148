#pragma once

#include "tiledata/TileKind.h"

#include <QByteArray>

#include <vector>

class TTileData;

// What one edit changed in records of one kind: for each record it changed,
// which bits of it changed, with their values before and after the edit.
// A flag counts as a field of one bit; every other field counts whole, so a
// name or a 16-bit number goes back as it was, never half of it.
//
// Putting the values back changes only those bits. A bit the edit left
// alone keeps whatever the record holds by then, such as another program's
// change that a save's merge brought in after the edit: undoing the edit
// must not take that back.
class TRecordChanges
{
public:
    TRecordChanges() = default;
    // Compares Before, the records of Tiles back to back as they were before
    // the edit, with the store's records now, and keeps the tiles whose
    // records the edit changed.
    TRecordChanges(const TTileData &Store, TTileKind Kind, std::vector<int> Tiles, const QByteArray &Before);

    TTileKind Kind() const { return FKind; }
    // The tiles whose records the edit changed, lowest first.
    const std::vector<int> &Tiles() const { return FTiles; }
    bool IsEmpty() const { return FTiles.empty(); }

    // Puts the changed bits' values from before the edit, or from after it,
    // into Store's records; every other bit stays as Store holds it.
    void PutBefore(TTileData &Store) const;
    void PutAfter(TTileData &Store) const;

private:
    TTileKind FKind = TTileKind::Item;
    std::vector<int> FTiles;
    // Per tile, one record's width each, back to back: the changed bits, and
    // their values before and after (other bits zero).
    QByteArray FMask;
    QByteArray FBefore;
    QByteArray FAfter;
};
