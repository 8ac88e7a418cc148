#include "art/PackedArtReader.h"

#include "art/ArtDecoder.h"
#include "art/ArtPaths.h"
#include "art/MemoryBytes.h"
#include "art/MessageBoxes.h"
#include "art/PackedTable.h"
#include "art/ReadArtIDX.h"
#include "platform/Error.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"

#include <QStringList>

#include <zlib.h>

#include <new>

namespace {

// Whether the entry's sizes can be believed before anything is read: a
// stored entry is as long packed as unpacked, and zlib never makes data
// longer than compressBound says.
bool SizesPlausible(const TPackedEntry &Entry)
{
    if (Entry.Size == 0 || Entry.Size > TPackedArtReader::MostUnpackedSize)
        return false;
    if (Entry.Compression == 0)
        return Entry.StoredSize == Entry.Size;
    return Entry.Compression == 1 && Entry.StoredSize > 0 && Entry.StoredSize <= compressBound(Entry.Size);
}

} // namespace

TPackedArtReader::TPackedArtReader(const QString &FileName, bool UsePatches)
    : FFileName(FileName)
{
    ReadTable();
    if (UsePatches)
        CreateSharedPatchReader(FFileName);
}

// Defined here, where TPackedTable is complete.
TPackedArtReader::~TPackedArtReader() = default;

QString TPackedArtReader::SourceName() const
{
    return FileNamePart(FFileName);
}

void TPackedArtReader::ReadTable()
{
    QStringList problems;
    try {
        const SharedReadFile file(AnsiString::ToPath(FFileName));
        FTable = std::make_unique<TPackedTable>(file);
        if (!FTable->Problem().isEmpty())
            problems << FTable->Problem();
        FKeys = std::make_unique<TPackedArtKeys>(*FTable);
    } catch (const Error &e) {
        problems << QString::fromUtf8(e.what());
    } catch (const std::bad_alloc &) {
        problems << QStringLiteral("Out of memory while reading the table");
    }
    // Without a way to find the art, no picture is shown rather than
    // pictures of the wrong entries.
    if (KeyOrder() == TKeyOrder::Unknown)
        problems << QStringLiteral("no art entries recognised");
    if (!problems.isEmpty())
        MessageBoxes::ShowWarning(FileNamePart(FFileName) + QStringLiteral(": ") + problems.join(QStringLiteral("; ")));
}

std::vector<unsigned char> TPackedArtReader::Unpack(std::int32_t EntryNumber) const
{
    if (KeyOrder() == TKeyOrder::Unknown)
        return {};
    const std::uint64_t key = FKeys->KeyOf(EntryNumber);
    const std::int64_t position = FTable->Find(key);
    if (position < 0)
        return {};
    const SharedReadFile file(AnsiString::ToPath(FFileName));
    TPackedEntry entry;
    if (!TPackedTable::ReadEntry(file, position, key, entry) || !SizesPlausible(entry))
        return {};
    const std::uint64_t fileSize = std::uint64_t(file.Size());
    if (entry.Start > fileSize || entry.StoredSize > fileSize - entry.Start)
        return {};
    std::vector<unsigned char> stored(entry.StoredSize);
    if (file.ReadAt(std::int64_t(entry.Start), stored.data(), stored.size()) != stored.size())
        return {};
    if (entry.Compression == 0)
        return stored;
    // The target holds exactly the size the entry gives: data that unpacks
    // to more fails here instead of growing without bound.
    std::vector<unsigned char> unpacked(entry.Size);
    uLongf length = entry.Size;
    if (uncompress(unpacked.data(), &length, stored.data(), uLong(stored.size())) != Z_OK || length != entry.Size)
        return {};
    return unpacked;
}

void TPackedArtReader::DrawArt(std::int32_t EntryNumber, QImage &Target, QPoint &Size)
{
    if (EntryNumber < 0 || EntryNumber >= EntryCount)
        return;
    const std::vector<unsigned char> bytes = Unpack(EntryNumber);
    if (bytes.empty()) {
        DrawMissing(EntryNumber, Target, Size);
        return;
    }
    TMemoryBytes source(bytes);
    TArtDecoder::DrawEntry(source, 0, Target, Size);
}

void TPackedArtReader::DrawLandArt(std::int32_t EntryNumber, QImage &Target, QPoint &Size)
{
    if (EntryNumber < 0 || EntryNumber >= EntryCount)
        return;
    const std::vector<unsigned char> bytes = Unpack(EntryNumber);
    const std::int64_t pixels = TArtDecoder::LandPixelsStart(std::int64_t(bytes.size()));
    TMemoryBytes source(bytes);
    if (bytes.empty()) {
        DrawMissing(EntryNumber, Target, Size);
    } else if (pixels >= 0) {
        Size = QPoint(0, 0);
        TArtDecoder::DrawRawPixels(source, pixels, Target);
    } else {
        TArtDecoder::DrawEntry(source, 0, Target, Size);
    }
}

void TPackedArtReader::DrawMissing(std::int32_t EntryNumber, QImage &Target, QPoint &Size) const
{
    Size = QPoint(0, 0);
    TArtDecoder::MakeBlank(Target);
    DrawFromSharedPatches(EntryNumber, Target, Size);
}
