#include "tiledata/TileDataReader.h"

#include "platform/AnsiCodePage.h"
#include "platform/ExclusiveWriteFile.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"

#include <QListWidget>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// How many bytes of the record at offset lie inside an image of imageSize.
std::size_t BytesInImage(std::int64_t offset, std::size_t imageSize)
{
    if (offset >= static_cast<std::int64_t>(imageSize))
        return 0;
    return std::min<std::size_t>(RecordSize, imageSize - static_cast<std::size_t>(offset));
}

std::string_view NameBytes(const TTileRecord &record)
{
    return std::string_view(record.Name, static_cast<std::size_t>(NameSize(record)));
}

unsigned char FoldAsciiLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 0x20) : c;
}

bool SameNameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAsciiLetter(static_cast<unsigned char>(a[i])) != FoldAsciiLetter(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

void AppendHex(QString &text, unsigned value)
{
    static const char Digits[] = "0123456789ABCDEF";
    char buffer[8];
    int n = 0;
    do {
        buffer[n++] = Digits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    while (n > 0)
        text.append(QLatin1Char(buffer[--n]));
}

} // namespace

TTileData::TTileData(const QString &FileName)
    : FileName(FileName)
    , FileImage(ReadWholeFile(AnsiString::ToPath(FileName)))
{
}

void TTileData::LoadTiles(QStringList &List)
{
    std::memset(static_cast<void *>(Tiles.data()), 0, sizeof(Tiles));
    for (int i = 0; i < TileCount; ++i) {
        const std::int64_t offset = RecordOffset(i);
        const std::size_t n = BytesInImage(offset, FileImage.size());
        if (n > 0)
            std::memcpy(static_cast<void *>(&Tiles[i]), FileImage.data() + offset, n);
    }
    List.reserve(List.size() + TileCount);
    for (int i = 0; i < TileCount; ++i)
        List.append(ListLine(i));
}

void TTileData::FillListBox(QListWidget *ListBox) const
{
    QStringList lines;
    lines.reserve(TileCount);
    for (int i = 0; i < TileCount; ++i)
        lines.append(ListLine(i));
    ListBox->setUpdatesEnabled(false);
    ListBox->clear();
    ListBox->addItems(lines);
    ListBox->setUpdatesEnabled(true);
}

void TTileData::WriteTilesToImage()
{
    for (int i = 0; i < TileCount; ++i) {
        const std::int64_t offset = RecordOffset(i);
        const std::size_t n = BytesInImage(offset, FileImage.size());
        if (n > 0)
            std::memcpy(FileImage.data() + offset, &Tiles[i], n);
    }
}

void TTileData::Save()
{
    WriteTilesToImage();
    ExclusiveWriteFile file(AnsiString::ToPath(FileName));
    file.WriteAllAt(0, FileImage.data(), FileImage.size());
    file.Flush();
    file.Close();
}

QString TTileData::GetName(int Index) const
{
    if (!IsTile(Index))
        return QString();
    return AnsiString::Decode(Tiles[Index].Name, NameSize(Tiles[Index]));
}

void TTileData::SetName(int Index, const QString &Name)
{
    if (!IsTile(Index))
        return;
    const QByteArray bytes = AnsiString::Encode(Name);
    char *field = Tiles[Index].Name;
    std::memset(field, 0, NameLength);
    std::memcpy(field, bytes.constData(), std::min<std::size_t>(NameLength, bytes.size()));
}

void TTileData::ReplaceName(const QString &OldName, const QString &NewName)
{
    // A text with characters the code page lacks is no tile's name.
    if (!AnsiString::CanEncode(OldName))
        return;
    const QByteArray oldBytes = AnsiString::Encode(OldName);
    const std::string_view old(oldBytes.constData(), static_cast<std::size_t>(oldBytes.size()));
    for (int i = 0; i < TileCount; ++i) {
        if (SameNameIgnoringAsciiCase(NameBytes(Tiles[i]), old))
            SetName(i, NewName);
    }
}

int TTileData::FindName(const QString &Text) const
{
    if (Text.isEmpty() || !AnsiString::CanEncode(Text))
        return -1;
    const std::string wanted = AnsiCodePage::Upper(AnsiString::Encode(Text).toStdString());
    if (wanted.size() > static_cast<std::size_t>(NameLength))
        return -1;
    char name[NameLength];
    for (int i = 0; i < TileCount; ++i) {
        const int n = NameSize(Tiles[i]);
        std::memcpy(name, Tiles[i].Name, static_cast<std::size_t>(n));
        AnsiCodePage::UpperBuffer(name, static_cast<std::size_t>(n));
        if (std::string_view(name, static_cast<std::size_t>(n)).find(wanted) != std::string_view::npos)
            return i;
    }
    return -1;
}

QString TTileData::ListLine(int Index) const
{
    QString line;
    line.reserve(8 + NameLength);
    line.append(QLatin1String("0x"));
    AppendHex(line, static_cast<unsigned>(Index));
    line.append(QLatin1String(" - "));
    line.append(GetName(Index));
    return line;
}

std::uint32_t TTileData::GetFlags(int Index) const
{
    return IsTile(Index) ? Tiles[Index].Flags : 0;
}

void TTileData::SetFlags(int Index, std::uint32_t Value)
{
    if (IsTile(Index))
        Tiles[Index].Flags = Value;
}

int TTileData::GetWeight(int Index) const { return Get(Index, &TTileRecord::Weight); }
void TTileData::SetWeight(int Index, int Value) { Set(Index, &TTileRecord::Weight, Value); }
int TTileData::GetQuality(int Index) const { return Get(Index, &TTileRecord::Quality); }
void TTileData::SetQuality(int Index, int Value) { Set(Index, &TTileRecord::Quality, Value); }
int TTileData::GetUnknown0(int Index) const { return Get(Index, &TTileRecord::Unknown0); }
void TTileData::SetUnknown0(int Index, int Value) { Set(Index, &TTileRecord::Unknown0, Value); }
int TTileData::GetUnknown1(int Index) const { return Get(Index, &TTileRecord::Unknown1); }
void TTileData::SetUnknown1(int Index, int Value) { Set(Index, &TTileRecord::Unknown1, Value); }
int TTileData::GetQuantity(int Index) const { return Get(Index, &TTileRecord::Quantity); }
void TTileData::SetQuantity(int Index, int Value) { Set(Index, &TTileRecord::Quantity, Value); }
int TTileData::GetAnim(int Index) const { return Get(Index, &TTileRecord::Anim); }
void TTileData::SetAnim(int Index, int Value) { Set(Index, &TTileRecord::Anim, Value); }
int TTileData::GetUnknown2(int Index) const { return Get(Index, &TTileRecord::Unknown2); }
void TTileData::SetUnknown2(int Index, int Value) { Set(Index, &TTileRecord::Unknown2, Value); }
int TTileData::GetHue(int Index) const { return Get(Index, &TTileRecord::Hue); }
void TTileData::SetHue(int Index, int Value) { Set(Index, &TTileRecord::Hue, Value); }
int TTileData::GetUnknown3(int Index) const { return Get(Index, &TTileRecord::Unknown3); }
void TTileData::SetUnknown3(int Index, int Value) { Set(Index, &TTileRecord::Unknown3, Value); }
int TTileData::GetUnknown4(int Index) const { return Get(Index, &TTileRecord::Unknown4); }
void TTileData::SetUnknown4(int Index, int Value) { Set(Index, &TTileRecord::Unknown4, Value); }
int TTileData::GetHeight(int Index) const { return Get(Index, &TTileRecord::Height); }
void TTileData::SetHeight(int Index, int Value) { Set(Index, &TTileRecord::Height, Value); }
