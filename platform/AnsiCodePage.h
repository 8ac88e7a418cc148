#pragma once

#include <cstddef>
#include <string>

// Text in the game's files is single-byte, in the ANSI code page of the
// systems the files come from: Windows-1252. These functions work on that
// byte form; platform/qt/AnsiString.h bridges it to QString.
//
// On Windows the code page is the system's own ANSI code page, as the
// system converts it (MultiByteToWideChar), and upper-casing is the
// system's CharUpperBuffA; the rules below describe Windows-1252, which is
// also what a Windows system with a Western European ANSI code page does.
namespace AnsiCodePage {

// The Unicode code point that a Windows-1252 byte stands for. The five bytes
// the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the
// C1 control of the same value, so that every byte survives a round trip.
char32_t ToUnicode(unsigned char byte);

// The Windows-1252 byte of a code point, or '?' when the code page has none.
unsigned char FromUnicode(char32_t codePoint);

// True when the code point has a byte of its own in the code page.
bool CanEncode(char32_t codePoint);

// Upper-cases one byte by the code page's rules: a-z, the accented small
// letters 0xE0-0xFE except the division sign 0xF7, and the four letters
// whose capitals live in 0x80-0x9F (s/o-e/z caron, y diaeresis). The sharp s
// and the micro sign have no single-byte capital and stay as they are.
unsigned char UpperByte(unsigned char byte);

// Upper-cases a byte buffer in place, as CharUpperBuffA does.
void UpperBuffer(char *bytes, std::size_t length);

// Upper-cased copy of a byte string.
std::string Upper(const std::string &bytes);

} // namespace AnsiCodePage
