#include "art/ReadArtIDX.h"

#include "art/ArtPaths.h"
#include "art/MessageBoxes.h"
#include "art/unverdata.h"
#include "platform/Error.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"

#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace {

constexpr int IndexRecordSize = 12;
constexpr int IndexRecordsPerRead = 4096;
constexpr int HeaderSize = 4;
constexpr int PixelSize = 2;
constexpr int RawSide = 44;
constexpr int RawPixelCount = 1012;
constexpr int MaxRunLengthHeight = 2560;
constexpr std::int64_t MaxRunLength = 5120;
// White as a 1-5-5-5 pixel. Filling with the raw pixel is a plain memory
// fill; filling with a QColor goes through a painter and costs more than
// decoding a small picture.
constexpr uint WhitePixel = 0x7FFF;

std::unique_ptr<TVerdataReader> &SharedPatchReaderSlot()
{
    static std::unique_ptr<TVerdataReader> reader;
    return reader;
}

std::uint16_t Word(const unsigned char *Bytes)
{
    return qFromLittleEndian<std::uint16_t>(Bytes);
}

std::int32_t Long(const unsigned char *Bytes)
{
    return qFromLittleEndian<std::int32_t>(Bytes);
}

// First column and width of row Row of the raw diamond: rows widen by two
// pixels per row down to rows 21 and 22, which span all 44 columns.
int RawRowFirstColumn(int Row)
{
    return Row < RawSide / 2 ? RawSide / 2 - 1 - Row : Row - RawSide / 2;
}

int RawRowWidth(int Row)
{
    return Row < RawSide / 2 ? 2 * (Row + 1) : 2 * (RawSide - Row);
}

QRgb ToQRgb(std::uint32_t Color)
{
    return qRgb(Color & 0xFF, (Color >> 8) & 0xFF, (Color >> 16) & 0xFF);
}

// The run-length decoder asks for a few bytes at a time: a pair, then a
// run, row after row. Going to the file for each costs a system call per
// request, which made a 512 x 512 picture hundreds of times slower than
// reading its bytes. This window serves the requests from memory, reading
// the file only when a request leaves the bytes already read, and then
// twice as far as the time before, up to a limit that keeps a line table
// jumping to and fro in a hostile file from costing more than a fraction of
// a second. Requests see exactly what the file's own ReadAt would give
// them: short only at the end of the file, nothing for negative positions.
class TReadWindow
{
public:
    explicit TReadWindow(const SharedReadFile &File)
        : FFile(File)
    {
    }

    std::size_t ReadAt(std::int64_t Position, void *Buffer, std::size_t Length)
    {
        if (Position < 0)
            return 0;
        if (!Holds(Position, Length))
            Fill(Position, Length);
        const std::size_t held = std::size_t(FBytes.size());
        const std::size_t skip = static_cast<std::size_t>(Position - FStart);
        if (skip >= held)
            return 0;
        const std::size_t n = std::min(Length, held - skip);
        // data(), not constData(): the const accessor may give Qt's one-byte
        // empty array, and GCC for mingw-w64 then warns of a copy beyond it
        // on a path that has already returned above.
        std::memcpy(Buffer, FBytes.data() + skip, n);
        return n;
    }

private:
    static constexpr std::size_t FirstFill = 16 * 1024;
    static constexpr std::size_t MostFill = 256 * 1024;

    // True when the window can answer the request, also by a short answer
    // because the file ends inside the window.
    bool Holds(std::int64_t Position, std::size_t Length) const
    {
        if (FBytes.isEmpty() || Position < FStart)
            return false;
        const std::int64_t end = FStart + std::int64_t(FBytes.size());
        return Position + std::int64_t(Length) <= end || (FAtEnd && Position <= end);
    }

    void Fill(std::int64_t Position, std::size_t Length)
    {
        const std::size_t held = std::size_t(FBytes.size());
        const std::size_t wanted = std::max({Length, FirstFill, std::min(2 * held, MostFill)});
        // Growing by resize would copy the old bytes, which are read over.
        if (std::size_t(FBytes.capacity()) < wanted)
            FBytes = QByteArray(qsizetype(wanted), Qt::Uninitialized);
        else
            FBytes.resize(qsizetype(wanted));
        FBytes.resize(qsizetype(FFile.ReadAt(Position, FBytes.data(), wanted)));
        FStart = Position;
        FAtEnd = std::size_t(FBytes.size()) < wanted;
    }

