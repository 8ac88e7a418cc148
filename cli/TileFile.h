#pragma once

#include <memory>
#include <string>
#include <vector>

class TTileData;

// A tile data file opened through the store, with its records loaded. The
// tool refuses a file too short to hold all 16,383 records: the window
// reads the missing part as zeros, but a dump of those zeros, or an apply
// onto them, would pass off tiles the file does not have.
class TileFile
{
public:
    enum class Use {
        Read,  // dump and diff: "-" is standard input, and pipes are read to their end
        Write, // apply: a regular file, which the store saves in place
    };

    // Throws Error "Cannot open file ...", "<file>: Stream read error" or a
    // line saying the file is too short.
    TileFile(const std::string &Path, Use How);
    ~TileFile();

    TileFile(const TileFile &) = delete;
    TileFile &operator=(const TileFile &) = delete;

    TTileData &Store() { return *FStore; }
    const TTileData &Store() const { return *FStore; }
    // Every byte of the file as it was read.
    const std::vector<unsigned char> &Bytes() const { return FBytes; }

private:
    std::vector<unsigned char> FBytes;
    std::unique_ptr<TTileData> FStore;
};
