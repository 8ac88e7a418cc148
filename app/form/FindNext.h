#pragma once

#include "app/list/NameMatch.h"
#include "tiledata/TileKind.h"

#include <functional>

class TTileData;

// Find Next (F3): the last Find's text, looked for again after the selected
// tile, wrapping around past the last one. Both say "Not found: <text>" when
// nothing matches.
class TFindNext
{
public:
    using Message = std::function<void(const QString &Text)>;

    explicit TFindNext(Message Say);

    // What Find looked for and what it found (-1: nothing).
    void Found(const QString &Text, int Tile);
    bool HasText() const { return !FMatch.IsEmpty(); }
    // The next match among the tiles of Kind after tile From (-1: from the
    // start), or -1.
    int Next(const TTileData &Store, TTileKind Kind, int From);

private:
    TNameMatch FMatch;
    Message FSay;
};
