#include "art/ReadArtIDX.h"

#include "art/ArtPaths.h"
#include "art/MessageBoxes.h"
#include "art/ReadWindow.h"
#include "art/unverdata.h"
#include "platform/Error.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"

#include <QtEndian>

#include <algorithm>
#include <limits>
#include <memory>
#include <new>

namespace {

constexpr int IndexRecordSize = 12;
constexpr int IndexRecordsPerRead = 4096;

std::unique_ptr<TVerdataReader> &SharedPatchReaderSlot()
{
    static std::unique_ptr<TVerdataReader> reader;
    return reader;
}

std::int32_t Long(const unsigned char *Bytes)
{
    return qFromLittleEndian<std::int32_t>(Bytes);
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
    if (UsePatches)
        CreateSharedPatchReader(FArtFileName);
}

void CreateSharedPatchReader(const QString &ArtFileName)
{
    if (SharedPatchReader() != nullptr)
        return;
    // The patch list is read once, from beside the first art file of the
    // process, and then lives in memory; the patch file itself is opened
    // again for each patch that is drawn.
    auto &reader = SharedPatchReaderSlot();
    reader = std::make_unique<TVerdataReader>(
        AddTrailingBackslash(DirectoryPart(ArtFileName)) + QStringLiteral("verdata.mul"));
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
    TArtDecoder::MakeBlank(Target);
    if (entry.Offset != -1) {
        if (kind == TArtKind::RunLength)
            DrawRunLengthArt(entry.Offset, Target, Size);
        else if (kind == TArtKind::Raw)
            DrawRawArt(entry.Offset, Target);
        return;
    }
    DrawFromSharedPatches(EntryNumber, Target, Size);
}

QString TArtReader::SourceName() const
{
    return FileNamePart(FArtFileName);
}

void DrawFromSharedPatches(std::int32_t EntryNumber, QImage &Target, QPoint &Size)
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
    TReadWindow bytes(file);
    // A negative offset puts the header before the file's first byte.
    return TArtDecoder::KindAt(bytes, FEntries[std::size_t(EntryNumber)].Offset);
}

void TArtReader::DrawRawArt(std::int32_t Offset, QImage &Target)
{
    DrawRawPixels(Offset < 0 ? -1 : std::int64_t(Offset) + TArtDecoder::HeaderSize, Target);
}

void TArtReader::DrawLandArt(std::int32_t EntryNumber, QImage &Target, QPoint &Size)
{
    // Land entries come with or without a header word before their pixels,
    // depending on the files; the entry's length tells which.
    if (HasEntry(EntryNumber)) {
        const TArtIndexEntry &entry = FEntries[std::size_t(EntryNumber)];
        const std::int64_t pixels = TArtDecoder::LandPixelsStart(entry.Length);
        if (entry.Offset >= 0 && pixels >= 0) {
            FCurrentEntry = EntryNumber;
            Size = QPoint(0, 0);
            DrawRawPixels(std::int64_t(entry.Offset) + pixels, Target);
            return;
        }
    }
    DrawArt(EntryNumber, Target, Size);
}

void TArtReader::DrawRawPixels(std::int64_t PixelsAt, QImage &Target)
{
    const SharedReadFile file(AnsiString::ToPath(FArtFileName));
    TReadWindow bytes(file);
    TArtDecoder::DrawRawPixels(bytes, PixelsAt, Target);
}

void TArtReader::DrawRunLengthArt(std::int32_t Offset, QImage &Target, QPoint &Size)
{
    const SharedReadFile file(AnsiString::ToPath(FArtFileName));
    TReadWindow bytes(file);
    TArtDecoder::DrawRunLength(bytes, Offset, Target, Size);
}
