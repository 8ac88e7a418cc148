#pragma once

#include <string>
#include <string_view>

// Tile names between their stored form (Windows-1252 bytes) and the tool's
// text form: UTF-8, with a tab, newline or backslash written \t, \n, \\ and
// any other control byte \xNN. Every name is thereby one cell of one line,
// and reading the text back gives the exact bytes.
namespace NameText {

void AppendEscaped(std::string &Out, std::string_view Bytes);

// The bytes of a name in text form. Throws Error with the reason when the
// text is not valid UTF-8, holds a bad escape, a zero byte or a character
// Windows-1252 lacks, or is longer than the 20 bytes of a name.
std::string Parse(std::string_view Text);

} // namespace NameText
