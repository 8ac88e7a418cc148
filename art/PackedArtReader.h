#pragma once

#include "art/ArtSource.h"
#include "art/PackedArtKeys.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class TPackedTable;
struct TPackedEntry;

// Draws the art of newer clients, which ship their art entries packed into
// one container, artLegacyMUL.uop, instead of art.mul and artidx.mul.
//
// Each art entry is a file of the container named by its number, found by
// the hash of that name; unpacked, it holds the same bytes as the entry in
// art.mul and is drawn by the same decoders. The table of contents is read
// at construction, entries are read and unpacked on request; no file stays
// open between calls.
//
// The file is untrusted. A broken table, or one in which no art entry is
// found, is reported once in a warning box naming the file; the reader then
// draws what it could find. An entry that cannot be unpacked as its entry
// says, or that would unpack to more than 4 MiB, is drawn as missing.
class TPackedArtReader : public TArtSource
{
public:
    // How the two halves of the name's hash make the container's 64-bit
    // key, found out from the file.
    using TKeyOrder = TPackedArtKeys::TKeyOrder;

    // The art entries the container names: land 0 to 0x3FFF, items from
    // 0x4000 on.
    static constexpr std::int32_t EntryCount = TPackedArtKeys::EntryCount;
    static constexpr std::uint32_t MostUnpackedSize = 4 * 1024 * 1024;

    // Reads the table. With UsePatches, also creates the process's shared
    // patch list over verdata.mul beside the container, as TArtReader does.
    TPackedArtReader(const QString &FileName, bool UsePatches);
    ~TPackedArtReader() override;

    TPackedArtReader(const TPackedArtReader &) = delete;
    TPackedArtReader &operator=(const TPackedArtReader &) = delete;

    // Numbers outside 0 to EntryCount - 1 leave Target and Size untouched.
    void DrawArt(std::int32_t EntryNumber, QImage &Target, QPoint &Size) override;
    void DrawLandArt(std::int32_t EntryNumber, QImage &Target, QPoint &Size) override;
    QString SourceName() const override;

    TKeyOrder KeyOrder() const { return FKeys ? FKeys->Order() : TKeyOrder::Unknown; }

private:
    void ReadTable();
    // The unpacked bytes of the entry; empty when the container lacks it or
    // it cannot be unpacked.
    std::vector<unsigned char> Unpack(std::int32_t EntryNumber) const;
    void DrawMissing(std::int32_t EntryNumber, QImage &Target, QPoint &Size) const;

    QString FFileName;
    std::unique_ptr<TPackedTable> FTable;
    std::unique_ptr<TPackedArtKeys> FKeys; // null when the table could not be read
};
