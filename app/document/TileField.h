#pragma once

#include "tiledata/TileKind.h"

#include <QString>

class TTileData;

// The number fields of a tile that the window edits in a box of its own:
// the item tiles' eleven Properties and the land tiles' texture.
enum class TTileField
{
    Weight,
    Quality,
    Height,
    Quantity,
    Hue,
    Anim,
    Unknown0,
    Unknown1,
    Unknown2,
    Unknown3,
    Unknown4,
    Texture,
};

// The field's name as its box's label reads ("Weight", "AnimID").
QString FieldName(TTileField Field);
// The section whose tiles have the field.
TTileKind FieldKind(TTileField Field);
// The largest value the field's bytes hold.
int FieldMaximum(TTileField Field);
// The field's value as its box shows it: AnimID in hex, the others in decimal.
QString FieldText(TTileField Field, qint64 Value);
// Why the value typed as Typed cannot go into the field: '"256" is out of
// range for Weight: 0 to 255'.
QString OutOfRangeText(TTileField Field, const QString &Typed);
// The field of a tile as the store holds it.
int FieldValue(const TTileData &Store, TTileField Field, int Tile);
