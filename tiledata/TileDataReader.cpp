#include "tiledata/TileDataReader.h"

#include "platform/AnsiCodePage.h"
#include "platform/ExclusiveWriteFile.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The records of one group lie back to back in the file, exactly as they
// lie in the table, so a group is copied in one piece rather than record by
// record. Group g holds the tiles from 32 * g on; the last group is short.
constexpr int GroupCount = (TileCount + RecordsPerGroup - 1) / RecordsPerGroup;
static_assert(sizeof(std::array<TTileRecord, TileCount>) == std::size_t(TileCount) * RecordSize,
              "the table holds the records without gaps");

int FirstTileOf(int group)
{
    return group * RecordsPerGroup;
}

std::size_t GroupBytes(int group)
{
    return static_cast<std::size_t>(std::min(RecordsPerGroup, TileCount - FirstTileOf(group))) * RecordSize;
}

// How many of the bytes at offset lie inside an image of imageSize.
std::size_t BytesInImage(std::int64_t offset, std::size_t length, std::size_t imageSize)
{
    if (offset >= static_cast<std::int64_t>(imageSize))
        return 0;
    return std::min<std::size_t>(length, imageSize - static_cast<std::size_t>(offset));
}

// Calls visit(first tile, offset, byte count) for every group's records, as
// far as an image of imageSize holds them.
template <typename Visit>
void ForEachGroupInImage(std::size_t imageSize, Visit visit)
{
    for (int group = 0; group < GroupCount; ++group) {
        const std::int64_t offset = RecordOffset(FirstTileOf(group));
        const std::size_t n = BytesInImage(offset, GroupBytes(group), imageSize);
        if (n > 0)
            visit(FirstTileOf(group), static_cast<std::size_t>(offset), n);
    }
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

// Fills a name field with the encoded name, cut to the field and padded
// with zeros.
void WriteNameField(TTileRecord &record, const QByteArray &bytes)
{
    std::memset(record.Name, 0, NameLength);
    std::memcpy(record.Name, bytes.constData(), std::min<std::size_t>(NameLength, bytes.size()));
}

// Writes value in upper-case hexadecimal without leading zeros to Out;
// returns the end of the digits (at most 8). Written without a local
// buffer: the line writer runs 16,383 times per load, and under the memory
// checker every local array costs guard zones set up and torn down per call.
char16_t *WriteHex(char16_t *Out, unsigned value)
{
    static const char16_t Digits[] = u"0123456789ABCDEF";
    int count = 1;
    for (unsigned rest = value >> 4; rest != 0; rest >>= 4)
        ++count;
    for (int k = count - 1; k >= 0; --k) {
        Out[k] = Digits[value & 0xF];
        value >>= 4;
    }
    return Out + count;
}

// The UTF-16 unit of every Windows-1252 byte, looked up once: list lines
// decode 16,383 names at a time.
const std::array<char16_t, 256> &CodePageUnits()
{
    static const std::array<char16_t, 256> units = [] {
        std::array<char16_t, 256> table{};
        for (int b = 0; b < 256; ++b)
            table[std::size_t(b)] = static_cast<char16_t>(AnsiCodePage::ToUnicode(static_cast<unsigned char>(b)));
        return table;
    }();
    return units;
}

// The longest list line: "0x", eight hex digits, " - " and a full name.
constexpr int MaxLineLength = 2 + 8 + 3 + NameLength;

// Writes the list line of tile Index named by the Length bytes at Name to
// Out, which has room for MaxLineLength units; returns the end of the line.
char16_t *WriteLine(char16_t *Out, int Index, const char *Name, int Length)
{
    *Out++ = u'0';
    *Out++ = u'x';
    Out = WriteHex(Out, static_cast<unsigned>(Index));
    *Out++ = u' ';
    *Out++ = u'-';
    *Out++ = u' ';
    const std::array<char16_t, 256> &units = CodePageUnits();
    for (int k = 0; k < Length; ++k)
        *Out++ = units[static_cast<unsigned char>(Name[k])];
    return Out;
}

// The list lines of every tile, their texts written one after the other
// into a single block that every line holds a reference to: one allocation
// for all 16,383 instead of one each, which is most of what a load costs,
// and as much again when the lines are freed. Each text is followed by a
// zero, as Qt expects of the strings it owns. A line that is changed, or
// kept while the others are shared, is copied out by Qt as any shared
// string is; the block goes when its last line does.
QStringList LinesInOneBlock(const std::array<TTileRecord, TileCount> &Tiles)
{
    std::array<unsigned char, TileCount> nameSizes;
    qsizetype total = 0;
    for (int i = 0; i < TileCount; ++i) {
        nameSizes[std::size_t(i)] = static_cast<unsigned char>(NameSize(Tiles[i]));
        total += MaxLineLength - NameLength + nameSizes[std::size_t(i)] + 1;
    }
    auto [header, block] = QTypedArrayData<char16_t>::allocate(total);
    Q_CHECK_PTR(block);

    QStringList lines(TileCount);
    QString *line = lines.data();
    char16_t *out = block;
    for (int i = 0; i < TileCount; ++i) {
        char16_t *end = WriteLine(out, i, Tiles[i].Name, nameSizes[std::size_t(i)]);
        *end = 0;
        // The allocation comes with the first line's reference.
        if (i > 0)
            header->ref();
        line[i] = QString(QString::DataPointer(header, out, end - out));
        out = end + 1;
    }
    return lines;
}

// Whether the held file consists of exactly Bytes. A file of another length
// differs without a read, however large it has grown. The rest is read back
// a piece at a time, each compared while it is still in the cache.
bool FileHolds(const ExclusiveWriteFile &file, const std::vector<unsigned char> &bytes)
{
    if (file.Size() != static_cast<std::int64_t>(bytes.size()))
        return false;
    constexpr std::size_t PieceSize = 64 * 1024;
    std::vector<unsigned char> piece(std::min(bytes.size(), PieceSize));
    for (std::size_t at = 0; at < bytes.size(); at += piece.size()) {
        const std::size_t n = std::min(piece.size(), bytes.size() - at);
        file.ReadExactAt(static_cast<std::int64_t>(at), piece.data(), n);
        if (std::memcmp(piece.data(), bytes.data() + at, n) != 0)
            return false;
    }
    return true;
}

} // namespace