    const SharedReadFile &FFile;
    QByteArray FBytes; // resizing leaves new bytes unset: they are read over at once
    std::int64_t FStart = 0;
    bool FAtEnd = false;
};

enum class TRowEnd { Done, StopDecode };

// Reads Count pixels of a run straight into a row of the target, RowPixels,
// from column Column on. A short read leaves the missing pixels white.
bool ReadRunIntoRow(TReadWindow &File, std::int64_t Position, std::uint16_t *RowPixels, std::int64_t Column,
                    std::int64_t Count)
{
    std::uint16_t *pixels = RowPixels + Column;
    const std::size_t wanted = static_cast<std::size_t>(Count) * PixelSize;
    const std::size_t got = File.ReadAt(Position, pixels, wanted);
    // The file's words are little-endian, as the bitmap's are on
    // little-endian machines; elsewhere they are swapped in place.
    qFromLittleEndian<std::uint16_t>(pixels, qsizetype(got / PixelSize), pixels);
    if (got % PixelSize != 0)
        pixels[got / PixelSize] = 0x7FFF; // half a pixel is no pixel: back to white
    return got == wanted;
}

// Draws one row: a chain of (gap, count) pairs, each followed by count
// pixels, ended by a pair with count 0 or by a run that does not fit.
// Every run either moves the column on by at least one pixel or ends the
// row, so a row never takes more runs than the target is wide.
TRowEnd DrawRunLengthRow(TReadWindow &File, std::int64_t Position, QImage &Target, int Row)
{
    const std::int64_t width = Target.width();
    // Asked once per row: every scanLine call also checks whether the image
    // must be copied before it is written, which per run adds up.
    auto *rowPixels = reinterpret_cast<std::uint16_t *>(Target.scanLine(Row));
    std::int64_t column = 0;
    for (;;) {
        std::array<unsigned char, 4> pair{};
        if (File.ReadAt(Position, pair.data(), pair.size()) != pair.size())
            return TRowEnd::StopDecode;
        Position += std::int64_t(pair.size());
        const std::int64_t count = Word(pair.data() + 2);
        if (count == 0)
            return TRowEnd::Done;
        column += Word(pair.data());
        if (count > MaxRunLength)
            return TRowEnd::StopDecode;
        const std::int64_t inside = std::clamp<std::int64_t>(width - column, 0, count);
        if (inside > 0 && !ReadRunIntoRow(File, Position, rowPixels, column, inside))
            return TRowEnd::StopDecode;
        if (inside < count)
            return TRowEnd::Done;
        column += count;
        Position += count * PixelSize;
    }
}

} // namespace

TVerdataReader *SharedPatchReader()
{
    return SharedPatchReaderSlot().get();
}

TArtReader::TArtReader(const QString &ArtFileName, const QString &IndexFileName, bool UsePatches)
    : FArtFileName(ArtFileName)
    , FIndexFileName(IndexFileName)
{
    LoadIndex();
    if (UsePatches && SharedPatchReader() == nullptr)
        CreateSharedPatchReader();
}

void TArtReader::CreateSharedPatchReader() const
{
    // The patch list is read once, from beside the first art file of the
    // process, and then lives in memory; the patch file itself is opened
    // again for each patch that is drawn.
    auto &reader = SharedPatchReaderSlot();
    reader = std::make_unique<TVerdataReader>(
        AddTrailingBackslash(DirectoryPart(FArtFileName)) + QStringLiteral("verdata.mul"));
    // Closed in every case: a failed read of the list must not leave the
    // patch file open for the rest of the program.
    struct TCloseOnExit
    {
        TVerdataReader &Reader;
        ~TCloseOnExit() { Reader.Close(); }
    } closeOnExit{*reader};
    if (reader->Open())
        reader->LoadPatches();
}

void TArtReader::LoadIndex()
{
    FEntries.clear();
    FCurrentEntry = -1;
    if (FIndexFileName.isEmpty())
        return;
    QString reason;
    try {
        const SharedReadFile file(AnsiString::ToPath(FIndexFileName));
        ReadIndexRecords(file);
        return;
    } catch (const Error &e) {
        reason = QString::fromUtf8(e.what());
    } catch (const std::bad_alloc &) {
        reason = QStringLiteral("Out of memory while expanding memory stream");
    }
    // The reader stays usable with the entries read so far.
    MessageBoxes::ShowWarning(QStringLiteral("Fehler beim öffnen von \"%1\"\r\nMeldung: %2")
                                  .arg(FileNamePart(FIndexFileName), reason));
}

