#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// Builds the art files byte by byte from their layouts, for tests and demo
// data: the art index artidx.mul (12-byte records), the art file art.mul
// (raw diamonds and run-length pictures) and the patch file verdata.mul. It
// works out every position itself and shares no code with the readers.
//
// Entries are numbered in the order they are added; patch data is placed
// after the patch records, so record offsets are final only when the file
// is written.
class ArtWriter
{
public:
    using Bytes = std::vector<unsigned char>;
    using Pixels = std::vector<std::uint16_t>; // 16-bit words, 1-5-5-5

    static constexpr int RawSide = 44;
    static constexpr int RawPixelCount = 1012;
    static constexpr std::int32_t ArtFileId = 4;
    static constexpr std::int32_t StaticArtBase = 0x4000;

    // One run of a run-length row: Gap pixels left out, then Data. When
    // Count is not -1 it is written in place of the number of pixels, for
    // data that lies about its runs.
    struct Run
    {
        std::uint16_t Gap = 0;
        Pixels Data;
        int Count = -1;
    };
    // A row's runs; the writer ends every row with the pair (0, 0). A run
    // with no pixels is written as a pair with count 0, which ends the row
    // early.
    using Row = std::vector<Run>;

    struct RunLengthPicture
    {
        std::uint32_t Header = 1;
        std::uint16_t Width = 0;
        std::uint16_t Height = 0;
        std::vector<Row> Rows; // rows past the end of this list are empty
    };

    // Entry data --------------------------------------------------------

    // A raw entry: the header word, then the 1012 diamond pixels.
    static Bytes RawEntry(const Pixels &Diamond, std::uint32_t Header = 0);
    // The 1012 diamond pixels of a 44 x 44 picture (row-major), in file order.
    static Pixels DiamondOf(const Pixels &Picture);
    // True when column X of row Y lies inside the raw diamond.
    static bool InDiamond(int X, int Y);

    // A run-length entry: header, width, height, line table, rows. Throws
    // std::runtime_error when a row would start beyond what a 16-bit line
    // table word can reach.
    static Bytes RunLengthEntry(const RunLengthPicture &Picture);
    // Turns a Width x Height picture (row-major) into runs, leaving out
    // every pixel equal to Transparent.
    static RunLengthPicture RunsOf(int Width, int Height, const Pixels &Picture,
                                   std::uint16_t Transparent, std::uint32_t Header = 1);

    // artidx.mul and art.mul ---------------------------------------------

    // Appends Data to the art file with an index record pointing at it and
    // returns the entry number.
    int AddEntry(const Bytes &Data, std::uint32_t Extra = 0);
    int AddRaw(const Pixels &Diamond);
    int AddRawPicture(const Pixels &Picture);
    int AddRunLength(const RunLengthPicture &Picture);
    int AddRunLength(int Width, int Height, const Pixels &Picture, std::uint16_t Transparent);
    // An index record with offset -1: an entry the art file does not hold.
    int AddAbsent();
    // An index record with any values, for malformed indexes.
    int AddIndexRecord(std::int32_t Offset, std::int32_t Length, std::uint32_t Extra = 0);
    // Adds absent entries until the next entry added gets number Number.
    void PadToEntry(int Number);
    int EntryCount() const { return int(FIndex.size()); }
    // Appends bytes to the art file that no index record points at and
    // returns their offset.
    std::int32_t AppendArtBytes(const Bytes &Data);

    // verdata.mul ---------------------------------------------------------

    // A record for file FileId and block Block, with Data placed in the
    // patch file's data area.
    void AddPatch(std::int32_t FileId, std::int32_t Block, const Bytes &Data);
    // A record with an offset taken as it is.
    void AddPatchRecord(std::int32_t FileId, std::int32_t Block, std::int32_t Offset,
                        std::int32_t Length, std::int32_t Extra = 0);
    // Writes Count as the record count instead of the number of records.
    void SetDeclaredPatchCount(std::int32_t Count);

    // Files ---------------------------------------------------------------

    Bytes ArtIndexBytes() const;
    Bytes ArtBytes() const { return FArt; }
    Bytes VerdataBytes() const;
    // Writes artidx.mul, art.mul and verdata.mul into Folder.
    void WriteTo(const QString &Folder) const;
    void WriteArtFilesTo(const QString &Folder) const;
    void WriteVerdataTo(const QString &Folder) const;

private:
    struct IndexRecord
    {
        std::int32_t Offset;
        std::int32_t Length;
        std::uint32_t Extra;
    };
    struct PatchRecord
    {
        std::int32_t FileId;
        std::int32_t Block;
        std::int32_t Offset; // into the data area when InDataArea
        std::int32_t Length;
        std::int32_t Extra;
        bool InDataArea;
    };

    Bytes FArt;
    std::vector<IndexRecord> FIndex;
    Bytes FPatchData;
    std::vector<PatchRecord> FPatches;
    bool FHasDeclaredCount = false;
    std::int32_t FDeclaredCount = 0;
};
