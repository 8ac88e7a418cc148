#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The flags word as the names of its set bits, in bit order, joined by "|"
// ("Wall|Impassable"), with the names the window shows for bits 0 to 31, 36
// and 37, and "Bit32" to "Bit63" for the other upper bits of a newer file's
// flags. "Bit36" and "Bit37" are read as well, as dumps once wrote them.
namespace FlagText {

// The name of bit Bit (0 to 63) without its accelerator mark.
const std::string &Name(int Bit);

void AppendNames(std::string &Out, std::uint64_t Flags);

// True when Text is exactly what AppendNames writes for Flags.
bool NamesMatch(std::string_view Text, std::uint64_t Flags);

// The flags word of a list of names; an empty text is no flag. Throws
// Error naming the first word that is no flag's name.
std::uint64_t ParseNames(std::string_view Text);

// The lowest bit of Flags that a flags field of Bits bits cannot hold, or
// -1 when it holds them all.
int FirstBitBeyond(std::uint64_t Flags, int Bits);

} // namespace FlagText
