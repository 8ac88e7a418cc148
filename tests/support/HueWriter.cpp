#include "tests/support/HueWriter.h"

#include "tests/support/TestFiles.h"

#include <algorithm>
#include <stdexcept>

namespace {

int Channel(std::uint16_t colour, int shift)
{
    return (colour >> shift) & 0x1F;
}

} // namespace

HueWriter::HueWriter(int blocks)
{
    SetBlockCount(blocks);
}

void HueWriter::SetBlockCount(int blocks)
{
    if (blocks < 0)
        throw std::invalid_argument("negative block count");
    FBlocks = blocks;
    FBody.resize(static_cast<std::size_t>(blocks) * BlockSize, 0);
}

std::size_t HueWriter::OffsetOf(int hueNumber)
{
    const int index = hueNumber - 1;
    const std::size_t block = static_cast<std::size_t>(index / HuesPerBlock);
    const std::size_t slot = static_cast<std::size_t>(index % HuesPerBlock);
    return block * BlockSize + 4 + slot * HueSize;
}

std::size_t HueWriter::CheckedOffset(int hueNumber) const
{
    if (hueNumber < 1 || hueNumber > HueCount())
        throw std::out_of_range("hue " + std::to_string(hueNumber) + " is not in the file");
    return OffsetOf(hueNumber);
}

void HueWriter::SetHeader(int block, std::uint32_t header)
{
    if (block < 0 || block >= FBlocks)
        throw std::out_of_range("block " + std::to_string(block) + " is not in the file");
    TestFiles::PutU32(FBody, static_cast<std::size_t>(block) * BlockSize, header);
}

void HueWriter::SetHue(int hueNumber, const Hue &hue)
{
    for (int shade = 0; shade < Shades; ++shade)
        SetColor(hueNumber, shade, hue.Colors[static_cast<std::size_t>(shade)]);
    const std::size_t at = CheckedOffset(hueNumber);
    TestFiles::PutU16(FBody, at + 64, hue.TableStart);
    TestFiles::PutU16(FBody, at + 66, hue.TableEnd);
    std::string name = hue.Name.substr(0, NameSize);
    name.resize(NameSize, '\0');
    SetRawName(hueNumber, name);
}

void HueWriter::SetColor(int hueNumber, int shade, std::uint16_t colour)
{
    if (shade < 0 || shade >= Shades)
        throw std::out_of_range("shade " + std::to_string(shade));
    TestFiles::PutU16(FBody, CheckedOffset(hueNumber) + 2 * static_cast<std::size_t>(shade), colour);
}

void HueWriter::SetRawName(int hueNumber, const std::string &twentyBytes)
{
    if (twentyBytes.size() != NameSize)
        throw std::invalid_argument("a raw hue name has exactly 20 bytes");
    std::copy(twentyBytes.begin(), twentyBytes.end(),
              FBody.begin() + static_cast<std::ptrdiff_t>(CheckedOffset(hueNumber) + 68));
}

std::vector<unsigned char> HueWriter::Bytes() const
{
    std::vector<unsigned char> bytes = FBody;
    bytes.insert(bytes.end(), FTrailing.begin(), FTrailing.end());
    return bytes;
}

void HueWriter::WriteTo(const QString &path) const
{
    TestFiles::WriteBytes(path, Bytes());
}

std::uint16_t HueWriter::Colour15(int red, int green, int blue)
{
    return static_cast<std::uint16_t>(((red & 0x1F) << 10) | ((green & 0x1F) << 5) | (blue & 0x1F));
}

std::array<std::uint16_t, HueWriter::Shades> HueWriter::Ramp(std::uint16_t darkest, std::uint16_t brightest)
{
    std::array<std::uint16_t, Shades> ramp {};
    for (int shade = 0; shade < Shades; ++shade) {
        const auto step = [&](int shift) {
            const int from = Channel(darkest, shift);
            const int to = Channel(brightest, shift);
            return from + (to - from) * shade / (Shades - 1);
        };
        ramp[static_cast<std::size_t>(shade)] = Colour15(step(10), step(5), step(0));
    }
    return ramp;
}
