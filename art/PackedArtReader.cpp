#include "art/PackedArtReader.h"

#include "art/ArtDecoder.h"
#include "art/ArtPaths.h"
#include "art/Lookup3.h"
#include "art/MemoryBytes.h"
#include "art/MessageBoxes.h"
#include "art/PackedTable.h"
#include "art/ReadArtIDX.h"
#include "platform/Error.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"

#include <QStringList>

#include <zlib.h>

#include <array>
#include <cstring>
#include <new>

namespace {

using TKeyOrder = TPackedArtReader::TKeyOrder;

constexpr char NamePrefix[] = "build/artlegacymul/";
constexpr std::size_t PrefixLength = sizeof(NamePrefix) - 1;
constexpr std::size_t Digits = 8;
constexpr char NameSuffix[] = ".tga";
constexpr std::size_t NameLength = PrefixLength + Digits + sizeof(NameSuffix) - 1;

// The name of an art entry, built in place: the order is decided by
// hashing up to every name, so no text is allocated per name.
std::array<char, NameLength> NameBytes(std::int32_t EntryNumber)
{
    std::array<char, NameLength> name{};
    std::memcpy(name.data(), NamePrefix, PrefixLength);
    std::uint32_t rest = std::uint32_t(EntryNumber);
    for (std::size_t d = Digits; d-- > 0; rest /= 10)
        name[PrefixLength + d] = char('0' + rest % 10);
    std::memcpy(name.data() + PrefixLength + Digits, NameSuffix, sizeof(NameSuffix) - 1);
    return name;
}

TLookup3Hash HashOfEntry(std::int32_t EntryNumber)
{
    const std::array<char, NameLength> name = NameBytes(EntryNumber);
    return HashLittle2(name.data(), name.size());
}

std::uint64_t KeyOf(const TLookup3Hash &Hash, TKeyOrder Order)
{
    const std::uint64_t high = Order == TKeyOrder::PrimaryHigh ? Hash.C : Hash.B;
    const std::uint64_t low = Order == TKeyOrder::PrimaryHigh ? Hash.B : Hash.C;
    return (high << 32) | low;
}

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

QByteArray TPackedArtReader::NameOf(std::int32_t EntryNumber)
{
    const std::array<char, NameLength> name = NameBytes(EntryNumber);
    return QByteArray(name.data(), qsizetype(name.size()));
}

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
        FindKeyOrder();
    } catch (const Error &e) {
        problems << QString::fromUtf8(e.what());
    } catch (const std::bad_alloc &) {
        problems << QStringLiteral("Out of memory while reading the table");
    }
    // Without a way to find the art, no picture is shown rather than
    // pictures of the wrong entries.
    if (FKeyOrder == TKeyOrder::Unknown)
        problems << QStringLiteral("no art entries recognised");
    if (!problems.isEmpty())
        MessageBoxes::ShowWarning(FileNamePart(FFileName) + QStringLiteral(": ") + problems.join(QStringLiteral("; ")));
}

void TPackedArtReader::FindKeyOrder()
{
    if (FTable->Count() == 0)
        return;
    // The first art name whose key the table holds decides; in a real
    // container that is entry 0, so the search ends at once.
    for (std::int32_t entry = 0; entry < EntryCount; ++entry) {
        const TLookup3Hash hash = HashOfEntry(entry);
        for (const TKeyOrder order : {TKeyOrder::PrimaryHigh, TKeyOrder::PrimaryLow}) {
            if (FTable->Find(KeyOf(hash, order)) >= 0) {
                FKeyOrder = order;
                return;
            }
        }
    }
}

std::vector<unsigned char> TPackedArtReader::Unpack(std::int32_t EntryNumber) const
{
    if (FKeyOrder == TKeyOrder::Unknown)
        return {};
    const std::uint64_t key = KeyOf(HashOfEntry(EntryNumber), FKeyOrder);
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
