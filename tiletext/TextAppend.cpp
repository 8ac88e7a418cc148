#include "tiletext/TextAppend.h"

namespace TextAppend {

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

constexpr const char Ellipsis[] = "\xE2\x80\xA6"; // "…" in UTF-8
constexpr std::size_t MessageLength = 40;

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
    const std::string_view kept = CutAtCharacter(Text, MessageLength);
    std::string out = "\"";
    for (const char c : kept) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            HexByte(out, byte);
        } else {
            out += c;
        }
    }
    out += '"';
    if (kept.size() < Text.size())
        out += Ellipsis;
    return out;
}

// A character that does not fit whole is left out, so that the message
// stays valid UTF-8.
std::string_view CutAtCharacter(std::string_view Text, std::size_t Longest)
{
    if (Text.size() <= Longest)
        return Text;
    const auto continues = [&](std::size_t At) { return (static_cast<unsigned char>(Text[At]) & 0xC0) == 0x80; };
    std::size_t cut = Longest;
    // A UTF-8 character has at most three bytes after its first.
    for (int k = 0; k < 3 && cut > 0 && continues(cut); ++k)
        --cut;
    return Text.substr(0, cut);
}

std::string Shortened(std::string_view Text, std::size_t Longest)
{
    const std::string_view kept = CutAtCharacter(Text, Longest);
    return kept.size() < Text.size() ? std::string(kept) + Ellipsis : std::string(Text);
}

} // namespace TextAppend