void TArtReader::ReadIndexRecords(const SharedReadFile &File)
{
    std::vector<unsigned char> chunk(std::size_t(IndexRecordSize) * IndexRecordsPerRead);
    // Room for every record at once: growing the table by doubling would
    // leave up to half of it unused for as long as the reader lives, a
    // megabyte with the index of a newer client.
    const std::int64_t records = File.Size() / IndexRecordSize;
    FEntries.reserve(FEntries.size()
                     + std::size_t(std::min<std::int64_t>(records, std::numeric_limits<std::int32_t>::max())));
    std::int64_t position = 0;
    while (position < File.Size()) {
        const std::size_t got = File.ReadAt(position, chunk.data(), chunk.size());
        for (std::size_t at = 0; at + IndexRecordSize <= got; at += IndexRecordSize) {
            // Entry numbers are signed 32-bit; an index can name no more.
            if (FEntries.size() >= std::size_t(std::numeric_limits<std::int32_t>::max()))
                return;
            FReadOffset = Long(&chunk[at]);
            FReadLength = Long(&chunk[at + 4]);
            FReadExtra = Long(&chunk[at + 8]);
            AppendEntry();
        }
        // A short read is the end of the file; an incomplete last record
        // describes no entry and is left out.
        if (got < chunk.size())
            return;
        position += std::int64_t(got);
    }
}

void TArtReader::AppendEntry()
{
    TArtIndexEntry entry;
    entry.Number = static_cast<std::int32_t>(FEntries.size());
    entry.Offset = FReadOffset;
    entry.Length = FReadLength;
    FEntries.push_back(entry);
    FCurrentEntry = entry.Number;
}

bool TArtReader::HasEntry(std::int32_t EntryNumber) const
{
    return EntryNumber >= 0 && std::size_t(EntryNumber) < FEntries.size();
}

void TArtReader::DrawArt(std::int32_t EntryNumber, QImage &Target, QPoint &Size)
{
    if (!HasEntry(EntryNumber))
        return;
    const TArtKind kind = ReadArtHeader(EntryNumber);
    const TArtIndexEntry entry = FEntries[std::size_t(FCurrentEntry)];
    Size = QPoint(0, 0);
    MakeBlank(Target);
    if (entry.Offset != -1) {
        if (kind == TArtKind::RunLength)
            DrawRunLengthArt(entry.Offset, Target, Size);
        else if (kind == TArtKind::Raw)
            DrawRawArt(entry.Offset, Target);
        return;
    }
    DrawFromPatch(EntryNumber, Target, Size);
}

void TArtReader::MakeBlank(QImage &Target)
{
    // The target keeps its size; a picture that cannot be drawn must not
    // make it grow from one draw to the next.
    if (Target.isNull())
        Target = QImage(1, 1, QImage::Format_RGB555);
    else if (Target.format() != QImage::Format_RGB555)
        Target = QImage(Target.size(), QImage::Format_RGB555);
    Target.fill(WhitePixel);
}

void TArtReader::DrawFromPatch(std::int32_t EntryNumber, QImage &Target, QPoint &Size) const
{
    TVerdataReader *patches = SharedPatchReader();
    if (patches == nullptr)
        return;
    const std::int32_t count = patches->PatchCount();
    TPatchEntry patch;
    for (std::int32_t i = 0; i < count; ++i) {
        patches->GetPatch(i, patch);
        // Blocks are stored reduced by 0x4000; the sum wraps like the
        // reduction did, so every block finds its own entry again.
        if (std::uint32_t(patch.Block) + StaticArtBase == std::uint32_t(EntryNumber)) {
            patches->DrawPatch(patch.Offset, Target, Size);
            return;
        }
    }
}

TArtKind TArtReader::ReadArtHeader(std::int32_t EntryNumber)
{
    if (!HasEntry(EntryNumber))
        return TArtKind::Unreadable;
    FCurrentEntry = EntryNumber;
    const SharedReadFile file(AnsiString::ToPath(FArtFileName));
    std::array<unsigned char, HeaderSize> header{};
    // A negative offset puts the header before the file's first byte.
    const std::int32_t offset = FEntries[std::size_t(EntryNumber)].Offset;
    if (offset < 0 || file.ReadAt(offset, header.data(), header.size()) != header.size())
        return TArtKind::Unreadable;
    return IsRunLengthHeader(Long(header.data())) ? TArtKind::RunLength : TArtKind::Raw;
}

