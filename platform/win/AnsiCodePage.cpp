#include "platform/AnsiCodePage.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>
#include <windows.h>

namespace AnsiCodePage {

namespace {

// The code points of the 256 bytes in the system's ANSI code page, and the
// same pairs sorted by code point for the way back. Every byte gets a code
// point of its own, so that every byte survives a round trip: a byte the
// code page leaves undefined, or the lead byte of a double-byte code page,
// stands for the C1 control or Latin-1 character of the same value, or for
// a private-use character when the code page already uses that one.
struct CodePage
{
    std::array<char32_t, 256> CodePoints {};
    std::vector<std::pair<char32_t, unsigned char>> Bytes;

    CodePage()
    {
        std::vector<bool> taken(0x10000, false);
        std::array<bool, 256> defined {};
        for (int byte = 0; byte < 256; ++byte) {
            const char single = static_cast<char>(byte);
            wchar_t wide[2] = {};
            if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &single, 1, wide, 2) == 1 && !taken[wide[0]]) {
                CodePoints[byte] = wide[0];
                taken[wide[0]] = true;
                defined[byte] = true;
            }
        }
        for (int byte = 0; byte < 256; ++byte) {
            if (defined[byte])
                continue;
            const char32_t stand = taken[byte] ? char32_t(0xF700 + byte) : char32_t(byte);
            CodePoints[byte] = stand;
            taken[stand] = true;
        }
        for (int byte = 0; byte < 256; ++byte)
            Bytes.emplace_back(CodePoints[byte], static_cast<unsigned char>(byte));
        std::sort(Bytes.begin(), Bytes.end());
    }

    int ByteOf(char32_t codePoint) const
    {
        const auto found = std::lower_bound(Bytes.begin(), Bytes.end(), std::make_pair(codePoint, static_cast<unsigned char>(0)));
        return found != Bytes.end() && found->first == codePoint ? found->second : -1;
    }
};

const CodePage &SystemCodePage()
{
    static const CodePage page;
    return page;
}

} // namespace

char32_t ToUnicode(unsigned char byte)
{
    return SystemCodePage().CodePoints[byte];
}

unsigned char FromUnicode(char32_t codePoint)
{
    const int byte = SystemCodePage().ByteOf(codePoint);
    return byte < 0 ? static_cast<unsigned char>('?') : static_cast<unsigned char>(byte);
}

bool CanEncode(char32_t codePoint)
{
    return SystemCodePage().ByteOf(codePoint) >= 0;
}

unsigned char UpperByte(unsigned char byte)
{
    char single = static_cast<char>(byte);
    ::CharUpperBuffA(&single, 1);
    return static_cast<unsigned char>(single);
}

void UpperBuffer(char *bytes, std::size_t length)
{
    // CharUpperBuffA counts in DWORD; a longer buffer goes in pieces.
    constexpr std::size_t MaxPiece = std::size_t(1) << 30;
    for (std::size_t done = 0; done < length;) {
        const DWORD piece = static_cast<DWORD>(std::min(length - done, MaxPiece));
        ::CharUpperBuffA(bytes + done, piece);
        done += piece;
    }
}

std::string Upper(const std::string &bytes)
{
    std::string result = bytes;
    UpperBuffer(result.data(), result.size());
    return result;
}

} // namespace AnsiCodePage
