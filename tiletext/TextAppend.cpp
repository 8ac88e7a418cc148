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

std::size_t Utf8Length(std::string_view Text, std::size_t At)
{
    const auto byteAt = [&](std::size_t I) { return I < Text.size() ? static_cast<unsigned char>(Text[I]) : 0u; };
    const unsigned lead = byteAt(At);
    if (lead < 0x80)
        return At < Text.size() ? 1 : 0;
    std::size_t length = 0;
    // The second byte's range rules out overlong forms, surrogates and
    // code points beyond U+10FFFF.
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (byteAt(At + 1) < low || byteAt(At + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if ((byteAt(At + k) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// Hostile bytes stay out of the user's terminal: what is not a printable
// character of valid UTF-8 is shown as \xNN.
std::string Quoted(std::string_view Text)
{
    const std::string_view kept = CutAtCharacter(Text, MessageLength);
    std::string out = "\"";
    for (std::size_t at = 0; at < kept.size();) {
        const auto byte = static_cast<unsigned char>(kept[at]);
        const std::size_t length = Utf8Length(kept, at);
        if (length == 0 || byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            HexByte(out, byte);
            ++at;
        } else {
            out += kept.substr(at, length);
            at += length;
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
