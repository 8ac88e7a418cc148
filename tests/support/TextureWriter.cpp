#include "tests/support/TextureWriter.h"

#include "tests/support/TestFiles.h"

#include <QDir>

int TextureWriter::AddPixels(const std::vector<std::uint16_t> &Pixels, std::uint32_t Extra)
{
    const std::uint32_t offset = std::uint32_t(FTextures.size());
    for (const std::uint16_t pixel : Pixels)
        TestFiles::PutU16(FTextures, FTextures.size(), pixel);
    return AddEntry(offset, std::uint32_t(Pixels.size() * 2), Extra);
}

int TextureWriter::AddEntry(std::uint32_t Offset, std::uint32_t Length, std::uint32_t Extra)
{
    const std::size_t at = FIndex.size();
    TestFiles::PutU32(FIndex, at, Offset);
    TestFiles::PutU32(FIndex, at + 4, Length);
    TestFiles::PutU32(FIndex, at + 8, Extra);
    return int(at / 12);
}

void TextureWriter::PadToEntry(int Number)
{
    while (EntryCount() < Number)
        AddEntry(0xFFFFFFFFu, 0);
}

void TextureWriter::WriteTo(const QString &Folder) const
{
    const QDir dir(Folder);
    TestFiles::WriteBytes(dir.filePath(QStringLiteral("texidx.mul")), FIndex);
    TestFiles::WriteBytes(dir.filePath(QStringLiteral("texmaps.mul")), FTextures);
}
