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
};
