#include "app/EditSteps.h"

#include "tiledata/TileDataReader.h"
#include "tiledata/TileFlags.h"

#include <algorithm>

QString TileHex(int Tile)
{
    return QStringLiteral("0x") + QString::number(Tile, 16).toUpper();
}

QString FieldName(void (TTileData::*Setter)(int, int))
{
    static const std::pair<void (TTileData::*)(int, int), const char *> Fields[] = {
        {&TTileData::SetWeight, "Weight"},     {&TTileData::SetQuality, "Quality/Layer"},
        {&TTileData::SetHeight, "Height"},     {&TTileData::SetQuantity, "Quantity"},
        {&TTileData::SetHue, "Hue"},           {&TTileData::SetAnim, "AnimID"},
        {&TTileData::SetUnknown0, "Unknown0"}, {&TTileData::SetUnknown1, "Unknown1"},
        {&TTileData::SetUnknown2, "Unknown2"}, {&TTileData::SetUnknown3, "Unknown3"},
        {&TTileData::SetUnknown4, "Unknown4"},
    };
    for (const auto &[setter, name] : Fields) {
        if (setter == Setter)
            return QLatin1String(name);
    }
    return QStringLiteral("Edit");
}

TRecordStep::TRecordStep(std::vector<int> Tiles, const QString &Text)
    : QUndoCommand(Text)
{
    for (const int tile : Tiles)
        FRecords.push_back({tile, QByteArray(), QByteArray()});
}

void TRecordStep::Bind(StoreSource Store, Changed Shown)
{
    FStore = std::move(Store);
    FShown = std::move(Shown);
}

void TRecordStep::Before(const TTileData &Store)
{
    for (Record &record : FRecords)
        record.Old = Store.GetRecordBytes(TTileKind::Item, record.Tile);
}

bool TRecordStep::After(const TTileData &Store)
{
    for (Record &record : FRecords)
        record.New = Store.GetRecordBytes(TTileKind::Item, record.Tile);
    FRecords.erase(std::remove_if(FRecords.begin(), FRecords.end(),
                                  [](const Record &record) { return record.Old == record.New; }),
                   FRecords.end());
    return !FRecords.empty();
}

void TRecordStep::undo()
{
    Put(false);
}

// The first redo comes from the push, after the edit itself.
void TRecordStep::redo()
{
    if (!FPushed) {
        FPushed = true;
        return;
    }
    Put(true);
}

void TRecordStep::Put(bool New)
{
    TTileData *store = FStore ? FStore() : nullptr;
    if (!store)
        return;
    std::vector<int> tiles;
    for (const Record &record : FRecords) {
        store->SetRecordBytes(TTileKind::Item, record.Tile, New ? record.New : record.Old);
        tiles.push_back(record.Tile);
    }
    if (FShown)
        FShown(tiles);
}

TFlagStep::TFlagStep(int Tile, int Bit, bool Set)
    : TRecordStep({Tile}, QStringLiteral("%1 %2 %3")
                              .arg(Set ? QStringLiteral("Set") : QStringLiteral("Clear"),
                                   QString::fromStdString(FlagName(Bit)), TileHex(Tile)))
{
}

TNumberStep::TNumberStep(int Tile, const QString &Field)
    : TRecordStep({Tile}, Field + QLatin1Char(' ') + TileHex(Tile))
{
}

TRenameStep::TRenameStep(int Tile)
    : TRecordStep({Tile}, QStringLiteral("Rename ") + TileHex(Tile))
{
}

TReplaceStep::TReplaceStep(const QString &OldName)
    : TRecordStep({}, QStringLiteral("Replace ") + OldName)
{
}

// Which tiles a replace renames is known only afterwards: take them all,
// and After keeps the renamed ones.
void TReplaceStep::Before(const TTileData &Store)
{
    FRecords.clear();
    const int count = Store.ItemCount();
    FRecords.reserve(std::size_t(count));
    for (int tile = 0; tile < count; ++tile)
        FRecords.push_back({tile, Store.GetRecordBytes(TTileKind::Item, tile), QByteArray()});
}
