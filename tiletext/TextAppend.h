#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Number and text formatting for the tool's output, written straight into
// a growing string: a dump formats 16,383 lines of fifteen fields, and
// going through a stream or snprintf per field would cost several times
// the rest of the work. The output does not depend on the locale.
namespace TextAppend {

void Decimal(std::string &Out, std::uint32_t Value);

// Exactly Digits upper-case hexadecimal digits (the flags' 8 or 16, anim's 4).
void Hex(std::string &Out, std::uint64_t Value, int Digits);

// Upper-case hexadecimal digits without leading zeros.
void MinimalHex(std::string &Out, std::uint64_t Value);

// A tile index as the list shows it: "0x" and upper-case digits, no
// leading zeros ("0x1A", "0x0").
void TileIndex(std::string &Out, int Index);
std::string TileIndex(int Index);

// A file offset the same way, "0x68800".
void Offset(std::string &Out, std::uint64_t Value);

// Text from a file or the command line, fit to stand in a one-line message:
// quoted, control bytes and bytes that are not UTF-8 as \xNN, cut as
// Shortened cuts it: "abc…"
std::string Quoted(std::string_view Text);

// The length, 1 to 4, of the UTF-8 sequence at Text[At], or 0 where the
// bytes are none: overlong forms, surrogates and code points beyond
// U+10FFFF are none.
std::size_t Utf8Length(std::string_view Text, std::size_t At);

// Text cut to at most Longest bytes, at the start of a UTF-8 character,
// never inside one; a cut text ends with "…".
std::string Shortened(std::string_view Text, std::size_t Longest);

// The same cut without the "…".
std::string_view CutAtCharacter(std::string_view Text, std::size_t Longest);

} // namespace TextAppend
