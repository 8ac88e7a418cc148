#include "tests/reliability/TileFileModel.h"

#include "tests/reliability/NameAlphabet.h"
#include "tests/support/TileDataWriter.h"

#include <algorithm>

namespace {

unsigned char FoldAscii(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 0x20) : c;
}

bool EqualFoldingAscii(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace

TileFileModel::TileFileModel(std::vector<unsigned char> Disk)
    : FImage(std::move(Disk))
    , FTable(Tiles, Record{})
{
}

std::vector<TileFileModel::Span> TileFileModel::OutsideRecords(std::size_t Length)
{
    std::vector<Span> spans;
    for (std::size_t i = 0; i < Length; ++i) {
        if (TileDataWriter::IsRecordByte(i))
            continue;
        if (spans.empty() || spans.back().second != i)
            spans.push_back({i, i + 1});
        else
            spans.back().second = i + 1;
    }
    return spans;
}

void TileFileModel::Reopen(const std::vector<unsigned char> &Disk)
{
    FImage = Disk;
    std::fill(FTable.begin(), FTable.end(), Record{});
}

void TileFileModel::Load()
{
    for (int t = 0; t < Tiles; ++t) {
        const std::size_t at = TileDataWriter::OffsetOf(t);
        for (std::size_t k = 0; k < RecordBytes; ++k)
            FTable[t][k] = at + k < FImage.size() ? FImage[at + k] : 0;
    }
}

void TileFileModel::Save()
{
    for (int t = 0; t < Tiles; ++t) {
        const std::size_t at = TileDataWriter::OffsetOf(t);
        for (std::size_t k = 0; k < RecordBytes && IsWhole(t); ++k)
            FImage[at + k] = FTable[t][k];
    }
}

bool TileFileModel::IsWhole(int tile) const
{
    return IsTile(tile) && TileDataWriter::OffsetOf(tile) + RecordBytes <= FImage.size();
}

void TileFileModel::SetField(int tile, int Offset, int Width, std::uint32_t Value)
{
    if (!IsWhole(tile))
        return;
    for (int k = 0; k < Width; ++k)
        FTable[tile][Offset + k] = static_cast<unsigned char>(Value >> (8 * k));
}

std::uint32_t TileFileModel::Field(int tile, int Offset, int Width) const
{
    if (!IsTile(tile))
        return 0;
    std::uint32_t value = 0;
    for (int k = Width - 1; k >= 0; --k)
        value = (value << 8) | FTable[tile][Offset + k];
    return value;
}

void TileFileModel::SetName(int tile, const std::string &bytes)
{
    if (!IsWhole(tile))
        return;
    for (int k = 0; k < NameBytes; ++k)
        FTable[tile][NameOffset + k] = k < int(bytes.size()) ? static_cast<unsigned char>(bytes[k]) : 0;
}

std::string TileFileModel::Name(int tile) const
{
    std::string name;
    if (!IsTile(tile))
        return name;
    for (int k = 0; k < NameBytes && FTable[tile][NameOffset + k] != 0; ++k)
        name.push_back(static_cast<char>(FTable[tile][NameOffset + k]));
    return name;
}

void TileFileModel::ReplaceName(const std::string &Old, const std::string &New)
{
    for (int t = 0; t < Tiles; ++t) {
        if (EqualFoldingAscii(Name(t), Old))
            SetName(t, New);
    }
}

int TileFileModel::FindUpper(const std::string &UpperText) const
{
    if (UpperText.empty())
        return -1;
    for (int t = 0; t < Tiles; ++t) {
        std::string name = Name(t);
        for (char &c : name)
            c = static_cast<char>(NameAlphabet::Upper(static_cast<unsigned char>(c)));
        if (name.find(UpperText) != std::string::npos)
            return t;
    }
    return -1;
}
