#pragma once

#include <string>

// The 32 bits of a tile's flags word, by the captions of the check boxes
// that show them. The window and the command-line tool share this one list,
// so a flag is called the same wherever it appears.
constexpr int FlagCount = 32;

// The caption of bit Bit's check box, accelerator mark included ("&Wall").
// Bits outside 0..31 give an empty text.
const char *FlagCaption(int Bit);

// The caption as it reads on screen, without the accelerator mark ("Wall").
std::string FlagName(int Bit);
