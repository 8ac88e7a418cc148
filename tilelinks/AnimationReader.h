#pragma once

#include "tilelinks/Animation.h"

#include <string>
#include <vector>

// The animations of animdata.mul, which has no index: a run of 548-byte
// blocks, each a 4-byte header and the 68-byte entries of 8 items. Item
// id's entry is in block id >> 3, at 4 + (id & 7) x 68: 64 signed frame
// offsets from the item's own index, an unknown byte, the frame count, the
// interval and the start delay. Items past the file's end, and entries
// with no frames, have no animation.
//
// Nothing is read until an animation is asked for; then the file is read
// once, up to the last block an item index can name, so a longer file costs
// no more memory. A missing or unreadable file holds no animations.
class TAnimationReader
{
public:
    static constexpr int BlockSize = 548;
    static constexpr int HeaderSize = 4;
    static constexpr int EntrySize = 68;
    static constexpr int EntriesPerBlock = 8;
    static constexpr int FrameSlots = 64;
    static constexpr int MostItems = 0x10000;

    explicit TAnimationReader(std::string Path);

    // Item's animation in Out; false, with Out emptied, when it has none.
    bool Find(int Item, TAnimation &Out);
    // Item's frames in order; empty when it has no animation.
    std::vector<int> Frames(int Item);
    // The items, of the first ItemCount, whose animations use Frame as one
    // of their frames, in order.
    std::vector<int> UsersOf(int Frame, int ItemCount);
    // Why the file could not be read whole, naming it; empty when it could,
    // or was never asked for.
    const std::string &Problem() const { return FProblem; }

private:
    void Load();

    std::string FPath;
    bool FLoaded = false;
    std::vector<unsigned char> FBytes;
    std::string FProblem;
};
