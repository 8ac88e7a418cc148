#include "cli/TextAppend.h"

namespace TextAppend {

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

void HexByte(std::string &Out, unsigned char Byte)
{
    Out += HexDigits[Byte >> 4];
    Out += HexDigits[Byte & 0xF];
}

} // namespace

// Digits are written backwards into a small buffer and appended in one
// piece: appending them one by one costs a capacity check each.
void Decimal(std::string &Out, std::uint32_t Value)
{
    char digits[10];
    char *start = digits + sizeof digits;
    do {
        *--start = char('0' + Value % 10);
        Value /= 10;
    } while (Value != 0);
    Out.append(start, std::size_t(digits + sizeof digits - start));
}

void Hex(std::string &Out, std::uint64_t Value, int Digits)
{
    char digits[16];
    const int n = Digits < 1 ? 1 : Digits > 16 ? 16 : Digits;
    for (int k = n - 1; k >= 0; --k, Value >>= 4)
        digits[k] = HexDigits[Value & 0xF];
    Out.append(digits, std::size_t(n));
}

void MinimalHex(std::string &Out, std::uint64_t Value)
{
    char digits[16];
    char *start = digits + sizeof digits;
    do {
        *--start = HexDigits[Value & 0xF];
        Value >>= 4;
    } while (Value != 0);
    Out.append(start, std::size_t(digits + sizeof digits - start));
}

void TileIndex(std::string &Out, int Index)
{
    Offset(Out, static_cast<std::uint32_t>(Index));
}

void Offset(std::string &Out, std::uint64_t Value)
{
    Out += "0x";
    MinimalHex(Out, Value);
}

std::string TileIndex(int Index)
{
    std::string text;
    TileIndex(text, Index);
    return text;
}

std::string Quoted(std::string_view Text)
{
    constexpr std::size_t Longest = 40;
    std::string out = "\"";
    for (std::size_t i = 0; i < Text.size() && i < Longest; ++i) {
        const auto c = static_cast<unsigned char>(Text[i]);
        if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            HexByte(out, c);
        } else {
            out += char(c);
        }
    }
    out += Text.size() > Longest ? "\"..." : "\"";
    return out;
}

} // namespace TextAppend
