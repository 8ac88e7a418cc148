#pragma once

#include <QString>

#include <cstdint>
#include <vector>

class SharedReadFile;

// Where one file of a packed container lies: its bytes start at Start and
// are StoredSize long; unpacked they are Size long.
struct TPackedEntry
{
    std::uint64_t Key = 0;   // the hash of the file's name
    std::uint64_t Start = 0; // data offset plus the length of the data header
    std::uint32_t StoredSize = 0;
    std::uint32_t Size = 0;
    std::uint16_t Compression = 0; // 0 stored, 1 zlib
};

// The table of contents of a packed container: a header, then a chain of
// blocks, each with a count, the offset of the next block and that many
// 34-byte entries. The keys are read whole at construction and looked up
// there, first by passes over them, after some look-ups through a hash
// table; the rest of an entry is read when it is wanted. A newer client's
// table holds some 80,000 entries, of which a draw wants one, and keeping
// only their keys keeps opening the container close to the cost of
// reading the art index.
//
// The file is untrusted. A chain that loops or runs past the file, counts
// that claim more entries than the file holds, and more blocks or entries
// than any real container has end the reading; the entries read up to then
// stay, and Problem says what was wrong. Keys made to collide in the hash
// table cost no more than a few dozen probes a look-up. Entries are not checked here:
// their offsets and sizes are checked when they are unpacked.
class TPackedTable
{
public:
    explicit TPackedTable(const SharedReadFile &File);

    // The file position of the entry with Key, or -1. Of several entries
    // with one key the first counts.
    std::int64_t Find(std::uint64_t Key) const;

    // Reads the entry at Position of File (as Find gave it) into Entry;
    // false when it no longer holds Key, as after the file was changed.
    static bool ReadEntry(const SharedReadFile &File, std::int64_t Position, std::uint64_t Key, TPackedEntry &Entry);

    // The number of used entries.
    std::size_t Count() const { return FUsed; }

    // What was wrong with the table, empty when nothing was.
    const QString &Problem() const { return FProblem; }

private:
    void ReadBlocks(const SharedReadFile &File, std::uint64_t First);
    // Reads the block at Offset and returns the offset of the next one, or
    // 0 where the chain ends, also because of a problem.
    std::uint64_t ReadBlock(const SharedReadFile &File, std::uint64_t Offset);
    void BuildSlots() const;
    static std::uint64_t Mixed(std::uint64_t Key);
    std::uint32_t TagOf(std::uint64_t Key) const;
    // The number of the entry with Key in FKeys, or -1; At is left at the
    // slot that holds it, or at the free slot where it would go (when it
    // is not free, the walk went too far).
    std::int64_t Probe(std::uint64_t Key, std::size_t &At) const;
    std::int64_t PositionOf(std::size_t Record) const;

    // No entry is placed further than this from its first slot, so that no
    // look-up walks far, whatever keys a file holds.
    static constexpr int MostProbes = 64;
    // A slot holds an entry's number plus one above a tag of TagBits bits
    // from its key's hash, and is 0 when free.
    static constexpr int TagBits = 12;
    static constexpr std::uint32_t TagMask = (1u << TagBits) - 1;

    // The key of every entry read, used or not, in file order.
    std::vector<std::uint64_t> FKeys;
    std::vector<unsigned char> FUnused; // not vector<bool>: a byte is set faster than a bit
    std::size_t FUsed = 0;
    // Each block read: the number of its first entry in FKeys and the file
    // position of that entry.
    struct TBlock
    {
        std::size_t First;
        std::int64_t Records;
    };
    std::vector<TBlock> FBlocks;
    // Open addressing over the used entries of FKeys, 2 to the power
    // FSlotBits slots, built by the first look-up after ScansBeforeTable
    // look-ups that passed over FKeys instead (see Find).
    static constexpr int ScansBeforeTable = 32;
    mutable int FScans = 0;
    mutable std::vector<std::uint32_t> FSlots;
    mutable int FSlotBits = 0;
    QString FProblem;
    std::size_t FBlockBytes = 0;        // what is read of a block at first
    std::vector<unsigned char> FBuffer; // a block's bytes, reused for each
};
