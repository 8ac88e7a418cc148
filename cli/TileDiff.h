#pragma once

#include <string>

struct TileRow;

// How one tile changed, as one line:
//   0x1A<TAB>"Barrel" -> "Barrels"<TAB>weight: 3 -> 4<TAB>flags: 00000010 -> 00000030 (+Damaging)
//   land 0x3<TAB>"grass" -> "grass"<TAB>texture: 3 -> 4
// The index (after "land " for a land tile), the old and new name, then
// each changed field as "field: old -> new"; flags also list the bits set
// (+) and cleared (-).
namespace TileDiff {

// Empty when the rows are equal.
std::string Line(const TileRow &Old, const TileRow &New);

// Line, for records whose name fields may also differ after the names'
// terminating zeros, which no field shows: such a difference is noted at
// the end of the line, or alone, as "0x2: name bytes after the end differ"
// ("land 0x2: ..." for a land tile).
std::string RecordLine(const TileRow &Old, const TileRow &New, bool BytesAfterNameEndDiffer);

// "1 tile differs", "3 tiles differ" and the like: Count, then the noun in
// singular or plural, then the verb's two forms.
std::string CountLine(int Count, const char *One, const char *Many);

} // namespace TileDiff
