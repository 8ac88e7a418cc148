#include "tests/support/RadarWriter.h"

#include "tests/support/TestFiles.h"

#include <QDir>

RadarWriter::RadarWriter(int Entries)
    : FBytes(std::size_t(Entries) * 2, 0)
{
}

void RadarWriter::Set(int Entry, std::uint16_t Colour)
{
    FBytes.at(std::size_t(Entry) * 2) = static_cast<unsigned char>(Colour & 0xFF);
    FBytes.at(std::size_t(Entry) * 2 + 1) = static_cast<unsigned char>(Colour >> 8);
}

void RadarWriter::WriteTo(const QString &Folder) const
{
    TestFiles::WriteBytes(QDir(Folder).filePath(QStringLiteral("radarcol.mul")), FBytes);
}
