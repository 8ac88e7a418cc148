#include "tiletext/TileRow.h"

#include "tiletext/TextAppend.h"
#include "platform/AnsiCodePage.h"
#include "platform/qt/AnsiString.h"
#include "tiledata/TileDataReader.h"

const std::vector<NumberField> &NumberFields(TTileKind Kind)
{
    static const std::vector<NumberField> items = {
        {"weight", 0xFF, 0, &TTileData::GetWeight, &TTileData::SetWeight},
        {"quality", 0xFF, 0, &TTileData::GetQuality, &TTileData::SetQuality},
        {"unknown0", 0xFFFF, 0, &TTileData::GetUnknown0, &TTileData::SetUnknown0},
        {"unknown1", 0xFF, 0, &TTileData::GetUnknown1, &TTileData::SetUnknown1},
        {"quantity", 0xFF, 0, &TTileData::GetQuantity, &TTileData::SetQuantity},
        {"anim", 0xFFFF, 4, &TTileData::GetAnim, &TTileData::SetAnim},
        {"unknown2", 0xFF, 0, &TTileData::GetUnknown2, &TTileData::SetUnknown2},
        {"hue", 0xFF, 0, &TTileData::GetHue, &TTileData::SetHue},
        {"unknown3", 0xFF, 0, &TTileData::GetUnknown3, &TTileData::SetUnknown3},
        {"unknown4", 0xFF, 0, &TTileData::GetUnknown4, &TTileData::SetUnknown4},
        {"height", 0xFF, 0, &TTileData::GetHeight, &TTileData::SetHeight},
    };
    static const std::vector<NumberField> land = {
        {"texture", 0xFFFF, 0, &TTileData::GetTexture, &TTileData::SetTexture},
    };
    return Kind == TTileKind::Land ? land : items;
}

void NumberField::AppendValue(std::string &Out, std::uint32_t Value) const
{
    if (HexDigits > 0)
        TextAppend::Hex(Out, Value, HexDigits);
    else
        TextAppend::Decimal(Out, Value);
}

TileRow TileRow::Read(const TTileData &Store, TTileKind Kind, int Index)
{
    TileRow row;
    row.Kind = Kind;
    row.Index = Index;
    row.FlagBits = Store.Layout().FlagBits();
    row.Flags = Store.GetFlags(Kind, Index);
    const std::vector<NumberField> &fields = NumberFields(Kind);
    for (std::size_t k = 0; k < fields.size(); ++k)
        row.Numbers[k] = static_cast<std::uint32_t>((Store.*fields[k].Get)(Index));
    // Every byte decodes to a character of its own, so encoding the name
    // again gives back exactly the stored bytes.
    const QString name = Store.GetName(Kind, Index);
    row.Name.resize(std::size_t(name.size()));
    for (qsizetype k = 0; k < name.size(); ++k)
        row.Name[std::size_t(k)] = static_cast<char>(AnsiCodePage::FromUnicode(name[k].unicode()));
    return row;
}

void TileRow::WriteChangesTo(TTileData &Store, const TileRow &Old) const
{
    if (Flags != Old.Flags)
        Store.SetFlags(Kind, Index, Flags);
    const std::vector<NumberField> &fields = Fields();
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (Numbers[k] != Old.Numbers[k])
            (Store.*fields[k].Set)(Index, static_cast<int>(Numbers[k]));
    }
    if (Name != Old.Name)
        Store.SetName(Kind, Index, AnsiString::Decode(Name.data(), static_cast<int>(Name.size())));
}

bool TileRow::operator==(const TileRow &Other) const
{
    return Kind == Other.Kind && Index == Other.Index && Flags == Other.Flags && Numbers == Other.Numbers
           && Name == Other.Name;
}
