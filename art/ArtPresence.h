#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Which art entries of a folder hold a picture, for checks that ask about
// every land tile and item at once and must run without a display: no
// picture is decoded and no message box is shown.
//
// The art is found as the window finds it, with the patches of the patch
// file verdata.mul beside it where the window would draw them: for
// entries the art index marks absent (offset -1) and entries the container
// lacks. Everything is read at construction, so Has costs an array
// look-up. The files are untrusted: a
// fault while reading them is kept in Problem, with what was read up to
// it, and never leaves In or Has as an exception.
class TArtPresence
{
public:
    // The art entries there can be: land 0 to 0x3FFF, items from 0x4000.
    static constexpr std::int32_t EntryCount = 0x14000;

    // The art of Folder as the window finds it: artLegacyMUL.uop when it
    // exists, else art.mul with artidx.mul. Null when neither is there.
    // Folder may end in a separator or not; empty is the current folder.
    static std::unique_ptr<TArtPresence> In(const std::string &Folder);

    // Whether art entry EntryNumber holds a picture (land tile t is entry
    // t, item t is entry t + 0x4000).
    bool Has(std::int32_t EntryNumber) const;

    // The file names read, without folder: "artLegacyMUL.uop" or
    // "art.mul, artidx.mul".
    std::string Names() const { return FNames; }

    // Why the files could not be read whole, one line naming the file and
    // the reason; empty when they could.
    std::string Problem() const { return FProblem; }

private:
    explicit TArtPresence(std::string Names);

    void ReadContainer(const std::string &Path);
    void ReadIndex(const std::string &ArtPath, const std::string &IndexPath);
    void MarkFromIndex(const std::vector<unsigned char> &Records, std::uint64_t ArtSize);
    // Gives a picture to each patchable entry with a patch in the patch
    // file at Path, when there is one: the window reads none from a file
    // it cannot open, so that is no problem here either.
    void ReadPatches(const std::string &Path);
    void AddProblem(const std::string &Problem);
    // Runs Read, turning whatever it throws into Problem.
    template <typename TRead>
    void Guarded(const std::string &Name, TRead Read);

    std::string FNames;
    std::string FProblem;
    // Per entry: one of the marks in ArtPresence.cpp; a byte is faster to
    // set and read than a bit of vector<bool>.
    std::vector<unsigned char> FHas;
};
