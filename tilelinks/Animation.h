#pragma once

#include <vector>

// An item's entry in animdata.mul, its frames already turned from offsets
// into item indices (which may lie outside the items: the entry is
// untrusted). Interval and StartDelay count steps of about 50 ms.
struct TAnimation
{
    std::vector<int> Frames;
    int Unknown = 0;
    int Interval = 0;
    int StartDelay = 0;
    // The frame count as the entry gives it; Frames holds at most the 64
    // frames an entry has room for.
    int FrameCount = 0;
};
