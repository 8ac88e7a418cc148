#include "platform/qt/IntegerText.h"

#include "platform/Error.h"

#include <cstdint>
#include <limits>
#include <optional>

namespace {

// The value of one digit in the given base, or -1 when the character is none.
int DigitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int value = -1;
    if (u >= '0' && u <= '9')
        value = u - '0';
    else if (u >= 'A' && u <= 'F')
        value = u - 'A' + 10;
    else if (u >= 'a' && u <= 'f')
        value = u - 'a' + 10;
    return value < base ? value : -1;
}

// Skips a hexadecimal prefix at pos and reports whether there was one.
bool SkipHexPrefix(const QString &text, qsizetype &pos)
{
    const qsizetype n = text.size();
    if (pos < n && (text[pos] == u'$' || text[pos] == u'x' || text[pos] == u'X')) {
        ++pos;
        return true;
    }
    if (pos + 1 < n && text[pos] == u'0' && (text[pos + 1] == u'x' || text[pos + 1] == u'X')) {
        pos += 2;
        return true;
    }
    return false;
}

std::optional<int> ParseInteger(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n && text[pos] == u' ')
        ++pos;
    bool negative = false;
    if (pos < n && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    const int base = SkipHexPrefix(text, pos) ? 16 : 10;
    if (pos >= n)
        return std::nullopt;
    // One past the largest magnitude, so that the loop cannot overflow.
    constexpr std::int64_t Limit = std::int64_t(std::numeric_limits<int>::max()) + 1;
    std::int64_t magnitude = 0;
    for (; pos < n; ++pos) {
        const int digit = DigitValue(text[pos], base);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > Limit)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

int StrToInt(const QString &Text)
{
    const std::optional<int> value = ParseInteger(Text);
    if (!value)
        throw Error("'" + Text.toStdString() + "' is not a valid integer value");
    return *value;
}
