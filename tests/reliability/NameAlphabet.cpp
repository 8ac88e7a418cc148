#include "tests/reliability/NameAlphabet.h"

#include <stdexcept>
#include <vector>

namespace NameAlphabet {

namespace {

struct Letter
{
    char16_t Code;
    unsigned char Byte;
    unsigned char Upper;
    char16_t Other; // the character of the other case, or 0
};

const std::vector<Letter> &Letters()
{
    static const std::vector<Letter> letters = [] {
        std::vector<Letter> list;
        for (char16_t c = u'a'; c <= u'z'; ++c)
            list.push_back({c, static_cast<unsigned char>(c), static_cast<unsigned char>(c - 0x20), char16_t(c - 0x20)});
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            list.push_back({c, static_cast<unsigned char>(c), static_cast<unsigned char>(c), char16_t(c + 0x20)});
        for (char16_t c : {u'0', u'7', u' ', u'-', u'?'})
            list.push_back({c, static_cast<unsigned char>(c), static_cast<unsigned char>(c), 0});
        const Letter codePage[] = {
            {u'\u00E9', 0xE9, 0xC9, u'\u00C9'}, // e acute
            {u'\u00C9', 0xC9, 0xC9, u'\u00E9'},
            {u'\u00F6', 0xF6, 0xD6, u'\u00D6'}, // o diaeresis
            {u'\u00D6', 0xD6, 0xD6, u'\u00F6'},
            {u'\u0161', 0x9A, 0x8A, u'\u0160'}, // s caron: capital in 0x80-0x9F
            {u'\u0160', 0x8A, 0x8A, u'\u0161'},
            {u'\u0153', 0x9C, 0x8C, u'\u0152'}, // o-e ligature
            {u'\u0152', 0x8C, 0x8C, u'\u0153'},
            {u'\u00FF', 0xFF, 0x9F, u'\u0178'}, // y diaeresis
            {u'\u0178', 0x9F, 0x9F, u'\u00FF'},
            {u'\u00DF', 0xDF, 0xDF, 0},         // sharp s: no single-byte capital
            {u'\u00B5', 0xB5, 0xB5, 0},         // micro sign: neither
            {u'\u00F7', 0xF7, 0xF7, 0},         // division sign: not a letter
            {u'\u20AC', 0x80, 0x80, 0},         // euro sign
        };
        list.insert(list.end(), std::begin(codePage), std::end(codePage));
        return list;
    }();
    return letters;
}

const Letter *Find(char16_t code)
{
    for (const Letter &l : Letters()) {
        if (l.Code == code)
            return &l;
    }
    return nullptr;
}

// The letter of each byte, looked up once per byte value.
const Letter *FindByte(unsigned char byte)
{
    static const std::vector<const Letter *> byByte = [] {
        std::vector<const Letter *> table(256, nullptr);
        for (const Letter &l : Letters())
            table[l.Byte] = &l;
        return table;
    }();
    return byByte[byte];
}

void Append(Text &text, char16_t code)
{
    text.Characters.append(QChar(code));
    if (code == 0) {
        text.Bytes.push_back('\0');
    } else if (const Letter *l = Find(code)) {
        text.Bytes.push_back(static_cast<char>(l->Byte));
    } else {
        // Outside the code page: the store writes a question mark.
        text.Bytes.push_back('?');
        text.Encodable = false;
    }
}

} // namespace

Text Random(std::mt19937 &random, int Length)
{
    const auto &letters = Letters();
    Text text;
    for (int i = 0; i < Length; ++i) {
        const unsigned roll = random() % 100;
        if (roll == 0)
            Append(text, 0);
        else if (roll == 1)
            Append(text, u'\u0436'); // Cyrillic zhe
        else
            Append(text, letters[random() % letters.size()].Code);
    }
    return text;
}

Text SwitchCase(const Text &text, std::mt19937 &random, bool AsciiOnly)
{
    Text result;
    for (const QChar c : text.Characters) {
        char16_t code = c.unicode();
        const Letter *l = Find(code);
        const bool ascii = code < 0x80;
        if (l && l->Other != 0 && (ascii || !AsciiOnly) && random() % 2 == 0)
            code = l->Other;
        Append(result, code);
    }
    return result;
}

Text FromBytes(const std::string &bytes)
{
    Text text;
    for (const char b : bytes) {
        const Letter *l = FindByte(static_cast<unsigned char>(b));
        if (!l)
            throw std::runtime_error("name byte outside the test alphabet: " + std::to_string(int(static_cast<unsigned char>(b))));
        Append(text, l->Code);
    }
    return text;
}

unsigned char Upper(unsigned char byte)
{
    if (byte == 0)
        return 0;
    const Letter *l = FindByte(byte);
    if (!l)
        throw std::runtime_error("name byte outside the test alphabet: " + std::to_string(int(byte)));
    return l->Upper;
}

} // namespace NameAlphabet
