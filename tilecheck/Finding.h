#pragma once

#include "tilecheck/CheckRule.h"
#include "tiledata/TileKind.h"

#include <string>

// One place where the client's files disagree: a tile, the rule it breaks
// and a line saying how.
struct TFinding
{
    TTileKind Kind = TTileKind::Item;
    int Index = 0;
    TCheckRule Rule = TCheckRule::AnimationWithoutEntry;
    std::string Message;
};
