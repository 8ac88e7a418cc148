#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

// The tab-separated cells of one line. A cell that starts with a quote mark
// is quoted, as spreadsheets write a cell that holds a quote mark or a tab:
// it runs to its closing quote mark, "" inside it stands for one quote mark,
// and a tab inside it belongs to the cell ("oak ""red"" barrel" is the cell
// oak "red" barrel). A quote mark anywhere else is an ordinary character.
class TsvCells
{
public:
    // What is wrong with a line whose cells cannot be told apart.
    struct Fault
    {
        std::size_t Cell;      // counted from 0
        std::size_t Character; // counted from 1, in bytes
        std::string Reason;    // "the quote mark at character 12 is not closed"
    };

    // False when a quoted cell is not closed, or has more than a tab after
    // its closing quote mark; LastFault() then tells where.
    bool Split(std::string_view Line);

    // Appends Text (without tabs or line ends) as a cell that Split reads
    // back as Text: quoted, its quote marks doubled, when it begins with a
    // quote mark, which would otherwise open a quoted cell; as it is else.
    static void AppendCell(std::string &Out, std::string_view Text);

    std::size_t Size() const { return FCells.size(); }
    std::string_view operator[](std::size_t Cell) const { return FCells[Cell]; }
    const Fault &LastFault() const { return FFault; }

private:
    // Reads the quoted cell that starts at Line[At]; At moves past it.
    bool ReadQuoted(std::string_view Line, std::size_t &At);

    // Views into the line, or into FUnquoted for quoted cells that held ""
    // (a deque never moves the strings it holds).
    std::vector<std::string_view> FCells;
    std::deque<std::string> FUnquoted;
    Fault FFault;
};