TTileData::TTileData(const QString &FileName)
    : TTileData(FileName, ReadWholeFile(AnsiString::ToPath(FileName)))
{
}

TTileData::TTileData(const QString &FileName, std::vector<unsigned char> Image)
    : FileName(FileName)
    , FileImage(std::move(Image))
{
}

void TTileData::LoadTiles(QStringList &List)
{
    std::memset(static_cast<void *>(Tiles.data()), 0, sizeof(Tiles));
    ForEachGroupInImage(FileImage.size(), [this](int first, std::size_t offset, std::size_t n) {
        std::memcpy(static_cast<void *>(&Tiles[first]), FileImage.data() + offset, n);
    });
    Lines = AllListLines();
    // The caller's list shares the texts of the kept lines; an empty one
    // (as every caller passes) shares the whole array, without taking a
    // reference to each of the 16,383 texts.
    if (List.isEmpty())
        List = Lines;
    else
        List.append(Lines);
}

QStringList TTileData::AllListLines() const
{
    return LinesInOneBlock(Tiles);
}

void TTileData::WriteTilesTo(unsigned char *Out, std::size_t At, std::size_t Size) const
{
    ForEachGroupInImage(At + Size, [&](int first, std::size_t offset, std::size_t n) {
        const std::size_t begin = std::max(offset, At);
        const std::size_t end = offset + n;
        if (begin < end)
            std::memcpy(Out + (begin - At), reinterpret_cast<const unsigned char *>(&Tiles[first]) + (begin - offset),
                        end - begin);
    });
}

