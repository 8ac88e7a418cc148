#pragma once

#include <string>

// The bits of a tile's flags word, by the captions of the check boxes that
// show them. The window and the command-line tool share this one list, so a
// flag is called the same wherever it appears.
//
// A classic file's flags have the 32 named bits; a newer file's have 64,
// the upper 32 of which have no names of their own and are called by their
// number ("Bit 32" to "Bit 63").
constexpr int FlagCount = 32;
constexpr int WideFlagCount = 64;

// The caption of bit Bit's check box, accelerator mark included ("&Wall"),
// or "Bit 32" to "Bit 63" for the upper bits. Bits outside 0..63 give an
// empty text.
const char *FlagCaption(int Bit);

// The caption as it reads on screen, without the accelerator mark ("Wall").
std::string FlagName(int Bit);
