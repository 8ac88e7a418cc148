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
// The field of a tile as the store holds it.
int FieldValue(const TTileData &Store, TTileField Field, int Tile);
