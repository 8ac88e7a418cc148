#pragma once

#include "tiledata/TileRecord.h"

#include <string>

class TTileData;
struct TileRow;

enum class DumpFormat { Tsv, Json };

struct DumpOptions
{
    DumpFormat Format = DumpFormat::Tsv;
    int First = 0;
    int Last = TileCount - 1;
    bool NamedOnly = false; // leave out tiles with an empty name
    // Add a last column, "rawname", with the name field's bytes where some
    // follow the name's terminating zero, so that a change of those shows
    // in a comparison of two dumps (git's textconv).
    bool RawNames = false;
};

// The tiles of a store as text, one line per tile. The same table always
// gives the same bytes, whatever the locale, so that version control can
// show a dump in place of the binary file.
class TileDump
{
public:
    static std::string Write(const TTileData &Store, const DumpOptions &Options);

    // The header line of the TSV form, newline included; the columns are
    // index, flags, flagnames, the eleven number fields and name.
    static std::string TsvHeader();
    static void AppendTsvLine(std::string &Out, const TileRow &Row);
    static void AppendJsonObject(std::string &Out, const TileRow &Row);

private:
    // The rawname cell, or JSON member, at the end of the line or object
    // just appended: empty where the field is clean.
    static void AppendRawName(std::string &Out, const TTileData &Store, const TileRow &Row, bool Json);
};
