#pragma once

#include <memory>
#include <string>

class TTileData;

// A tile data file opened through the store, with its records loaded. The
// tool refuses a file too short to hold all 16,383 records: the window
// reads the missing part as zeros, but a dump of those zeros, or an apply
// onto them, would pass off tiles the file does not have.
class TileFile
{
public:
    // Throws Error "Cannot open file ...", "Stream read error" or a line
    // saying the file is too short.
    explicit TileFile(const std::string &Path);
    ~TileFile();

    TileFile(const TileFile &) = delete;
    TileFile &operator=(const TileFile &) = delete;

    TTileData &Store() { return *FStore; }
    const TTileData &Store() const { return *FStore; }

private:
    std::unique_ptr<TTileData> FStore;
};
