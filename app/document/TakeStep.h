#pragma once

#include "app/document/EditSteps.h"
#include "tiledata/RecordTake.h"

#include <QString>

#include <vector>

// Taking tiles from the file the window compares with, as one step: "Take
// from other 0x1A", "Take flags from other on 40 tiles".
class TTakeStep : public TRecordStep
{
public:
    TTakeStep(TTileKind Kind, const std::vector<int> &Tiles, TRecordPart Part);
};

// The status after a take: "Took 5 tiles from server.mul", and the tiles
// left alone because they lie beyond the end of one of the files.
QString TakenText(TTileKind Kind, int Taken, const std::vector<int> &LeftAlone, const QString &OtherName);
// Why nothing was taken: the tiles whose bits 32 to 63 are set in
// OtherName, which a classic file cannot hold.
QString RefusedText(TTileKind Kind, const std::vector<int> &Tiles, const QString &OtherName);
// "0x1A, 0x1B and 3 more": the first few of Tiles.
QString FewTiles(TTileKind Kind, const std::vector<int> &Tiles);
