#include "app/EditSteps.h"

#include "tiledata/TileDataReader.h"
#include "tiledata/TileFlags.h"

#include <algorithm>

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
{
    for (const int tile : Tiles)
        FRecords.push_back({tile, QByteArray()});
}

void TRecordStep::Before(const TTileData &Store)
{
    for (TRecordBytes &record : FRecords)
        record.Bytes = Store.GetRecordBytes(FKind, record.Tile);
}

// The step keeps the records as they were; the store has them as they are.
bool TRecordStep::After(const TTileData &Store)
{
    FRecords.erase(std::remove_if(FRecords.begin(), FRecords.end(),
                                  [&](const TRecordBytes &record) {
                                      return record.Bytes == Store.GetRecordBytes(FKind, record.Tile);
                                  }),
                   FRecords.end());
    return !FRecords.empty();
}

std::vector<int> TRecordStep::Tiles() const
{
    std::vector<int> tiles;
    tiles.reserve(FRecords.size());
    for (const TRecordBytes &record : FRecords)
        tiles.push_back(record.Tile);
    return tiles;
}

void TRecordStep::undo()
{
    if (FSwap)
        FSwap(FKind, FRecords);
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

namespace {

// "0x1A", "land 0x3", or "40 tiles" with Joint before it.
QString TilesLabel(TTileKind Kind, const std::vector<int> &Tiles, const QString &Joint)
{
    if (Tiles.size() == 1)
        return TileLabel(Kind, Tiles.front());
    return Joint + QStringLiteral("%1 tiles").arg(Tiles.size());
}

} // namespace

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
    FRecords.clear();
    const int count = Store.Count(FKind);
    FRecords.reserve(std::size_t(count));
    for (int tile = 0; tile < count; ++tile)
        FRecords.push_back({tile, Store.GetRecordBytes(FKind, tile)});
}
