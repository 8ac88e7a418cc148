#include "app/form/HexToInt.h"

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

// Runs Take over each leading digit's value until it returns false.
template <typename Take>
void ReadDigits(const QString &Text, Take take)
{
    for (qsizetype pos = Text.startsWith(u'$') ? 1 : 0; pos < Text.size(); ++pos) {
        const int digit = HexDigit(Text[pos]);
        if (digit < 0 || !take(digit))
            break;
    }
}

} // namespace

bool HexFits(const QString &Text, int Maximum)
{
    std::uint64_t value = 0;
    bool fits = true;
    ReadDigits(Text, [&](int digit) {
        value = value * 16 + static_cast<std::uint64_t>(digit);
        fits = value <= static_cast<std::uint64_t>(Maximum);
        return fits;
    });
    return fits;
}

int HexToInt(const QString &Text)
{
    std::uint32_t value = 0;
    ReadDigits(Text, [&](int digit) {
        value = value * 16 + static_cast<std::uint32_t>(digit);
        return true;
    });
    return static_cast<int>(value);
}
