#pragma once

#include <QString>

#include <random>
#include <string>

// The characters the random tile names are made of, each with the byte the
// file holds for it and the byte of its capital, written out by hand so that
// the model needs no code-page converter of its own. The set covers plain
// letters, accented letters whose capitals sit in 0xC0-0xDE and in 0x80-0x9F,
// letters without a single-byte capital, and one character the code page
// lacks.
namespace NameAlphabet {

struct Text
{
    QString Characters;
    std::string Bytes;   // as the store writes them
    bool Encodable = true; // false when a character has no byte of its own
};

// A random text of Length characters; now and then with a zero character or
// one outside the code page.
Text Random(std::mt19937 &random, int Length);

// The same text with random letters switched to their other case. With
// AsciiOnly only a-z and A-Z are switched, so the result still equals the
// original when folding a to z.
Text SwitchCase(const Text &text, std::mt19937 &random, bool AsciiOnly);

// A text from bytes of the alphabet (for names read from the file).
Text FromBytes(const std::string &bytes);

// The capital of a byte of the alphabet by the code page's rules.
unsigned char Upper(unsigned char byte);

} // namespace NameAlphabet
