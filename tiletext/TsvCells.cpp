#include "tiletext/TsvCells.h"

bool TsvCells::Split(std::string_view Line)
{
    FCells.clear();
    FUnquoted.clear();
    for (std::size_t at = 0;;) {
        if (at < Line.size() && Line[at] == '"') {
            if (!ReadQuoted(Line, at))
                return false;
        } else {
            const std::size_t tab = Line.find('\t', at);
            FCells.push_back(Line.substr(at, tab == std::string_view::npos ? tab : tab - at));
            at = tab;
        }
        if (at == std::string_view::npos || at == Line.size())
            return true;
        ++at; // past the tab
    }
}

void TsvCells::AppendCell(std::string &Out, std::string_view Text)
{
    if (Text.empty() || Text.front() != '"') {
        Out += Text;
        return;
    }
    Out += '"';
    for (const char c : Text) {
        if (c == '"')
            Out += '"';
        Out += c;
    }
    Out += '"';
}

bool TsvCells::ReadQuoted(std::string_view Line, std::size_t &At)
{
    const std::size_t open = At;
    std::size_t start = open + 1;
    std::string unquoted;
    for (;;) {
        const std::size_t quote = Line.find('"', start);
        if (quote == std::string_view::npos) {
            FFault = {FCells.size(), open + 1,
                      "the quote mark at character " + std::to_string(open + 1) + " is not closed"};
            return false;
        }
        unquoted.append(Line.substr(start, quote - start));
        if (quote + 1 < Line.size() && Line[quote + 1] == '"') {
            unquoted += '"';
            start = quote + 2;
            continue;
        }
        At = quote + 1;
        break;
    }
    if (At < Line.size() && Line[At] != '\t') {
        FFault = {FCells.size(), At + 1,
                  "text follows the closing quote mark at character " + std::to_string(At)};
        return false;
    }
    // Most quoted cells hold no "" and are a part of the line as they are.
    const std::string_view inside = Line.substr(open + 1, At - open - 2);
    if (inside.size() == unquoted.size()) {
        FCells.push_back(inside);
    } else {
        FUnquoted.push_back(std::move(unquoted));
        FCells.push_back(FUnquoted.back());
    }
    return true;
}
