#pragma once

#include <QString>
#include <QTemporaryDir>

#include <string>
#include <vector>

// Full-size game files, generated once per process into a temporary folder
// through the test-support writers, and shared by every benchmark that reads
// them.
class BenchFiles
{
public:
    static BenchFiles &Instance();

    // The folder the files lie in, with its trailing separator.
    QString Folder() const;

    // A full-size tile data file: every record random, names of 0 to 20
    // letters, and SharedNameCount tiles named SharedName so that a global
    // replace has work to do.
    const QString &TileDataPath();
    const std::vector<unsigned char> &TileDataBytes();

    static constexpr const char *SharedName = "stone wall";
    static constexpr int SharedNameCount = 200;

private:
    BenchFiles();
    void MakeTileData();

    QTemporaryDir FDir;
    QString FTileDataPath;
    std::vector<unsigned char> FTileDataBytes;
};
