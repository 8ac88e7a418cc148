#include "tiledata/TileDataReader.h"

#include "tiledata/RangeWrite.h"
#include "tiledata/SaveJournal.h"

#include "platform/AnsiCodePage.h"
#include "platform/Error.h"
#include "platform/ExclusiveWriteFile.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace {


std::string_view NameBytes(const char *field)
{
    return std::string_view(field, static_cast<std::size_t>(NameSize(field)));
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


// The list lines of tiles 0 to Count - 1, named by NameOf(i), their texts
// written one after the other into a single block that every line holds a
// reference to: one allocation for all of them instead of one each, which
// is most of what a load costs, and as much again when the lines are freed.
// Each text is followed by a zero, as Qt expects of the strings it owns. A
// line that is changed, or kept while the others are shared, is copied out
// by Qt as any shared string is; the block goes when its last line does.
template <typename NameOf>
QStringList LinesInOneBlock(int Count, NameOf nameOf)
{
    std::vector<unsigned char> nameSizes(static_cast<std::size_t>(Count));
    qsizetype total = 0;
    for (int i = 0; i < Count; ++i) {
        nameSizes[std::size_t(i)] = static_cast<unsigned char>(NameSize(nameOf(i)));
        total += MaxLineLength - NameLength + nameSizes[std::size_t(i)] + 1;
    }
    auto [header, block] = QTypedArrayData<char16_t>::allocate(total);
    Q_CHECK_PTR(block);

    QStringList lines(Count);
    QString *line = lines.data();
    char16_t *out = block;
    for (int i = 0; i < Count; ++i) {
        char16_t *end = WriteLine(out, i, nameOf(i), nameSizes[std::size_t(i)]);
        *end = 0;
        // The allocation comes with the first line's reference.
        if (i > 0)
            header->ref();
        line[i] = QString(QString::DataPointer(header, out, end - out));
        out = end + 1;
    }
    return lines;
}

bool SameBytes(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b, std::size_t at,
               std::size_t size)
{
    const bool aHas = at + size <= a.size();
    const bool bHas = at + size <= b.size();
    if (!aHas || !bHas)
        return aHas == bHas;
    return std::memcmp(a.data() + at, b.data() + at, size) == 0;
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

TTileData::TTileData(const QString &FileName, std::vector<unsigned char> Image, std::optional<TTileLayout> Layout)
    : FileName(FileName)
    , FLayout(TTileLayout::Classic())
    , FileImage(std::move(Image))
{
    FLayout = Layout ? *Layout : TTileLayout::ForFileSize(FileSize());
    StartWithoutItems();
}

void TTileData::StartWithoutItems()
{
    // Until LoadTiles decodes them, the item records read as zero; the rest
    // is the file's.
    ResetWorking();
    const std::size_t size = std::size_t(FLayout.RecordSize(TTileKind::Item));
    for (int i = 0; i < ItemCount(); ++i)
        std::memset(Record(TTileKind::Item, i), 0, size);
}

// A file that holds every record is its own working copy until the first
// edit, so that a file opened to be read costs one copy in memory, not two.
void TTileData::ResetWorking()
{
    const std::size_t end = std::size_t(FLayout.RecordsEnd(TTileKind::Item));
    if (FileImage.size() >= end) {
        std::vector<unsigned char>().swap(Working);
        return;
    }
    Working = FileImage;
    Working.resize(end, 0);
}

const std::vector<unsigned char> &TTileData::Work() const
{
    return Working.empty() ? FileImage : Working;
}

std::vector<unsigned char> &TTileData::WorkToEdit()
{
    if (Working.empty())
        Working = FileImage;
    return Working;
}

void TTileData::LoadTiles()
{
    ResetWorking();
}

void TTileData::LoadTiles(QStringList &List)
{
    LoadTiles();
    // The store keeps no lines of its own: a list reads each line when it
    // draws it (ListLine), and 65,536 kept lines would cost megabytes. An
    // empty list (as every caller passes) takes the whole array, without a
    // reference taken to each text.
    if (List.isEmpty())
        List = AllListLines();
    else
        List.append(AllListLines());
}

QStringList TTileData::AllListLines() const
{
    return LinesInOneBlock(ItemCount(), [this](int i) { return NameField(TTileKind::Item, i); });
}

unsigned char *TTileData::Record(TTileKind Kind, int Index)
{
    return WorkToEdit().data() + FLayout.RecordOffset(Kind, Index);
}

const unsigned char *TTileData::Record(TTileKind Kind, int Index) const
{
    return Work().data() + FLayout.RecordOffset(Kind, Index);
}

const char *TTileData::NameField(TTileKind Kind, int Index) const
{
    return reinterpret_cast<const char *>(Record(Kind, Index) + FLayout.NameOffset(Kind));
}

bool TTileData::IsWhole(TTileKind Kind, int Index) const
{
    return IsTile(Kind, Index) && FLayout.RecordOffset(Kind, Index) + FLayout.RecordSize(Kind) <= FileSize();
}

int TTileData::WholeCount(TTileKind Kind) const
{
    // Records lie in index order, so the whole ones are a prefix.
    int low = 0;
    int high = Count(Kind);
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (IsWhole(Kind, middle))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

QString TTileData::ShortFileWarning() const
{
    const int whole = WholeCount(TTileKind::Item);
    if (whole == ItemCount())
        return QString();
    const QLocale english(QLocale::English);
    return QStringLiteral("%1 is %2 bytes long and holds %3 of the %4 tiles; the others cannot be edited")
        .arg(QFileInfo(FileName).fileName(), english.toString(qlonglong(FileSize())), english.toString(whole),
             english.toString(ItemCount()));
}

std::vector<TByteRange> TTileData::ChangedRanges() const
{
    // Runs of neighbouring changed records: records of one group lie back to
    // back, so a run ends at a group header or at an unchanged record.
    std::vector<TByteRange> ranges;
    ForEachWholeRecord([&](TTileKind, int, std::size_t at, std::size_t size) {
        if (std::memcmp(Work().data() + at, FileImage.data() + at, size) == 0)
            return;
        if (!ranges.empty() && ranges.back().At + ranges.back().Size == at)
            ranges.back().Size += size;
        else
            ranges.push_back({at, size});
    });
    return ranges;
}

bool TTileData::IsModified() const
{
    if (Working.empty())
        return false;
    // The records of a group lie side by side: one comparison a group, and
    // none after the first difference. The window asks after every edit.
    for (const TTileKind kind : {TTileKind::Land, TTileKind::Item}) {
        const int whole = WholeCount(kind);
        const std::size_t size = std::size_t(FLayout.RecordSize(kind));
        for (int first = 0; first < whole; first += TTileLayout::RecordsPerGroup) {
            const std::size_t at = std::size_t(FLayout.RecordOffset(kind, first));
            const std::size_t length = size * std::size_t(std::min(TTileLayout::RecordsPerGroup, whole - first));
            if (std::memcmp(Working.data() + at, FileImage.data() + at, length) != 0)
                return true;
        }
    }
    return false;
}

TSaveConflicts TTileData::ConflictsWith(const std::vector<unsigned char> &Disk) const
{
    TSaveConflicts conflicts;
    ForEachWholeRecord([&](TTileKind kind, int i, std::size_t at, std::size_t size) {
        if (!SameBytes(Work(), FileImage, at, size) && !SameBytes(Disk, FileImage, at, size))
            (kind == TTileKind::Land ? conflicts.Land : conflicts.Items).push_back(i);
    });
    return conflicts;
}

std::string TTileData::TilesIn(const std::vector<TByteRange> &Ranges) const
{
    // Records and ranges both come in file order, so one walk through each
    // does: a save after a whole-table rename has a range per renamed tile,
    // and looking each record up among all of them took most of its time.
    std::string text;
    auto range = Ranges.begin();
    ForEachWholeRecord([&](TTileKind kind, int i, std::size_t at, std::size_t) {
        while (range != Ranges.end() && range->At + range->Size <= at)
            ++range;
        if (range == Ranges.end() || at < range->At)
            return;
        if (!text.empty())
            text += ", ";
        char hex[9];
        std::snprintf(hex, sizeof hex, "%X", unsigned(i));
        text += kind == TTileKind::Land ? "land 0x" : "0x";
        text += hex;
    });
    return text;
}

bool TTileData::Save(const TConfirmOverwrite &ConfirmOverwrite)
{
    FSaveNote.clear();
    // The version of the file the user last said to overwrite, once asked.
    std::optional<std::vector<unsigned char>> answered;
    for (;;) {
        std::optional<std::vector<unsigned char>> found
            = SaveIfFileHolds(answered ? *answered : FileImage, !ConfirmOverwrite);
        if (!found)
            return true;
        // The file is free while the question is open: the other program
        // may even change it again, which the next round finds.
        if (!ConfirmOverwrite(ConflictsWith(*found)))
            return false;
        answered = std::move(found);
    }
}

std::optional<std::vector<unsigned char>> TTileData::SaveIfFileHolds(const std::vector<unsigned char> &Expected,
                                                                     bool Unasked)
{
    ExclusiveWriteFile file(AnsiString::ToPath(FileName));
    if (FileHolds(file, Expected)) {
        WriteHeld(file, Expected);
        return std::nullopt;
    }
    std::vector<unsigned char> found = ReadWholeHeld(file);
    if (!Unasked)
        return found;
    WriteHeld(file, found);
    return std::nullopt;
}

void TTileData::WriteHeld(ExclusiveWriteFile &File, const std::vector<unsigned char> &Old)
{
    // A file another program cut or grew no longer has its records where
    // ours lie, so there is nothing to merge with: the whole file as we hold
    // it is written over it (a longer file keeps its extra bytes).
    const std::vector<TByteRange> ranges = Old.size() == FileImage.size()
                                               ? ChangedRanges()
                                               : std::vector<TByteRange>{{0, FileImage.size()}};
    const std::string name = QDir::toNativeSeparators(FileName).toStdString();
    TRangeWrite write(File, Old, Work());
    write.UseJournal(TSaveJournal::PathFor(AnsiString::ToPath(FileName)));
    write.Write(ranges, name, [this](const std::vector<TByteRange> &Left) { return TilesIn(Left); });
    FSaveNote = write.Note();
    try {
        File.Close();
    } catch (const Error &) {
        // Every byte was flushed before the close: the save is whole, only
        // the close failed.
        FSaveNote += (FSaveNote.empty() ? "" : "\n") + name + ": " + File.FailureReason()
                     + " when closing it, after the whole save was flushed to the disk";
    }
    // The store now holds what the file holds: this save's records over
    // whatever else the file had. They are laid over the image in place, as
    // a copy of it would cost a fresh megabyte per save; only another
    // program's version of the file is taken whole first.
    std::vector<unsigned char> saved;
    if (&Old != &FileImage)
        saved = Old;
    std::vector<unsigned char> &image = &Old != &FileImage ? saved : FileImage;
    for (const TByteRange &range : ranges) {
        if (image.size() < range.At + range.Size)
            image.resize(range.At + range.Size, 0);
        std::memmove(image.data() + range.At, Work().data() + range.At, range.Size);
    }
    if (&Old != &FileImage)
        FileImage = std::move(saved);
    // The working copy now matches the image wherever the records lie, and
    // takes in the other program's changes elsewhere.
    ResetWorking();
}

QByteArray TTileData::GetRecordBytes(TTileKind Kind, int Index) const
{
    if (!IsTile(Kind, Index))
        return QByteArray();
    return QByteArray(reinterpret_cast<const char *>(Record(Kind, Index)), FLayout.RecordSize(Kind));
}

const unsigned char *TTileData::RecordData(TTileKind Kind, int Index) const
{
    return IsTile(Kind, Index) ? Record(Kind, Index) : nullptr;
}

void TTileData::SetRecordBytes(TTileKind Kind, int Index, const QByteArray &Bytes)
{
    if (!IsWhole(Kind, Index) || Bytes.size() != FLayout.RecordSize(Kind))
        return;
    std::memcpy(Record(Kind, Index), Bytes.constData(), std::size_t(Bytes.size()));
}

QByteArray TTileData::GetRecordsBytes(TTileKind Kind, const std::vector<int> &Tiles) const
{
    const std::size_t size = std::size_t(FLayout.RecordSize(Kind));
    QByteArray bytes(qsizetype(Tiles.size() * size), Qt::Uninitialized);
    char *to = bytes.data();
    for (const int tile : Tiles) {
        if (IsTile(Kind, tile))
            std::memcpy(to, Record(Kind, tile), size);
        else
            std::memset(to, 0, size);
        to += size;
    }
    return bytes;
}

void TTileData::PutRecordsBits(TTileKind Kind, const std::vector<int> &Tiles, const QByteArray &Values,
                               const QByteArray &Mask)
{
    const std::size_t size = std::size_t(FLayout.RecordSize(Kind));
    if (std::size_t(Values.size()) != Tiles.size() * size || Mask.size() != Values.size())
        return;
    const auto *values = reinterpret_cast<const unsigned char *>(Values.constData());
    const auto *mask = reinterpret_cast<const unsigned char *>(Mask.constData());
    for (const int tile : Tiles) {
        if (IsWhole(Kind, tile)) {
            unsigned char *record = Record(Kind, tile);
            for (std::size_t k = 0; k < size; ++k)
                record[k] = (unsigned char)((record[k] & ~mask[k]) | (values[k] & mask[k]));
        }
        values += size;
        mask += size;
    }
}

QString TTileData::GetName(TTileKind Kind, int Index) const
{
    if (!IsTile(Kind, Index))
        return QString();
    const char *field = NameField(Kind, Index);
    return AnsiString::Decode(field, NameSize(field));
}

void TTileData::SetName(TTileKind Kind, int Index, const QString &Name)
{
    if (IsWhole(Kind, Index))
        PutName(Kind, Index, AnsiString::Encode(Name));
}

void TTileData::PutName(TTileKind Kind, int Index, const QByteArray &Bytes)
{
    unsigned char *field = Record(Kind, Index) + FLayout.NameOffset(Kind);
    std::memset(field, 0, NameLength);
    std::memcpy(field, Bytes.constData(), std::min<std::size_t>(NameLength, std::size_t(Bytes.size())));
}

std::vector<int> TTileData::ReplaceName(TTileKind Kind, const QString &OldName, const QString &NewName)
{
    // A text with characters the code page lacks is no tile's name.
    if (!AnsiString::CanEncode(OldName))
        return {};
    const QByteArray oldBytes = AnsiString::Encode(OldName);
    const std::string_view old(oldBytes.constData(), static_cast<std::size_t>(oldBytes.size()));
    std::vector<int> renamed;
    for (int i = 0; i < Count(Kind); ++i) {
        if (IsWhole(Kind, i) && SameNameIgnoringAsciiCase(NameBytes(NameField(Kind, i)), old))
            renamed.push_back(i);
    }
    // The new name is encoded once for all of them: the empty name of a
    // fresh file renames every tile.
    const QByteArray newBytes = AnsiString::Encode(NewName);
    for (const int i : renamed)
        PutName(Kind, i, newBytes);
    return renamed;
}

int TTileData::FindName(TTileKind Kind, const QString &Text, int From) const
{
    if (Text.isEmpty() || !AnsiString::CanEncode(Text))
        return -1;
    const std::string wanted = AnsiCodePage::Upper(AnsiString::Encode(Text).toStdString());
    if (wanted.size() > static_cast<std::size_t>(NameLength))
        return -1;
    char name[NameLength];
    for (int i = std::max(From, 0); i < Count(Kind); ++i) {
        const char *field = NameField(Kind, i);
        const int n = NameSize(field);
        std::memcpy(name, field, static_cast<std::size_t>(n));
        AnsiCodePage::UpperBuffer(name, static_cast<std::size_t>(n));
        if (std::string_view(name, static_cast<std::size_t>(n)).find(wanted) != std::string_view::npos)
            return i;
    }
    return -1;
}

QString TTileData::ListLine(TTileKind Kind, int Index) const
{
    // Written in place, so that a line costs one allocation: renames renew
    // one line per renamed tile.
    char16_t text[MaxLineLength];
    const char *name = IsTile(Kind, Index) ? NameField(Kind, Index) : "";
    const int length = IsTile(Kind, Index) ? NameSize(name) : 0;
    const char16_t *end = WriteLine(text, Index, name, length);
    return QString(reinterpret_cast<const QChar *>(text), end - text);
}

std::uint64_t TTileData::GetField(TTileKind Kind, int Index, int Offset, int Size) const
{
    if (!IsTile(Kind, Index))
        return 0;
    std::uint64_t value = 0;
    // Little-endian, as the host is.
    std::memcpy(&value, Record(Kind, Index) + Offset, std::size_t(Size));
    return value;
}

void TTileData::SetField(TTileKind Kind, int Index, int Offset, int Size, std::uint64_t Value)
{
    if (IsWhole(Kind, Index))
        std::memcpy(Record(Kind, Index) + Offset, &Value, std::size_t(Size));
}

std::uint64_t TTileData::GetFlags(TTileKind Kind, int Index) const
{
    return GetField(Kind, Index, 0, FLayout.FlagBytes());
}

void TTileData::SetFlags(TTileKind Kind, int Index, std::uint64_t Value)
{
    SetField(Kind, Index, 0, FLayout.FlagBytes(), Value);
}

void TTileData::SetFlagBit(TTileKind Kind, const std::vector<int> &Tiles, int Bit, bool Set)
{
    if (Bit < 0 || Bit >= FLayout.FlagBits())
        return;
    // Flags are little-endian: bit b lies in byte b / 8 of the word.
    const unsigned char mask = static_cast<unsigned char>(1u << (Bit % 8));
    for (const int tile : Tiles) {
        if (!IsWhole(Kind, tile))
            continue;
        unsigned char &byte = Record(Kind, tile)[Bit / 8];
        byte = Set ? static_cast<unsigned char>(byte | mask) : static_cast<unsigned char>(byte & ~mask);
    }
}

int TTileData::GetTexture(int Index) const
{
    return int(GetField(TTileKind::Land, Index, FLayout.FieldOffset(LandField::Texture), 2));
}

void TTileData::SetTexture(int Index, int Value)
{
    SetField(TTileKind::Land, Index, FLayout.FieldOffset(LandField::Texture), 2, static_cast<unsigned>(Value));
}

int TTileData::GetItemField(int Index, int AfterFlags, int Size) const
{
    return int(GetField(TTileKind::Item, Index, FLayout.FieldOffset(AfterFlags), Size));
}

void TTileData::SetItemField(int Index, int AfterFlags, int Size, int Value)
{
    SetField(TTileKind::Item, Index, FLayout.FieldOffset(AfterFlags), Size, static_cast<unsigned>(Value));
}

int TTileData::GetWeight(int Index) const { return GetItemField(Index, ItemField::Weight, 1); }
void TTileData::SetWeight(int Index, int Value) { SetItemField(Index, ItemField::Weight, 1, Value); }
int TTileData::GetQuality(int Index) const { return GetItemField(Index, ItemField::Quality, 1); }
void TTileData::SetQuality(int Index, int Value) { SetItemField(Index, ItemField::Quality, 1, Value); }
int TTileData::GetUnknown0(int Index) const { return GetItemField(Index, ItemField::Unknown0, 2); }
void TTileData::SetUnknown0(int Index, int Value) { SetItemField(Index, ItemField::Unknown0, 2, Value); }
int TTileData::GetUnknown1(int Index) const { return GetItemField(Index, ItemField::Unknown1, 1); }
void TTileData::SetUnknown1(int Index, int Value) { SetItemField(Index, ItemField::Unknown1, 1, Value); }
int TTileData::GetQuantity(int Index) const { return GetItemField(Index, ItemField::Quantity, 1); }
void TTileData::SetQuantity(int Index, int Value) { SetItemField(Index, ItemField::Quantity, 1, Value); }
int TTileData::GetAnim(int Index) const { return GetItemField(Index, ItemField::Anim, 2); }
void TTileData::SetAnim(int Index, int Value) { SetItemField(Index, ItemField::Anim, 2, Value); }
int TTileData::GetUnknown2(int Index) const { return GetItemField(Index, ItemField::Unknown2, 1); }
void TTileData::SetUnknown2(int Index, int Value) { SetItemField(Index, ItemField::Unknown2, 1, Value); }
int TTileData::GetHue(int Index) const { return GetItemField(Index, ItemField::Hue, 1); }
void TTileData::SetHue(int Index, int Value) { SetItemField(Index, ItemField::Hue, 1, Value); }
int TTileData::GetUnknown3(int Index) const { return GetItemField(Index, ItemField::Unknown3, 1); }
void TTileData::SetUnknown3(int Index, int Value) { SetItemField(Index, ItemField::Unknown3, 1, Value); }
int TTileData::GetUnknown4(int Index) const { return GetItemField(Index, ItemField::Unknown4, 1); }
void TTileData::SetUnknown4(int Index, int Value) { SetItemField(Index, ItemField::Unknown4, 1, Value); }
int TTileData::GetHeight(int Index) const { return GetItemField(Index, ItemField::Height, 1); }
void TTileData::SetHeight(int Index, int Value) { SetItemField(Index, ItemField::Height, 1, Value); }
