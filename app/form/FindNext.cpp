#include "app/form/FindNext.h"

#include "tiledata/TileDataReader.h"

TFindNext::TFindNext(Message Say)
    : FSay(std::move(Say))
{
}

void TFindNext::Found(const QString &Text, int Tile)
{
    FMatch = TNameMatch(Text);
    if (Tile < 0)
        FSay(QStringLiteral("Not found: %1").arg(Text));
}

int TFindNext::Next(const TTileData &Store, TTileKind Kind, int From)
{
    const int count = Store.Count(Kind);
    for (int step = 1; step <= count; ++step) {
        const int tile = ((From < 0 ? -1 : From) + step) % count;
        if (FMatch.In(Store.GetName(Kind, tile)))
            return tile;
    }
    FSay(QStringLiteral("Not found: %1").arg(FMatch.Text()));
    return -1;
}
