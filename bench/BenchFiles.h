#pragma once

#include "tests/support/LayoutTileWriter.h"

#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <string>
#include <vector>

// A path as the system calls want it.
std::string LocalPath(const QString &path);

// The least a program can do to read bytes of a file: one open, one read
// of length bytes at offset, one close. Throws on a short read.
void ReadOnce(const std::string &path, std::int64_t offset, void *buffer, std::size_t length);

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

    // A newer file as the real ones are: 2,048 item groups, 65,536 tiles,
    // every record random with names of 0 to 20 letters.
    static LayoutTileWriter RandomNewer();

    static constexpr const char *SharedName = "stone wall";
    static constexpr int SharedNameCount = 200;

private:
    BenchFiles();
    void MakeTileData();

    QTemporaryDir FDir;
    QString FTileDataPath;
    std::vector<unsigned char> FTileDataBytes;
};
