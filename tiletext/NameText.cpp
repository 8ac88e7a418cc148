#include "tiletext/NameText.h"

#include "tiletext/CellValue.h"
#include "tiletext/TextAppend.h"
#include "platform/AnsiCodePage.h"
#include "platform/Error.h"
#include "tiledata/TileRecord.h"

#include <algorithm>
#include <array>

namespace NameText {

namespace {

// The bytes that are written as an escape: the C0 controls, DEL, and the
// five bytes the code page leaves undefined, which stand for C1 controls.
bool IsControl(unsigned char Byte)
{
    const char32_t cp = AnsiCodePage::ToUnicode(Byte);
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
}

void AppendUtf8(std::string &Out, char32_t Cp)
{
    if (Cp < 0x80) {
        Out += char(Cp);
    } else if (Cp < 0x800) {
        Out += char(0xC0 | (Cp >> 6));
        Out += char(0x80 | (Cp & 0x3F));
    } else {
        // The code page's characters all lie in the basic plane.
        Out += char(0xE0 | (Cp >> 12));
        Out += char(0x80 | ((Cp >> 6) & 0x3F));
        Out += char(0x80 | (Cp & 0x3F));
    }
}

std::string TextOf(unsigned char Byte)
{
    std::string text;
    if (Byte == '\t')
        text = "\\t";
    else if (Byte == '\n')
        text = "\\n";
    else if (Byte == '\\')
        text = "\\\\";
    else if (IsControl(Byte)) {
        text = "\\x";
        TextAppend::Hex(text, Byte, 2);
    } else
        AppendUtf8(text, AnsiCodePage::ToUnicode(Byte));
    return text;
}

// The text of every byte, made once: dumps write 16,383 names at a time.
const std::array<std::string, 256> &Texts()
{
    static const std::array<std::string, 256> texts = [] {
        std::array<std::string, 256> table;
        for (int b = 0; b < 256; ++b)
            table[std::size_t(b)] = TextOf(static_cast<unsigned char>(b));
        return table;
    }();
    return texts;
}

// Reads the escape at Text[At] (a backslash) and returns its byte; At moves
// past it.
unsigned char ReadEscape(std::string_view Text, std::size_t &At)
{
    const std::size_t start = At;
    const char kind = At + 1 < Text.size() ? Text[At + 1] : '\0';
    At += 2;
    if (kind == 't')
        return '\t';
    if (kind == 'n')
        return '\n';
    if (kind == '\\')
        return '\\';
    const int high = At + 1 < Text.size() ? CellValue::DigitValue(Text[At], 16) : -1;
    const int low = At + 1 < Text.size() ? CellValue::DigitValue(Text[At + 1], 16) : -1;
    if (kind == 'x' && high >= 0 && low >= 0) {
        const int byte = high * 16 + low;
        At += 2;
        return static_cast<unsigned char>(byte);
    }
    // The escape as far as it goes, without a character cut in two.
    const std::string_view escape = TextAppend::CutAtCharacter(Text.substr(start), 4);
    throw Error(TextAppend::Quoted(escape) + " is not an escape (\\t, \\n, \\\\ or \\xNN)");
}

// Decodes the UTF-8 sequence at Text[At]; At moves past it. Overlong forms,
// surrogates and code points beyond U+10FFFF are refused.
char32_t ReadUtf8(std::string_view Text, std::size_t &At)
{
    const std::size_t length = TextAppend::Utf8Length(Text, At);
    if (length == 0)
        throw Error("not valid UTF-8");
    // The lead byte's bits by the sequence's length, then six from each
    // byte that follows.
    constexpr unsigned char LeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t cp = static_cast<unsigned char>(Text[At]) & LeadBits[length];
    for (std::size_t k = 1; k < length; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(Text[At + k]) & 0x3F);
    At += length;
    return cp;
}

std::string CodePointText(char32_t Cp)
{
    std::string text = "U+";
    TextAppend::Hex(text, Cp, Cp > 0xFFFF ? 6 : 4);
    return text;
}

} // namespace

void AppendEscaped(std::string &Out, std::string_view Bytes)
{
    // Most names are plain ASCII: runs of it go out in one piece.
    const std::array<std::string, 256> &texts = Texts();
    std::size_t plain = 0;
    for (std::size_t i = 0; i < Bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(Bytes[i]);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\')
            continue;
        Out.append(Bytes.data() + plain, i - plain);
        Out += texts[byte];
        plain = i + 1;
    }
    Out.append(Bytes.data() + plain, Bytes.size() - plain);
}

std::string Parse(std::string_view Text)
{
    // Plain ASCII without escapes is its own byte form.
    const bool plain = std::all_of(Text.begin(), Text.end(), [](char c) {
        return c >= 0x20 && c < 0x7F && c != '\\';
    });
    if (plain && Text.size() <= std::size_t(NameLength))
        return std::string(Text);
    std::string bytes;
    std::size_t at = 0;
    while (at < Text.size()) {
        unsigned char byte = 0;
        if (Text[at] == '\\') {
            byte = ReadEscape(Text, at);
        } else {
            const char32_t cp = ReadUtf8(Text, at);
            if (!AnsiCodePage::CanEncode(cp))
                throw Error(CodePointText(cp) + " is not a Windows-1252 character");
            byte = AnsiCodePage::FromUnicode(cp);
        }
        if (byte == 0)
            throw Error("a name cannot hold a zero byte");
        bytes += char(byte);
        if (bytes.size() > std::size_t(NameLength))
            throw Error(TextAppend::Quoted(Text) + " is longer than the 20 bytes of a name");
    }
    return bytes;
}

} // namespace NameText
