#pragma once

#include "tiledata/RangeWrite.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TTileLayout;

// What a save writes beside the file before it changes a byte of it
// (tiledata.mul-journal): the file's length, and for each stretch the save
// writes its offset, its old bytes and its new bytes, so that a save cut
// off anywhere can be finished or undone on the next open. A checksum over
// the whole journal tells one cut short from a whole one.
//
// Laid out little-endian: the eight magic bytes, the file's length (8
// bytes), the number of stretches (4), then per stretch its offset (8), its
// length (4), its old and its new bytes; last the CRC-32 of all before it.
//
// A journal read back is untrusted: whatever its bytes, reading it neither
// crashes nor reads outside them, and only one whose every stretch lies
// apart, in order and within the length it names is taken as whole.
class TSaveJournal
{
public:
    enum class TKind {
        Whole,   // ours, whole and sound
        NotOurs, // another program's file under the journal's name: never touched
        Damaged, // ours but cut short or failing its checksum: the file was not touched yet
    };

    struct TRange
    {
        std::uint64_t At = 0;
        std::size_t Size = 0;
        const unsigned char *Old = nullptr;
        const unsigned char *New = nullptr;
    };

    // "tiledata.mul-journal" beside "tiledata.mul".
    static std::string PathFor(const std::string &FilePath);

    // The journal of a save writing Ranges of New over a file holding Old.
    // Bytes past the end of Old, which a save of a longer file writes, have
    // zeros for old bytes.
    static std::vector<unsigned char> Encode(const std::vector<TByteRange> &Ranges,
                                             const std::vector<unsigned char> &Old,
                                             const std::vector<unsigned char> &New);

    // True when Bytes begin as a journal of ours does: a file of another
    // program's that happens to bear the name is left alone.
    static bool IsOurs(const unsigned char *Bytes, std::size_t Size);
    // Whether the file at JournalPath is a journal of ours; one that cannot
    // be read counts as ours, since it may be.
    static bool OursAt(const std::string &JournalPath);

    // The largest journal a save of a file of FileSize bytes writes; one
    // larger is not read at all.
    static std::uint64_t MostSizeFor(std::uint64_t FileSize);

    // Reads a journal; its ranges point into Bytes, which the object keeps.
    explicit TSaveJournal(std::vector<unsigned char> Bytes);

    TKind Kind() const { return FKind; }
    std::uint64_t FileLength() const { return FFileLength; }
    const std::vector<TRange> &Ranges() const { return FRanges; }

    // The tiles whose records the ranges touch, under the layout that a
    // file of the journal's length has: how many, and "0x1A, land 0x3" for
    // those of Only (all when Only is empty, given as indices into Ranges).
    int TileCount() const;
    std::string TilesText(const std::vector<std::size_t> &Only) const;

private:
    void Read();
    // Calls Visit(kind, index) for each record a chosen range touches.
    template <typename Visit>
    void ForEachTile(const std::vector<std::size_t> &Only, Visit visit) const;

    std::vector<unsigned char> FBytes;
    TKind FKind = TKind::Damaged;
    std::uint64_t FFileLength = 0;
    std::vector<TRange> FRanges;
};