bool TArtReader::IsRunLengthHeader(std::int32_t Header)
{
    return Header != 0 && Header <= 0xFFFF;
}

std::uint32_t TArtReader::PixelToColor(std::uint16_t Pixel)
{
    const auto widen = [](std::uint32_t Channel) { return (Channel * 255 + 15) / 31; };
    const std::uint32_t red = widen((Pixel >> 10) & 31);
    const std::uint32_t green = widen((Pixel >> 5) & 31);
    const std::uint32_t blue = widen(Pixel & 31);
    return red | (green << 8) | (blue << 16);
}

void TArtReader::DrawRawArt(std::int32_t Offset, QImage &Target)
{
    DrawRawPixels(Offset < 0 ? -1 : std::int64_t(Offset) + HeaderSize, Target);
}

void TArtReader::DrawLandArt(std::int32_t EntryNumber, QImage &Target, QPoint &Size)
{
    // Land entries come with or without a header word before their pixels,
    // depending on the files; the entry's length tells which.
    constexpr std::int32_t BareLength = RawPixelCount * PixelSize;
    if (HasEntry(EntryNumber)) {
        const TArtIndexEntry &entry = FEntries[std::size_t(EntryNumber)];
        if (entry.Offset >= 0 && (entry.Length == BareLength || entry.Length == BareLength + HeaderSize)) {
            FCurrentEntry = EntryNumber;
            Size = QPoint(0, 0);
            DrawRawPixels(std::int64_t(entry.Offset) + (entry.Length == BareLength ? 0 : HeaderSize), Target);
            return;
        }
    }
    DrawArt(EntryNumber, Target, Size);
}

void TArtReader::DrawRawPixels(std::int64_t PixelsAt, QImage &Target)
{
    Target = QImage(RawSide, RawSide, QImage::Format_RGB555);
    Target.fill(Qt::white);
    const SharedReadFile file(AnsiString::ToPath(FArtFileName));
    std::array<unsigned char, RawPixelCount * PixelSize> data{};
    const std::size_t available = PixelsAt < 0 ? 0 : file.ReadAt(PixelsAt, data.data(), data.size()) / PixelSize;
    std::size_t next = 0;
    for (int y = 0; y < RawSide; ++y) {
        const int first = RawRowFirstColumn(y);
        for (int x = first; x < first + RawRowWidth(y); ++x, ++next) {
            if (next >= available)
                return;
            Target.setPixel(x, y, ToQRgb(PixelToColor(Word(&data[next * PixelSize]))));
        }
    }
}

void TArtReader::DrawRunLengthArt(std::int32_t Offset, QImage &Target, QPoint &Size)
{
    const SharedReadFile artFile(AnsiString::ToPath(FArtFileName));
    TReadWindow file(artFile);
    if (Offset < 0)
        return; // the header would lie before the file's first byte
    const std::int64_t start = std::int64_t(Offset) + HeaderSize;
    std::array<unsigned char, 4> dimensions{};
    if (file.ReadAt(start, dimensions.data(), dimensions.size()) != dimensions.size())
        return;
    const int width = Word(dimensions.data());
    const int height = Word(dimensions.data() + 2);
    if (width == 0 || height == 0 || height > MaxRunLengthHeight)
        return;

    std::vector<unsigned char> lineTable(std::size_t(height) * PixelSize);
    const std::int64_t tableStart = start + std::int64_t(dimensions.size());
    const int rowsInTable = int(file.ReadAt(tableStart, lineTable.data(), lineTable.size()) / PixelSize);

    // A target of the right size is filled anew rather than replaced: the
    // window draws picture after picture into the same bitmap.
    if (Target.width() != width || Target.height() != height || Target.format() != QImage::Format_RGB555)
        Target = QImage(width, height, QImage::Format_RGB555);
    if (Target.isNull())
        return; // not enough memory for the picture
    Target.fill(WhitePixel);

    const std::int64_t dataStart = tableStart + std::int64_t(lineTable.size());
    for (int y = 0; y < height && y < Target.height(); ++y) {
        if (y >= rowsInTable)
            return;
        const std::int64_t rowStart = dataStart + std::int64_t(Word(&lineTable[std::size_t(y) * PixelSize])) * PixelSize;
        if (DrawRunLengthRow(file, rowStart, Target, y) == TRowEnd::StopDecode)
            return;
    }
    Size = QPoint(width, height);
}
