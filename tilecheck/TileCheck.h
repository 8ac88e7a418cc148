#pragma once

#include "tilecheck/CheckRule.h"
#include "tilecheck/CheckSources.h"
#include "tilecheck/Finding.h"
#include "tiledata/TileKind.h"
#include "tilelinks/Animation.h"

#include <vector>

class TTileData;

// Works out where a tile data file and the files beside it disagree, tile
// by tile. Each rule looks at one tile's own record and at files that do
// not change while the check lives, so a tile's findings change only when
// its own record does: after an edit, the edited tiles alone are checked
// again.
//
// The readers are asked lazily; the one fact that spans tiles, which items
// are a frame of another item's animation, is gathered from animdata.mul on
// the first question that needs it.
class TTileCheck
{
public:
    // Store and the sources' readers must outlive the check.
    TTileCheck(const TTileData &Store, TCheckSources Sources, TRuleSet Chosen = AllRules);

    // True when Rule was chosen and the files it needs are there.
    bool Runs(TCheckRule Rule) const;

    // Appends the findings of tile Index of Kind to Out, in rule order.
    void Tile(TTileKind Kind, int Index, std::vector<TFinding> &Out);
    // Every finding, items before land, each by index.
    std::vector<TFinding> All();

private:
    void Item(int Index, std::vector<TFinding> &Out);
    void Land(int Index, std::vector<TFinding> &Out);
    void Radar(TTileKind Kind, int Index, std::vector<TFinding> &Out);
    void UnnamedBits(TTileKind Kind, int Index, std::vector<TFinding> &Out);
    void Add(std::vector<TFinding> &Out, TTileKind Kind, int Index, TCheckRule Rule, std::string Message) const;
    bool IsFrameOfOther(int Item);

    const TTileData &FStore;
    TCheckSources FSources;
    TRuleSet FRuns = 0;
    std::vector<unsigned char> FFrameOfOther; // per item; empty until first needed
    TAnimation FAnimation;                    // the last item's, its buffer kept
};
