#pragma once

#include <cstdint>
#include <string_view>

// The numbers of an edits file's cells. Each throws Error with the reason
// (such as "300 is out of range 0-255") when the cell is not one.
namespace CellValue {

// The value of one digit in Base 10 or 16 (either case), or -1.
inline int DigitValue(char C, int Base)
{
    int value = 99;
    if (C >= '0' && C <= '9')
        value = C - '0';
    else if (C >= 'A' && C <= 'F')
        value = C - 'A' + 10;
    else if (C >= 'a' && C <= 'f')
        value = C - 'a' + 10;
    return value < Base ? value : -1;
}

// Decimal digits, at most Max. A minus sign before digits is out of range.
std::uint32_t Decimal(std::string_view Cell, std::uint32_t Max);

// Hexadecimal digits without a prefix, at most Max (flags, anim). A value
// that lost its leading zeros on the way through a spreadsheet reads the same.
std::uint32_t Hex(std::string_view Cell, std::uint32_t Max);

// A flags word of up to 64 bits in hexadecimal digits without a prefix.
// Whether the file has room for its bits is for the caller to say.
std::uint64_t Flags(std::string_view Cell);

// A tile index as the dump writes it, "0x1A", in 0x0-Last; without Last,
// a classic file's 0x0-0x3FFE.
int TileIndex(std::string_view Cell);
int TileIndex(std::string_view Cell, int Last);

} // namespace CellValue
