#pragma once

#include "art/ArtDecoder.h"
#include "art/ArtIndexEntry.h"
#include "art/ArtSource.h"

#include <QImage>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <vector>

class SharedReadFile;
class TVerdataReader;

// Decodes the entries of one art file into 15-bit bitmaps.
//
// The whole index is read into memory at construction; art data is read on
// request, one entry per draw, through TArtDecoder. No file stays open
// between calls.
class TArtReader : public TArtSource
{
public:
    // Reads the index (see LoadIndex). With UsePatches, the first reader of
    // the process also creates SharedPatchReader over the patch file beside
    // ArtFileName and loads its patch list; a failed read of that list
    // passes its Error on, with the patch file closed again.
    TArtReader(const QString &ArtFileName, const QString &IndexFileName, bool UsePatches);

    TArtReader(const TArtReader &) = delete;
    TArtReader &operator=(const TArtReader &) = delete;

    // Rebuilds the table from the index file; an empty index file name gives
    // an empty table. A file that cannot be read is reported in a warning
    // box; the records read up to then are kept. A trailing incomplete
    // record is ignored.
    void LoadIndex();

    // Draws art entry EntryNumber into Target and sets Size to the picture's
    // width and height ((0, 0) for raw and undrawable entries). Numbers
    // outside the table leave Target and Size untouched. Entries the index
    // marks absent are drawn from the shared patch list when it has a patch
    // for them; otherwise Target stays white at the size it already had (a
    // new, empty target becomes 1 x 1). Throws Error "Cannot open file ..."
    // when the art file cannot be opened.
    void DrawArt(std::int32_t EntryNumber, QImage &Target, QPoint &Size) override;

    // Decodes the run-length entry at byte Offset of the art file. A header
    // with width 0, height 0 or height above 2560 leaves Target untouched.
    // Size is set only when every row decoded; a run above 5120 pixels or
    // data ending early stops the decode with the rest of Target white.
    void DrawRunLengthArt(std::int32_t Offset, QImage &Target, QPoint &Size);

    // Decodes the raw diamond at byte Offset into a 44 x 44 Target, white
    // outside the diamond and wherever the file ends early.
    void DrawRawArt(std::int32_t Offset, QImage &Target);

    // Draws the land tile picture of art entry EntryNumber: an entry of
    // 2,024 bytes is the bare diamond, one of 2,028 has a header word before
    // it; any other entry is drawn as DrawArt draws it.
    void DrawLandArt(std::int32_t EntryNumber, QImage &Target, QPoint &Size) override;

    // "art.mul", or whatever the art file is called.
    QString SourceName() const override;

    // Opens the art file and classifies the header word of the entry.
    TArtKind ReadArtHeader(std::int32_t EntryNumber);

    static bool IsRunLengthHeader(std::int32_t Header) { return TArtDecoder::IsRunLengthHeader(Header); }
    static std::uint32_t PixelToColor(std::uint16_t Pixel) { return TArtDecoder::PixelToColor(Pixel); }

    int EntryCount() const { return static_cast<int>(FEntries.size()); }
    const TArtIndexEntry &Entry(int Index) const { return FEntries.at(static_cast<std::size_t>(Index)); }

private:
    // The raw diamond whose pixels start at byte PixelsAt (-1: none).
    void DrawRawPixels(std::int64_t PixelsAt, QImage &Target);
    void ReadIndexRecords(const SharedReadFile &File);
    void AppendEntry();
    bool HasEntry(std::int32_t EntryNumber) const;

    std::vector<TArtIndexEntry> FEntries;
    int FCurrentEntry = -1; // position in FEntries of the entry last appended or looked up
    QString FArtFileName;
    QString FIndexFileName;
    std::int32_t FReadOffset = 0;
    std::int32_t FReadLength = 0;
    std::int32_t FReadExtra = 0;
};

// The one patch reader of the process, created by the first art reader
// constructed with patches enabled and kept until the process ends; null
// before that. Every reader draws its absent entries from its list.
TVerdataReader *SharedPatchReader();

// Creates the shared patch reader over the patch file in the folder of
// ArtFileName and loads its list, unless the process has one already. A
// failed read of the list passes its Error on, with the patch file closed
// again.
void CreateSharedPatchReader(const QString &ArtFileName);

// Draws the shared list's patch for art entry EntryNumber, if it has one;
// otherwise, or without a shared list, leaves Target and Size alone.
void DrawFromSharedPatches(std::int32_t EntryNumber, QImage &Target, QPoint &Size);
