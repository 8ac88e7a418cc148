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

QString FieldName(void (TTileData::*Setter)(int, int))
{
    static const std::pair<void (TTileData::*)(int, int), const char *> Fields[] = {
        {&TTileData::SetWeight, "Weight"},     {&TTileData::SetQuality, "Quality/Layer"},
        {&TTileData::SetHeight, "Height"},     {&TTileData::SetQuantity, "Quantity"},
        {&TTileData::SetHue, "Hue"},           {&TTileData::SetAnim, "AnimID"},
        {&TTileData::SetUnknown0, "Unknown0"}, {&TTileData::SetUnknown1, "Unknown1"},
        {&TTileData::SetUnknown2, "Unknown2"}, {&TTileData::SetUnknown3, "Unknown3"},
        {&TTileData::SetUnknown4, "Unknown4"}, {&TTileData::SetTexture, "Texture"},
    };
    for (const auto &[setter, name] : Fields) {
        if (setter == Setter)
            return QLatin1String(name);
    }
    return QStringLiteral("Edit");
}

TTileKind FieldKind(void (TTileData::*Setter)(int, int))
{
    return Setter == &TTileData::SetTexture ? TTileKind::Land : TTileKind::Item;
}

TRecordStep::TRecordStep(TTileKind Kind, std::vector<int> Tiles, const QString &Text)
    : QUndoCommand(Text)
    , FKind(Kind)
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
        record.Old = Store.GetRecordBytes(FKind, record.Tile);
}

bool TRecordStep::After(const TTileData &Store)
{
    for (Record &record : FRecords)
        record.New = Store.GetRecordBytes(FKind, record.Tile);
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
        store->SetRecordBytes(FKind, record.Tile, New ? record.New : record.Old);
        tiles.push_back(record.Tile);
    }
    if (FShown)
        FShown(FKind, tiles);
}

TFlagStep::TFlagStep(TTileKind Kind, int Tile, int Bit, bool Set)
    : TRecordStep(Kind, {Tile}, QStringLiteral("%1 %2 %3")
                                    .arg(Set ? QStringLiteral("Set") : QStringLiteral("Clear"),
                                         QString::fromStdString(FlagName(Bit)), TileLabel(Kind, Tile)))
{
}

TNumberStep::TNumberStep(TTileKind Kind, int Tile, const QString &Field)
    : TRecordStep(Kind, {Tile}, Field + QLatin1Char(' ') + TileLabel(Kind, Tile))
{
}

TRenameStep::TRenameStep(TTileKind Kind, int Tile)
    : TRecordStep(Kind, {Tile}, QStringLiteral("Rename ") + TileLabel(Kind, Tile))
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
        FRecords.push_back({tile, Store.GetRecordBytes(FKind, tile), QByteArray()});
}
