#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The flags word as the names of its set bits, in bit order, joined by "|"
// ("Wall|Impassable"), with the captions the window shows.
namespace FlagText {

// The caption of bit Bit without its accelerator mark.
const std::string &Name(int Bit);

void AppendNames(std::string &Out, std::uint32_t Flags);

// True when Text is exactly what AppendNames writes for Flags.
bool NamesMatch(std::string_view Text, std::uint32_t Flags);

// The flags word of a list of names; an empty text is no flag. Throws
// Error naming the first word that is no flag's name.
std::uint32_t ParseNames(std::string_view Text);

} // namespace FlagText
