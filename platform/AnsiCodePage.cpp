#include "platform/AnsiCodePage.h"

namespace AnsiCodePage {

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the code page equals
// Latin-1. Zero marks a byte the code page leaves undefined.
constexpr char32_t HighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

int ByteOf(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i) {
        const char32_t mapped = HighControls[i] ? HighControls[i] : char32_t(0x80 + i);
        if (mapped == codePoint)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

char32_t ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F && HighControls[byte - 0x80] != 0)
        return HighControls[byte - 0x80];
    return byte;
}

unsigned char FromUnicode(char32_t codePoint)
{
    const int byte = ByteOf(codePoint);
    return byte < 0 ? static_cast<unsigned char>('?') : static_cast<unsigned char>(byte);
}

bool CanEncode(char32_t codePoint)
{
    return ByteOf(codePoint) >= 0;
}

unsigned char UpperByte(unsigned char byte)
{
    if (byte >= 'a' && byte <= 'z')
        return static_cast<unsigned char>(byte - 0x20);
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)
        return static_cast<unsigned char>(byte - 0x20);
    switch (byte) {
    case 0x9A: return 0x8A; // s caron
    case 0x9C: return 0x8C; // o-e ligature
    case 0x9E: return 0x8E; // z caron
    case 0xFF: return 0x9F; // y diaeresis
    default: return byte;
    }
}

void UpperBuffer(char *bytes, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(UpperByte(static_cast<unsigned char>(bytes[i])));
}

std::string Upper(const std::string &bytes)
{
    std::string result = bytes;
    UpperBuffer(result.data(), result.size());
    return result;
}

} // namespace AnsiCodePage
