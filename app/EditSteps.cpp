#include "app/EditSteps.h"

#include "tiledata/TileDataReader.h"
#include "tiledata/TileFlags.h"

#include <algorithm>
#include <cstring>
#include <numeric>

QString TileHex(int Tile)
{
    return QStringLiteral("0x") + QString::number(Tile, 16).toUpper();
}

QString TileLabel(TTileKind Kind, int Tile)
{
    return Kind == TTileKind::Land ? QStringLiteral("land ") + TileHex(Tile) : TileHex(Tile);
}

TRecordStep::TRecordStep(TTileKind Kind, std::vector<int> Tiles, const QString &Text)
    : QUndoCommand(Text)
    , FKind(Kind)
    , FTiles(std::move(Tiles))
{
}

void TRecordStep::Before(const TTileData &Store)
{
    FRecords = Store.GetRecordsBytes(FKind, FTiles);
}

// The step keeps the records as they were; the store has them as they are.
// Those the edit left alone go, moving the rest up in the block.
bool TRecordStep::After(const TTileData &Store)
{
    const qsizetype size = Store.Layout().RecordSize(FKind);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < FTiles.size(); ++i) {
        const char *record = FRecords.constData() + qsizetype(i) * size;
        if (std::memcmp(Store.RecordData(FKind, FTiles[i]), record, std::size_t(size)) == 0)
            continue;
        if (kept != i)
            std::memmove(FRecords.data() + qsizetype(kept) * size, record, std::size_t(size));
        FTiles[kept++] = FTiles[i];
    }
    FTiles.resize(kept);
    FRecords.truncate(qsizetype(kept) * size);
    return kept > 0;
}

void TRecordStep::undo()
{
    if (FSwap)
        FSwap(FKind, FTiles, FRecords);
}

// The first redo comes from the push, after the edit itself.
void TRecordStep::redo()
{
    if (!FPushed) {
        FPushed = true;
        return;
    }
    undo();
}

// "0x1A", "land 0x3", or "40 tiles" with Joint before it.
QString TilesLabel(TTileKind Kind, const std::vector<int> &Tiles, const QString &Joint)
{
    if (Tiles.size() == 1)
        return TileLabel(Kind, Tiles.front());
    return Joint + QStringLiteral("%1 tiles").arg(Tiles.size());
}

TFlagStep::TFlagStep(TTileKind Kind, const std::vector<int> &Tiles, int Bit, bool Set)
    : TRecordStep(Kind, Tiles, QStringLiteral("%1 %2 %3")
                                   .arg(Set ? QStringLiteral("Set") : QStringLiteral("Clear"),
                                        QString::fromStdString(FlagName(Bit)),
                                        TilesLabel(Kind, Tiles, QStringLiteral("on "))))
{
}

TNumberStep::TNumberStep(TTileKind Kind, const std::vector<int> &Tiles, TTileField Field)
    : TRecordStep(Kind, Tiles, FieldName(Field) + QLatin1Char(' ') + TilesLabel(Kind, Tiles, QStringLiteral("on ")))
{
}

TRenameStep::TRenameStep(TTileKind Kind, const std::vector<int> &Tiles)
    : TRecordStep(Kind, Tiles, QStringLiteral("Rename ") + TilesLabel(Kind, Tiles, QString()))
{
}

TPasteStep::TPasteStep(TTileKind Kind, const std::vector<int> &Tiles)
    : TRecordStep(Kind, Tiles, QStringLiteral("Paste ") + TilesLabel(Kind, Tiles, QString()))
{
}

TReplaceStep::TReplaceStep(TTileKind Kind, const QString &OldName)
    : TRecordStep(Kind, {}, (Kind == TTileKind::Land ? QStringLiteral("Replace land ") : QStringLiteral("Replace "))
                                + OldName)
{
}

// Which tiles a replace renames is known only afterwards: take them all,
// and After keeps the renamed ones.
void TReplaceStep::Before(const TTileData &Store)
{
    FTiles.resize(std::size_t(Store.Count(FKind)));
    std::iota(FTiles.begin(), FTiles.end(), 0);
    TRecordStep::Before(Store);
}
