#include "tiletext/CellValue.h"

#include "tiletext/TextAppend.h"
#include "platform/Error.h"
#include "tiledata/TileRecord.h"

#include <string>

namespace CellValue {

namespace {

// Reads Text as digits of Base in one pass. False when it is empty or holds
// anything else; otherwise Value is its value, or Max + 1 when it exceeds Max.
// Beyond tells whether it exceeds Max, which may be the largest 64-bit value.
bool ReadDigits(std::string_view Text, int Base, std::uint64_t Max, std::uint64_t &Value, bool &Beyond)
{
    Value = 0;
    Beyond = false;
    for (const char c : Text) {
        // Decimal digits first: every number column but three is decimal.
        int digit = static_cast<unsigned char>(c - '0');
        if (digit > 9)
            digit = Base == 16 ? DigitValue(c, 16) : -1;
        if (digit < 0)
            return false;
        if (std::uint64_t(digit) > Max || Value > (Max - std::uint64_t(digit)) / std::uint64_t(Base))
            Beyond = true;
        else if (!Beyond)
            Value = Value * std::uint64_t(Base) + std::uint64_t(digit);
    }
    return !Text.empty();
}

bool ReadDigits(std::string_view Text, int Base, std::uint32_t Max, std::uint64_t &Value)
{
    bool beyond = false;
    const bool read = ReadDigits(Text, Base, std::uint64_t(Max), Value, beyond);
    if (beyond)
        Value = std::uint64_t(Max) + 1;
    return read;
}

std::string RangeText(std::string_view Cell, std::string Low, std::string High)
{
    return TextAppend::Shortened(Cell, 40) + " is out of range " + Low + "-" + High;
}

std::string HexText(std::uint64_t Value)
{
    std::string text;
    TextAppend::MinimalHex(text, Value);
    return text;
}

} // namespace

std::uint32_t Decimal(std::string_view Cell, std::uint32_t Max)
{
    const bool negative = !Cell.empty() && Cell[0] == '-';
    const std::string_view digits = negative ? Cell.substr(1) : Cell;
    std::uint64_t value = 0;
    if (!ReadDigits(digits, 10, Max, value))
        throw Error(TextAppend::Quoted(Cell) + " is not a decimal number");
    if (negative || value > Max)
        throw Error(RangeText(Cell, "0", std::to_string(Max)));
    return std::uint32_t(value);
}

std::uint32_t Hex(std::string_view Cell, std::uint32_t Max)
{
    std::uint64_t value = 0;
    if (!ReadDigits(Cell, 16, Max, value))
        throw Error(TextAppend::Quoted(Cell) + " is not a hexadecimal number");
    if (value > Max)
        throw Error(RangeText(Cell, "0", HexText(Max)));
    return std::uint32_t(value);
}

std::uint64_t Flags(std::string_view Cell)
{
    constexpr std::uint64_t Max = ~std::uint64_t(0);
    std::uint64_t value = 0;
    bool beyond = false;
    if (!ReadDigits(Cell, 16, Max, value, beyond))
        throw Error(TextAppend::Quoted(Cell) + " is not a hexadecimal number");
    if (beyond)
        throw Error(RangeText(Cell, "0", HexText(Max)));
    return value;
}

int TileIndex(std::string_view Cell)
{
    return TileIndex(Cell, TileCount - 1);
}

int TileIndex(std::string_view Cell, int Last)
{
    const bool prefixed = Cell.size() > 2 && Cell[0] == '0' && (Cell[1] == 'x' || Cell[1] == 'X');
    const std::uint32_t last = std::uint32_t(Last);
    std::uint64_t value = 0;
    if (!prefixed || !ReadDigits(Cell.substr(2), 16, last, value))
        throw Error(TextAppend::Quoted(Cell) + " is not a tile index such as 0x1A");
    if (value > last)
        throw Error(RangeText(Cell, "0x0", "0x" + HexText(last)));
    return int(value);
}

} // namespace CellValue
