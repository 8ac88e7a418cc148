#pragma once

#include "tiledata/TileKind.h"

#include <functional>
#include <string>
#include <vector>

class TTileData;
struct TileRow;

enum class DumpFormat { Tsv, Json };
enum class DumpSections { Items, Land, Both };

struct DumpOptions
{
    DumpFormat Format = DumpFormat::Tsv;
    DumpSections Sections = DumpSections::Items;
    // The tiles of each section dumped; Last -1 is the section's last tile.
    int First = 0;
    int Last = -1;
    // The --tiles value as given, for the message when it goes past a
    // section's last tile.
    std::string TilesText;
    bool NamedOnly = false; // leave out tiles with an empty name
    // Add a column, "rawname", before layout in each table, item and land (a
    // "rawname" member in JSON), with the name field's bytes where some
    // follow the name's terminating zero, so that a change of those shows
    // in a comparison of two dumps (git's textconv).
    bool RawNames = false;
    // Columns with what the files beside the tile data say of a tile, read
    // by apply as nothing to change: "texturesize" for land (--texture),
    // "frames" for items (--animation). Found beside the tile data file, or
    // in LinkFolder when it is not empty (--from).
    bool Texture = false;
    bool Animation = false;
    std::string LinkFolder;

    // A column of one kind's table that the caller fills: after rawname,
    // before layout (in JSON a member holding the cell's text).
    struct ExtraColumn
    {
        TTileKind Kind = TTileKind::Item;
        const char *Header = "";
        std::function<void(std::string &Out, int Index)> AppendCell;
    };
    std::vector<ExtraColumn> Extra;
};

// The tiles of a store as text, one line per tile. The same table always
// gives the same bytes, whatever the locale, so that version control can
// show a dump in place of the binary file.
//
// TSV: a header line, then one line per tile, each with as many cells as
// the header, so that any TSV reader takes it with its defaults; the last
// column, "layout", names the file's layout ("classic" or "newer") on every
// line. With both sections: the item table, a blank line, then the land
// table. JSON: one object naming the layout, with an array of tile objects
// per section:
//   {"layout": "newer", "flagbits": 64, "itemtiles": 65536, "landtiles": 16384,
//   "items": [ {...}, ... ], "land": [ ... ]}
class TileDump
{
public:
    // Throws Error "--tiles: ..." when the range goes past a section's end.
    static std::string Write(const TTileData &Store, const DumpOptions &Options);
    // The TSV form of the given tiles of one section, header and layout
    // column included: what a copy of those tiles puts on the clipboard.
    static std::string WriteTiles(const TTileData &Store, TTileKind Kind, const std::vector<int> &Tiles);

    // The header line of the TSV form, newline included: index, flags,
    // flagnames, the kind's number fields and name (the layout column and
    // rawname are added after it).
    static std::string TsvHeader(TTileKind Kind = TTileKind::Item);
    static void AppendTsvLine(std::string &Out, const TileRow &Row);
    static void AppendJsonObject(std::string &Out, const TileRow &Row);
    // The rawname cell, or JSON member, at the end of the line or object
    // just appended: empty where the field is clean. Land names too.
    static void AppendRawName(std::string &Out, const TTileData &Store, const TileRow &Row, bool Json);
};
