#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TTileData;

// The layout the user names with --layout, or none.
enum class LayoutChoice { FromLength, Classic, Newer };

// What the user says to do with a cut-off save over which another program
// has written since: nothing (the default), or --finish or --discard.
enum class JournalChoice { Refuse, Finish, Discard };

// A tile data file opened through the store, with its records loaded. The
// tool refuses a file too short to hold all its item records: the window
// reads the missing part as zeros, but a dump of those zeros, or an apply
// onto them, would pass off tiles the file does not have.
//
// The layout comes from the file's length. A file longer than the classic
// records whose length fits neither layout exactly is read as classic with
// a warning, or in the layout Choice names; so is a file whose length fits
// one layout exactly while its names clearly read as the other (a newer
// file cut to the classic length), read in the length's layout. A named layout that a file's
// length plainly contradicts is refused. A file too short for either
// layout is refused as short, measured against the layout Choice names or
// else the one its names read as text in; when they do not tell, the
// refusal names both choices.
class TileFile
{
public:
    enum class Use {
        Read,  // dump and diff: "-" is standard input, and pipes are read to their end
        Write, // apply: a regular file, which the store saves in place
    };

    // Throws Error "Cannot open file ...", "<file>: <system's reason>" for a failed read,
    // "<file>: the file ended at byte ..." for a file that shrinks while it
    // is read, or a
    // line saying the file is too short or is not of the named layout.
    TileFile(const std::string &Path, Use How, LayoutChoice Choice = LayoutChoice::FromLength);
    ~TileFile();

    TileFile(const TileFile &) = delete;
    TileFile &operator=(const TileFile &) = delete;

    TTileData &Store() { return *FStore; }
    const TTileData &Store() const { return *FStore; }
    // Every byte of the file as it was read.
    const std::vector<unsigned char> &Bytes() const { return FBytes; }

    // For a length that fits neither layout: "tiledata.mul is 1,036,289
    // bytes long, which fits neither layout exactly; it is read as the
    // classic layout (16,383 tiles · 32-bit flags)". Empty otherwise.
    const std::string &Warning() const { return FWarning; }
    // Throws Error, unless the user named the layout, when the file's
    // length fits neither layout, or its names contradict its length:
    // writing to it would be a guess.
    void RequireKnownLayout() const;
    // True when the layout is a guess: no --layout, and a length that fits
    // neither layout exactly.
    bool FitsNeitherLayout() const;
    // "tiledata.mul is 1,036,289 bytes long".
    std::string LengthText() const;

private:
    std::string FPath;
    LayoutChoice FChoice;
    std::vector<unsigned char> FBytes;
    std::string FWarning;
    // Why the length does not settle the layout ("which fits neither
    // layout exactly"); empty when it does.
    std::string FDoubt;
    std::unique_ptr<TTileData> FStore;
};
