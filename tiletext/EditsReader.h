#pragma once

#include "tiletext/TileEdit.h"
#include "tiletext/TsvCells.h"
#include "tiledata/TileKind.h"
#include "tiledata/TileLayout.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads an edits file: TSV in the dump's form. The header line names the
// columns; only "index" is required, the others may come in any subset and
// order. "flagnames" may stand in for "flags"; where a line gives both, as a
// whole dump does, they must name the same flags, so that an edit of one
// is never silently undone by the other. The first faulty line throws
// Error "<source>:<line>: <column>: <reason>", for example
//   edits.tsv:14: weight: 300 is out of range 0-255
// Lines may end in CRLF; blank lines and a leading byte-order mark are
// skipped. Cells may be quoted as spreadsheets quote them (see TsvCells);
// a quote mark that is not closed is refused with its line and column:
//   edits.tsv:3: name: the quote mark at character 8 is not closed
// A UTF-16 file is refused as such. A dump's "layout" column names the
// layout of each line's tile; a line of the other layout is refused:
//   edits.tsv:2: layout: this is a dump of a classic file (32-bit flags);
//   it cannot be applied to a newer file (64-bit flags)
// The line that dumps once began with, "layout<TAB>classic" before the
// header, is checked alike. Edits without either, and lines whose layout
// cell is empty, are read for the file's own layout; but on a newer file a
// flags cell of 8 digits or fewer needs the layout column (or all 16
// digits), as it may be a classic dump's that would clear bits 32 to 63:
//   edits.tsv:2: flags: 00000010 has only 8 digits and would clear bits 32
//   to 63 of this newer file; write all 16 digits (0000000000000010), or
//   add a layout column saying newer
// The columns and bounds follow the kind of tile and the file's layout: an
// index past the file's last tile, or a flag bit its flags cannot hold
// ("flags: bit 40 does not exist in a 32-bit file"), is a faulty line.
class EditsReader
{
public:
    // Item edits for a classic file.
    explicit EditsReader(std::string SourceName);
    EditsReader(std::string SourceName, const TTileLayout &Layout, TTileKind Kind);

    // Whether the text must say which tiles it edits. Without an index
    // column, one line may follow the header: its edit has the index
    // TileEdit::NoIndex and is for the tiles the reader's user chose.
    enum class IndexColumn { Required, Optional };
    void SetIndexColumn(IndexColumn Use) { FIndexColumn = Use; }

    // Hands each edit to Each as soon as its line is read; throws at the
    // first faulty line, so Each must keep what it does undoable until Read
    // returns (apply changes only the store's table, never the file).
    void Read(std::string_view Text, const std::function<void(const TileEdit &)> &Each) const;

private:
    enum class Kind { Index, Flags, FlagNames, Number, Name, Layout, Ignored };
    struct Column
    {
        Kind What;
        int Field; // the number field, for Kind::Number
        std::string Header;
    };

    std::vector<Column> ReadHeader(const TsvCells &Headers, int LineNumber) const;
    // Refuses a dump of the other layout, by the line dumps once began with.
    void CheckLayoutMark(const TsvCells &Mark) const;
    // Refuses a layout cell that is not the file's own layout.
    void CheckLayout(std::string_view Theirs, int LineNumber) const;
    // Splits Line into Cells or fails naming the cell's column (by its
    // header, where Columns are known already).
    void Split(TsvCells &Cells, std::string_view Line, int LineNumber, const std::vector<Column> *Columns) const;
    // LayoutNamed: the text says its layout, by a layout column or the line
    // dumps once began with.
    TileEdit ReadLine(const std::vector<Column> &Columns, const TsvCells &Cells, int LineNumber,
                      bool LayoutNamed) const;
    void ReadCell(TileEdit &Edit, const Column &Where, std::string_view Cell) const;
    // Flag names must agree with a flags column beside them.
    void ReadFlagNames(TileEdit &Edit, std::string_view Names, int LineNumber) const;
    // Refuses, on a newer file, a flags cell of a classic file's 8 digits
    // or fewer in a text that does not say its layout.
    void CheckFlagDigits(std::uint64_t Flags, std::string_view Cell, int LineNumber) const;
    // Refuses bits the file's flags cannot hold.
    void CheckFlagBits(const TileEdit &Edit, const char *Header, int LineNumber) const;
    std::string FlagWord(std::uint64_t Flags) const;
    [[noreturn]] void Fail(int LineNumber, const std::string &Reason) const;

    std::string FSourceName;
    TTileLayout FLayout;
    TTileKind FKind;
    IndexColumn FIndexColumn = IndexColumn::Required;
};
