#include "tests/support/AnimationWriter.h"

#include "tests/support/TestFiles.h"

#include <QDir>

void AnimationWriter::SetBlockCount(int Blocks)
{
    if (FBytes.size() < std::size_t(Blocks) * BlockSize)
        FBytes.resize(std::size_t(Blocks) * BlockSize, 0);
}

void AnimationWriter::SetHeader(int Block, std::uint32_t Header)
{
    SetBlockCount(Block + 1);
    TestFiles::PutU32(FBytes, std::size_t(Block) * BlockSize, Header);
}

void AnimationWriter::SetEntry(int Item, const std::vector<int> &Offsets, int Interval, int Delay, int Count,
                               int Unknown)
{
    SetBlockCount(Item / 8 + 1);
    const std::size_t at = std::size_t(Item / 8) * BlockSize + 4 + std::size_t(Item % 8) * 68;
    for (std::size_t i = 0; i < 64; ++i)
        FBytes[at + i] = i < Offsets.size() ? std::uint8_t(Offsets[i] & 0xFF) : 0;
    FBytes[at + 64] = std::uint8_t(Unknown);
    FBytes[at + 65] = std::uint8_t(Count < 0 ? int(Offsets.size()) : Count);
    FBytes[at + 66] = std::uint8_t(Interval);
    FBytes[at + 67] = std::uint8_t(Delay);
}

void AnimationWriter::WriteTo(const QString &Folder) const
{
    TestFiles::WriteBytes(QDir(Folder).filePath(QStringLiteral("animdata.mul")), FBytes);
}
