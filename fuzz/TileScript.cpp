#include "fuzz/TileScript.h"

#include <stdexcept>

using namespace FuzzLayout;

namespace {

void Append(TileScript::Bytes &To, std::uint32_t Value, int Width)
{
    for (int k = 0; k < Width; ++k)
        To.push_back(std::uint8_t(Value >> (8 * k)));
}

} // namespace

void TileScript::Op(TileOp Op)
{
    FScript.push_back(Op);
}

void TileScript::Tile(int Tile)
{
    Word(std::uint32_t(Tile + 2));
}

void TileScript::Text(const QString &Text)
{
    if (Text.size() > MaxTextLength)
        throw std::invalid_argument("text too long for the tile data harness");
    FScript.push_back(std::uint8_t(Text.size()));
    for (const QChar c : Text)
        Word(c.unicode());
}

void TileScript::Word(std::uint32_t Value)
{
    Append(FScript, Value, 2);
}

void TileScript::Long(std::uint32_t Value)
{
    Append(FScript, Value, 4);
}

TileScript &TileScript::GetAll(int Tile)
{
    Op(OpGetAll);
    this->Tile(Tile);
    return *this;
}

TileScript &TileScript::SetField(int Field, int Tile, std::uint32_t Value)
{
    Op(OpSetField);
    FScript.push_back(std::uint8_t(Field));
    this->Tile(Tile);
    Long(Value);
    return *this;
}

TileScript &TileScript::SetName(int Tile, const QString &Name)
{
    Op(OpSetName);
    this->Tile(Tile);
    Text(Name);
    return *this;
}

TileScript &TileScript::ReplaceName(const QString &Old, const QString &New)
{
    Op(OpReplaceName);
    Text(Old);
    Text(New);
    return *this;
}

TileScript &TileScript::FindName(const QString &Text)
{
    Op(OpFindName);
    this->Text(Text);
    return *this;
}

TileScript &TileScript::LoadTiles()
{
    Op(OpLoadTiles);
    return *this;
}

TileScript &TileScript::FillListBox()
{
    Op(OpFillListBox);
    return *this;
}

TileScript &TileScript::Save()
{
    Op(OpSave);
    return *this;
}

TileScript &TileScript::Reopen()
{
    Op(OpReopen);
    return *this;
}

TileScript::Bytes TileScript::Input(std::uint32_t Length, TileFill Fill, std::uint32_t Offset,
                                    const Bytes &Pattern) const
{
    Bytes input;
    Append(input, Length, 4);
    input.push_back(Fill);
    Append(input, Offset, 4);
    Append(input, std::uint32_t(FScript.size()), 2);
    input.insert(input.end(), FScript.begin(), FScript.end());
    input.insert(input.end(), Pattern.begin(), Pattern.end());
    return input;
}

TileScript::Bytes TileScript::Cyclic(std::uint32_t Length, const Bytes &Pattern) const
{
    return Input(Length, FillCyclic, 0, Pattern);
}

TileScript::Bytes TileScript::Placed(std::uint32_t Length, std::uint32_t Offset, const Bytes &Pattern) const
{
    return Input(Length, FillPlaced, Offset, Pattern);
}

TileScript &TileScript::GetLand(int Tile)
{
    Op(OpGetLand);
    this->Tile(Tile);
    return *this;
}

TileScript &TileScript::SetFlags64(bool Land, int Tile, std::uint64_t Value)
{
    Op(OpSetFlags64);
    FScript.push_back(Land ? 1 : 0);
    this->Tile(Tile);
    Long(std::uint32_t(Value));
    Long(std::uint32_t(Value >> 32));
    return *this;
}

TileScript &TileScript::SetTexture(int Tile, std::uint32_t Value)
{
    Op(OpSetTexture);
    this->Tile(Tile);
    Long(Value);
    return *this;
}

TileScript &TileScript::SetLandName(int Tile, const QString &Name)
{
    Op(OpSetLandName);
    this->Tile(Tile);
    Text(Name);
    return *this;
}

TileScript &TileScript::ReplaceLandName(const QString &Old, const QString &New)
{
    Op(OpReplaceLandName);
    Text(Old);
    Text(New);
    return *this;
}
