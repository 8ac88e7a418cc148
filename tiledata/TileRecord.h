#pragma once

#include "tiledata/TileLayout.h"

// The longest name a record holds, in bytes.
constexpr int NameLength = TTileLayout::NameLength;
// The item tile count of a classic file (0x0000 to 0x3FFE). A loaded file's
// own count comes from its layout.
constexpr int TileCount = TTileLayout::ClassicItems;

// Length of the name in a 20-byte name field: up to its first zero byte.
int NameSize(const char *Field);
