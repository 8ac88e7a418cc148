#pragma once

#include "tiledata/TileKind.h"

#include <array>
#include <vector>

class TTileData;

// Which tiles differ between two tile data files: tile i of each section is
// compared with tile i of the other file, over the tiles whose records both
// files wholly hold.
// Every byte of a record counts, the bytes after a name's terminating zero
// included. Files of the two layouts are compared field by field: the flags
// as numbers, so that a classic file's missing bits 32 to 63 count as
// clear, and the rest of the record byte by byte, as both lay it out alike.
// Group headers and bytes outside the records are no tile's and are not
// compared here.
//
// The comparison keeps one mark per tile and no reference to either store:
// after an edit the owner compares the edited tiles again, not the files.
class TTileComparison
{
public:
    TTileComparison(const TTileData &Ours, const TTileData &Other);

    // Whether tile Index of Kind differs between A and B; false for a tile
    // that either does not wholly hold.
    static bool RecordsDiffer(const TTileData &A, const TTileData &B, TTileKind Kind, int Index);

    // Compares one tile again; true when its mark changed.
    bool Recompare(const TTileData &Ours, const TTileData &Other, TTileKind Kind, int Index);
    // Compares every tile of Kind again, for a change that may reach any.
    void Recompare(const TTileData &Ours, const TTileData &Other, TTileKind Kind);

    // How many tiles of Kind both files wholly hold, and so were compared.
    int Compared(TTileKind Kind) const { return int(Of(Kind).Marks.size()); }
    bool Differs(TTileKind Kind, int Index) const
    {
        const std::vector<unsigned char> &marks = Of(Kind).Marks;
        return Index >= 0 && std::size_t(Index) < marks.size() && marks[std::size_t(Index)] != 0;
    }
    int DifferCount(TTileKind Kind) const { return Of(Kind).Differing; }
    // The tiles of Kind that differ, ascending.
    std::vector<int> Differing(TTileKind Kind) const;
    // True when one file is classic and the other newer.
    bool AcrossLayouts() const { return FAcrossLayouts; }

private:
    struct Section
    {
        std::vector<unsigned char> Marks;
        int Differing = 0;
    };

    static Section Compare(const TTileData &Ours, const TTileData &Other, TTileKind Kind);
    static void MarkRun(Section &Marks, const unsigned char *A, const unsigned char *B, std::size_t Size, int Tile,
                        int Count);
    const Section &Of(TTileKind Kind) const { return FSections[Kind == TTileKind::Land ? 1 : 0]; }
    Section &Of(TTileKind Kind) { return FSections[Kind == TTileKind::Land ? 1 : 0]; }

    std::array<Section, 2> FSections;
    bool FAcrossLayouts = false;
};