bool TTileData::IsModified() const
{
    bool modified = false;
    ForEachGroupInImage(FileImage.size(), [&](int first, std::size_t offset, std::size_t n) {
        modified = modified || std::memcmp(FileImage.data() + offset, &Tiles[first], n) != 0;
    });
    return modified;
}

bool TTileData::Save(const std::function<bool()> &ConfirmOverwrite)
{
    ExclusiveWriteFile file(AnsiString::ToPath(FileName));
    if (ConfirmOverwrite && !FileHolds(file, FileImage) && !ConfirmOverwrite())
        return false;
    WriteImageWithTiles(file);
    file.Flush();
    file.Close();
    // Only a save that went through changes what the file is known to hold.
    WriteTilesTo(FileImage.data(), 0, FileImage.size());
    return true;
}

void TTileData::WriteImageWithTiles(ExclusiveWriteFile &File) const
{
    // A piece at a time, the table's records laid over the image's bytes: a
    // save needs no second copy of the whole file.
    constexpr std::size_t PieceSize = 64 * 1024;
    const std::size_t size = FileImage.size();
    std::vector<unsigned char> piece(std::min(size, PieceSize));
    for (std::size_t at = 0; at < size; at += piece.size()) {
        const std::size_t n = std::min(piece.size(), size - at);
        std::memcpy(piece.data(), FileImage.data() + at, n);
        WriteTilesTo(piece.data(), at, n);
        File.WriteAllAt(static_cast<std::int64_t>(at), piece.data(), n);
    }
}

QByteArray TTileData::GetRecordBytes(TTileKind Kind, int Index) const
{
    if (Kind != TTileKind::Item || !IsTile(Index))
        return QByteArray();
    return QByteArray(reinterpret_cast<const char *>(&Tiles[Index]), RecordSize);
}

void TTileData::SetRecordBytes(TTileKind Kind, int Index, const QByteArray &Bytes)
{
    if (Kind != TTileKind::Item || !IsTile(Index) || Bytes.size() != RecordSize)
        return;
    std::memcpy(static_cast<void *>(&Tiles[Index]), Bytes.constData(), RecordSize);
    if (!Lines.isEmpty())
        Lines[Index] = ListLine(Index);
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
    WriteNameField(Tiles[Index], AnsiString::Encode(Name));
    if (!Lines.isEmpty())
        Lines[Index] = ListLine(Index);
}

void TTileData::ReplaceName(const QString &OldName, const QString &NewName)
{
    // A text with characters the code page lacks is no tile's name.
    if (!AnsiString::CanEncode(OldName))
        return;
    const QByteArray oldBytes = AnsiString::Encode(OldName);
    const std::string_view old(oldBytes.constData(), static_cast<std::size_t>(oldBytes.size()));
    // Encoded once: a common or empty name can stand on thousands of tiles.
    const QByteArray newBytes = AnsiString::Encode(NewName);
    std::vector<int> renamed;
    for (int i = 0; i < TileCount; ++i) {
        if (!SameNameIgnoringAsciiCase(NameBytes(Tiles[i]), old))
            continue;
        WriteNameField(Tiles[i], newBytes);
        renamed.push_back(i);
    }
    if (Lines.isEmpty())
        return;
    // When most tiles change (the empty name of a fresh file stands on all
    // of them), all lines are made again in one block; this also lets go of
    // the block the old lines shared.
    if (renamed.size() > std::size_t(TileCount / 2)) {
        Lines = AllListLines();
        return;
    }
    for (const int i : renamed)
        Lines[i] = ListLine(i);
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
    // Written in place, so that a line costs one allocation: SetName and
    // ReplaceName renew one line per renamed tile.
    char16_t text[MaxLineLength];
    const char *name = IsTile(Index) ? Tiles[Index].Name : "";
    const int length = IsTile(Index) ? NameSize(Tiles[Index]) : 0;
    const char16_t *end = WriteLine(text, Index, name, length);
    return QString(reinterpret_cast<const QChar *>(text), end - text);
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
