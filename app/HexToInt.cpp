#include "app/HexToInt.h"

#include <cstdint>

namespace {

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

} // namespace

bool HexFits(const QString &Text, int Maximum)
{
    std::uint64_t value = 0;
    for (qsizetype pos = Text.startsWith(u'$') ? 1 : 0; pos < Text.size(); ++pos) {
        const int digit = HexDigit(Text[pos]);
        if (digit < 0)
            break;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > static_cast<std::uint64_t>(Maximum))
            return false;
    }
    return true;
}

int HexToInt(const QString &Text)
{
    std::uint32_t value = 0;
    for (qsizetype pos = Text.startsWith(u'$') ? 1 : 0; pos < Text.size(); ++pos) {
        const int digit = HexDigit(Text[pos]);
        if (digit < 0)
            break;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return static_cast<int>(value);
}
