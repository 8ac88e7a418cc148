#include "app/document/TileField.h"

#include "tiledata/TileDataReader.h"

namespace {

struct FieldFacts
{
    const char *Name;
    int Bytes;
    int (TTileData::*Get)(int) const;
};

// In the order of TTileField.
const FieldFacts Facts[] = {
    {"Weight", 1, &TTileData::GetWeight},     {"Quality/Layer", 1, &TTileData::GetQuality},
    {"Height", 1, &TTileData::GetHeight},     {"Quantity", 1, &TTileData::GetQuantity},
    {"Hue", 1, &TTileData::GetHue},           {"AnimID", 2, &TTileData::GetAnim},
    {"Unknown0", 2, &TTileData::GetUnknown0}, {"Unknown1", 1, &TTileData::GetUnknown1},
    {"Unknown2", 1, &TTileData::GetUnknown2}, {"Unknown3", 1, &TTileData::GetUnknown3},
    {"Unknown4", 1, &TTileData::GetUnknown4}, {"Texture", 2, &TTileData::GetTexture},
};

const FieldFacts &FactsOf(TTileField Field)
{
    return Facts[static_cast<int>(Field)];
}

} // namespace

QString FieldName(TTileField Field)
{
    return QLatin1String(FactsOf(Field).Name);
}

TTileKind FieldKind(TTileField Field)
{
    return Field == TTileField::Texture ? TTileKind::Land : TTileKind::Item;
}

int FieldMaximum(TTileField Field)
{
    return FactsOf(Field).Bytes == 1 ? 0xFF : 0xFFFF;
}

QString FieldText(TTileField Field, qint64 Value)
{
    return Field == TTileField::Anim ? QString::number(Value, 16).toUpper() : QString::number(Value);
}

QString OutOfRangeText(TTileField Field, const QString &Typed)
{
    return QStringLiteral("\"%1\" is out of range for %2: %3 to %4")
        .arg(Typed, FieldName(Field), FieldText(Field, 0), FieldText(Field, FieldMaximum(Field)));
}

int FieldValue(const TTileData &Store, TTileField Field, int Tile)
{
    return (Store.*FactsOf(Field).Get)(Tile);
}
