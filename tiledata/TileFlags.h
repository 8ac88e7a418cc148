#pragma once

#include <string>

// The bits of a tile's flags word, by the captions of the check boxes that
// show them. The window and the command-line tool share this one list, so a
// flag is called the same wherever it appears.
//
// A classic file's flags have the 32 named bits; a newer file's have 64.
// Of the upper 32 only bits 36 ("NoShadow") and 37 ("PixelBleed") have
// names: the game's players agree on those two, and disagree on the others,
// where a wrong name would mislead more than the number does. The rest are
// called by their number ("Bit 32" to "Bit 63").
constexpr int FlagCount = 32;
constexpr int WideFlagCount = 64;

// The caption of bit Bit's check box, accelerator mark included ("&Wall"),
// its name for bits 36 and 37, or "Bit 32" to "Bit 63" for the other upper
// bits. Bits outside 0..63 give an empty text.
const char *FlagCaption(int Bit);

// Whether bit Bit is called by a name rather than by its number.
bool FlagHasName(int Bit);

// The caption as it reads on screen, without the accelerator mark ("Wall").
std::string FlagName(int Bit);
