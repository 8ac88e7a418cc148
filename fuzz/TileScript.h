#pragma once

#include "fuzz/FuzzLayout.h"

#include <QString>

#include <cstdint>
#include <vector>

// Writes inputs for the tile data harness: the file description and a
// script of store operations, in the layout of FuzzLayout.h.
class TileScript
{
public:
    using Bytes = std::vector<std::uint8_t>;

    TileScript &GetAll(int Tile);
    // Field 0-10 are Weight to Height in record order, 11 is Flags.
    TileScript &SetField(int Field, int Tile, std::uint32_t Value);
    TileScript &SetName(int Tile, const QString &Name);
    TileScript &ReplaceName(const QString &Old, const QString &New);
    TileScript &FindName(const QString &Text);
    TileScript &LoadTiles();
    TileScript &FillListBox();
    TileScript &Save();
    TileScript &Reopen();
    TileScript &GetLand(int Tile);
    TileScript &SetFlags64(bool Land, int Tile, std::uint64_t Value);
    TileScript &SetTexture(int Tile, std::uint32_t Value);
    TileScript &SetLandName(int Tile, const QString &Name);
    TileScript &ReplaceLandName(const QString &Old, const QString &New);

    // A file of Length bytes that repeats Pattern.
    Bytes Cyclic(std::uint32_t Length, const Bytes &Pattern) const;
    // A file of Length zero bytes with Pattern written at Offset.
    Bytes Placed(std::uint32_t Length, std::uint32_t Offset, const Bytes &Pattern) const;

private:
    void Op(FuzzLayout::TileOp Op);
    void Tile(int Tile);
    void Text(const QString &Text);
    void Word(std::uint32_t Value);
    void Long(std::uint32_t Value);
    Bytes Input(std::uint32_t Length, FuzzLayout::TileFill Fill, std::uint32_t Offset, const Bytes &Pattern) const;

    Bytes FScript;
};
