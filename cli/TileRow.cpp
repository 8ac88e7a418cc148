#include "cli/TileRow.h"

#include "cli/TextAppend.h"
#include "platform/AnsiCodePage.h"
#include "platform/qt/AnsiString.h"
#include "tiledata/TileDataReader.h"

const std::array<NumberField, NumberFieldCount> &NumberFields()
{
    static const std::array<NumberField, NumberFieldCount> fields = {{
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
    }};
    return fields;
}

void NumberField::AppendValue(std::string &Out, std::uint32_t Value) const
{
    if (HexDigits > 0)
        TextAppend::Hex(Out, Value, HexDigits);
    else
        TextAppend::Decimal(Out, Value);
}

TileRow TileRow::Read(const TTileData &Store, int Index)
{
    TileRow row;
    row.Index = Index;
    row.Flags = Store.GetFlags(Index);
    for (int k = 0; k < NumberFieldCount; ++k)
        row.Numbers[std::size_t(k)] = static_cast<std::uint32_t>((Store.*NumberFields()[std::size_t(k)].Get)(Index));
    // Every byte decodes to a character of its own, so encoding the name
    // again gives back exactly the stored bytes.
    const QString name = Store.GetName(Index);
    row.Name.resize(std::size_t(name.size()));
    for (qsizetype k = 0; k < name.size(); ++k)
        row.Name[std::size_t(k)] = static_cast<char>(AnsiCodePage::FromUnicode(name[k].unicode()));
    return row;
}

void TileRow::WriteChangesTo(TTileData &Store, const TileRow &Old) const
{
    if (Flags != Old.Flags)
        Store.SetFlags(Index, Flags);
    for (int k = 0; k < NumberFieldCount; ++k) {
        const std::size_t i = std::size_t(k);
        if (Numbers[i] != Old.Numbers[i])
            (Store.*NumberFields()[i].Set)(Index, static_cast<int>(Numbers[i]));
    }
    if (Name != Old.Name)
        Store.SetName(Index, AnsiString::Decode(Name.data(), static_cast<int>(Name.size())));
}

bool TileRow::operator==(const TileRow &Other) const
{
    return Index == Other.Index && Flags == Other.Flags && Numbers == Other.Numbers && Name == Other.Name;
}
