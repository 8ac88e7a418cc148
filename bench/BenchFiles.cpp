#include "bench/BenchFiles.h"

#include "tests/support/TileDataWriter.h"

#include <fcntl.h>
#include <random>
#include <stdexcept>
#include <unistd.h>

std::string LocalPath(const QString &path)
{
    return path.toLocal8Bit().toStdString();
}

void ReadOnce(const std::string &path, std::int64_t offset, void *buffer, std::size_t length)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path);
    const ssize_t n = ::pread(fd, buffer, length, static_cast<off_t>(offset));
    ::close(fd);
    if (n != static_cast<ssize_t>(length))
        throw std::runtime_error("short read of " + path);
}

BenchFiles &BenchFiles::Instance()
{
    static BenchFiles files;
    return files;
}

BenchFiles::BenchFiles()
{
    if (!FDir.isValid())
        throw std::runtime_error("cannot create a temporary folder for the benchmark files");
}

QString BenchFiles::Folder() const
{
    return FDir.path() + QLatin1Char('/');
}

const QString &BenchFiles::TileDataPath()
{
    if (FTileDataPath.isEmpty())
        MakeTileData();
    return FTileDataPath;
}

const std::vector<unsigned char> &BenchFiles::TileDataBytes()
{
    if (FTileDataPath.isEmpty())
        MakeTileData();
    return FTileDataBytes;
}

void BenchFiles::MakeTileData()
{
    TileDataWriter writer(7);
    writer.RandomizeRecords();
    // Spread the shared name over the whole table, as real files scatter
    // their walls and floors.
    const int step = TileDataWriter::Tiles / SharedNameCount;
    for (int k = 0; k < SharedNameCount; ++k) {
        TileDataWriter::Record record = writer.ReadRecord(k * step);
        record.Name = SharedName;
        writer.SetRecord(k * step, record);
    }
    FTileDataPath = Folder() + QStringLiteral("tiledata.mul");
    writer.WriteTo(FTileDataPath);
    FTileDataBytes = writer.Bytes();
}

LayoutTileWriter BenchFiles::RandomNewer()
{
    LayoutTileWriter writer = LayoutTileWriter::Newer(2048, 17);
    std::mt19937 random(18);
    for (int i = 0; i < writer.Items(); ++i) {
        LayoutTileWriter::Item item = writer.ReadItem(i);
        item.Name.assign(random() % 21, 'a');
        for (char &c : item.Name)
            c = char('a' + random() % 26);
        writer.SetItem(i, item);
    }
    return writer;
}
