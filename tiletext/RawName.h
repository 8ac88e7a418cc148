#pragma once

#include "tiledata/TileKind.h"

#include <string>
#include <string_view>

class TTileData;

// A name field's 20 bytes as they lie in the file. Many names carry bytes
// after their terminating zero (leftovers such as "nodraw", a zero, "wall");
// the tool's name column stops at the zero, so these are compared and shown
// here.
namespace RawName {

// The name field of tile Index of Kind, all of its bytes.
std::string Of(const TTileData &Store, TTileKind Kind, int Index);

// True when a byte after the name's terminating zero is not zero: the
// field then differs from the name written into a cleared field.
bool HasBytesAfterEnd(std::string_view Field);

// True when the bytes after both names' ends differ. Bytes up to the longer
// name's zero are the names' own, which the name column compares.
bool BytesAfterEndDiffer(std::string_view A, std::string_view B);

// The field up to its last non-zero byte in the name column's escapes,
// zeros as \x00: "nodraw\x00wall".
void AppendEscaped(std::string &Out, std::string_view Field);

} // namespace RawName
