#include "app/document/EditSteps.h"

#include "app/document/CountWords.h"

#include "tiledata/TileDataReader.h"
#include "tiledata/TileFlags.h"

#include <algorithm>
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

bool TRecordStep::After(const TTileData &Store)
{
    FChanges = TRecordChanges(Store, FKind, std::move(FTiles), FRecords);
    FRecords = QByteArray();
    FTiles = FChanges.Tiles();
    return !FChanges.IsEmpty();
}

void TRecordStep::undo()
{
    if (FPut)
        FPut(FChanges, true);
}

// The first redo comes from the push, after the edit itself.
void TRecordStep::redo()
{
    if (!FPushed) {
        FPushed = true;
        return;
    }
    if (FPut)
        FPut(FChanges, false);
}

// "0x1A", "land 0x3", or "40 tiles" with Joint before it.
QString TilesLabel(TTileKind Kind, const std::vector<int> &Tiles, const QString &Joint)
{
    if (Tiles.size() == 1)
        return TileLabel(Kind, Tiles.front());
    return Joint + Thousands(qint64(Tiles.size())) + QStringLiteral(" tiles");
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
