#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class SharedReadFile;

// One hue of the game's hue table.
struct tMyColorEntry
{
    std::int32_t Number = 0;         // counted from 1 in file order
    std::array<char, 20> Name {};    // the name bytes as stored, no terminator added
    QString Key;                     // "00" + Number in upper-case hex; empty until a lookup passes
    std::array<std::uint16_t, 32> Colors {}; // 15-bit colour words, shades 0 to 31
};

// The game's hue table, read from hues.mul: the colour of any shade of a hue,
// found by the hue's key.
//
// The file is a sequence of 708-byte blocks (a 4-byte header and eight
// 88-byte entries: 32 colour words, two words we do not use, a 20-byte name);
// bytes after the last whole block are ignored. Loading shows a small
// progress window and the busy cursor when the program has a GUI.
class THUEColorChooser
{
public:
    static constexpr std::size_t BlockSize = 708;
    static constexpr int EntriesPerBlock = 8;
    static constexpr int ShadeCount = 32;

    using tHueBlock = std::array<unsigned char, BlockSize>;

    THUEColorChooser() = default;

    // Reads the hue file. A file that cannot be opened throws Error before
    // anything else happens. A read failure later on throws Error too, after
    // the progress window is gone and the cursor restored; the table then
    // keeps the blocks read so far. A file shorter than one block loads as an
    // empty table.
    void LoadHues(const QString &path);

    // The RGB colour of the given shade of the first hue whose key equals the
    // given one exactly (keys are upper case: "001A", not "001a"). Black (0)
    // when no hue has the key or the shade lies outside 0 to 31. Fills in the
    // keys of the entries it passes.
    std::uint32_t GetHueColor(const QString &key, int shade);

    // A 15-bit colour word as an RGB colour value: red in the lowest byte,
    // then green and blue; each channel from 0 to 248, bit 15 ignored.
    static std::uint32_t Color15ToRGB(std::uint16_t colour);

    const std::vector<tHueBlock> &Blocks() const { return FBlocks; }
    const std::vector<tMyColorEntry> &Entries() const { return FEntries; }

private:
    class LoadFeedback;

    void ReadBlocks(const SharedReadFile &file, LoadFeedback &feedback);
    void BuildEntries(LoadFeedback &feedback);

    std::vector<tHueBlock> FBlocks;
    std::vector<tMyColorEntry> FEntries;
};
