#include "tiletext/FlagText.h"

#include "tiletext/TextAppend.h"
#include "platform/Error.h"
#include "tiledata/TileFlags.h"

#include <array>
#include <unordered_map>
#include <vector>

namespace FlagText {

namespace {

constexpr int Parts = WideFlagCount / 8;

// "Bit32" to "Bit63": one word each, as the window's "Bit 32" is not.
const std::array<std::string, WideFlagCount> &NumberNames()
{
    static const std::array<std::string, WideFlagCount> names = [] {
        std::array<std::string, WideFlagCount> table;
        for (int bit = FlagCount; bit < WideFlagCount; ++bit)
            table[std::size_t(bit)] = "Bit" + std::to_string(bit);
        return table;
    }();
    return names;
}

// The window's names, and the number word for the upper bits without one.
const std::array<std::string, WideFlagCount> &Names()
{
    static const std::array<std::string, WideFlagCount> names = [] {
        std::array<std::string, WideFlagCount> table;
        for (int bit = 0; bit < WideFlagCount; ++bit)
            table[std::size_t(bit)] = FlagHasName(bit) ? FlagName(bit) : NumberNames()[std::size_t(bit)];
        return table;
    }();
    return names;
}

std::uint64_t BitOf(std::string_view Word)
{
    // Looked up by hash: an apply of a whole dump reads every tile's names.
    // Every upper bit keeps its number word too, so that a dump written
    // before a bit had its name still applies.
    static const std::unordered_map<std::string_view, std::uint64_t> bits = [] {
        std::unordered_map<std::string_view, std::uint64_t> table;
        for (int bit = 0; bit < WideFlagCount; ++bit) {
            table.emplace(Names()[std::size_t(bit)], std::uint64_t(1) << bit);
            if (bit >= FlagCount)
                table.emplace(NumberNames()[std::size_t(bit)], std::uint64_t(1) << bit);
        }
        return table;
    }();
    const auto found = bits.find(Word);
    if (found == bits.end())
        throw Error(TextAppend::Quoted(Word) + " is not the name of a flag");
    return found->second;
}

// The names of each byte's set bits, joined, made once for all 8 x 256
// values: a dump lists, and an apply of a dump checks, the flags of every
// tile. Part p, value v is entry p * 256 + v.
const std::vector<std::string> &JoinedNames()
{
    static const std::vector<std::string> joined = [] {
        std::vector<std::string> table(Parts * 256);
        for (int part = 0; part < Parts; ++part) {
            for (int value = 1; value < 256; ++value) {
                std::string &names = table[std::size_t(part * 256 + value)];
                for (int bit = 0; bit < 8; ++bit) {
                    if ((value >> bit) & 1)
                        names += (names.empty() ? "" : "|") + Names()[std::size_t(part * 8 + bit)];
                }
            }
        }
        return table;
    }();
    return joined;
}

// Calls Piece with each text AppendNames writes for Flags, in order, until
// Piece returns false; returns whether all were taken.
template <typename Consumer>
bool ForEachPiece(std::uint64_t Flags, Consumer Piece)
{
    const std::vector<std::string> &joined = JoinedNames();
    bool first = true;
    for (int part = 0; part < Parts && (Flags >> (8 * part)) != 0; ++part) {
        const unsigned value = (Flags >> (8 * part)) & 0xFFu;
        if (value == 0)
            continue;
        if (!first && !Piece(std::string_view("|")))
            return false;
        if (!Piece(std::string_view(joined[std::size_t(part * 256) + value])))
            return false;
        first = false;
    }
    return true;
}

} // namespace

const std::string &Name(int Bit)
{
    return Names()[std::size_t(Bit) % WideFlagCount];
}

void AppendNames(std::string &Out, std::uint64_t Flags)
{
    ForEachPiece(Flags, [&Out](std::string_view Piece) {
        Out += Piece;
        return true;
    });
}

bool NamesMatch(std::string_view Text, std::uint64_t Flags)
{
    const bool all = ForEachPiece(Flags, [&Text](std::string_view Piece) {
        if (Text.substr(0, Piece.size()) != Piece)
            return false;
        Text.remove_prefix(Piece.size());
        return true;
    });
    return all && Text.empty();
}

std::uint64_t ParseNames(std::string_view Text)
{
    std::uint64_t flags = 0;
    if (Text.empty())
        return flags;
    for (std::size_t start = 0;;) {
        const std::size_t bar = Text.find('|', start);
        flags |= BitOf(Text.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (bar == std::string_view::npos)
            return flags;
        start = bar + 1;
    }
}

int FirstBitBeyond(std::uint64_t Flags, int Bits)
{
    for (int bit = Bits; bit < WideFlagCount; ++bit) {
        if ((Flags >> bit) & 1u)
            return bit;
    }
    return -1;
}

} // namespace FlagText
