#pragma once

#include "tilecheck/CheckSources.h"
#include "tilecheck/RadarColours.h"
#include "tilelinks/AnimationReader.h"
#include "tilelinks/TextureReader.h"

#include <memory>
#include <string>
#include <vector>

class TArtPresence;

// The files of one folder that the rules read beside the tile data: the
// art, animdata.mul, texidx.mul with texmaps.mul, and radarcol.mul. Each is
// read once, here, so that a file that cannot be read whole is known before
// any rule runs: its rules are then skipped rather than reporting what a
// half-read file seems to lack.
class TCheckFiles
{
public:
    // Folder with or without its trailing separator; empty is the current
    // folder.
    explicit TCheckFiles(const std::string &Folder);
    ~TCheckFiles();

    // The readers of the files found and read whole.
    TCheckSources Sources();
    // The names of the files found and read whole, in a fixed order.
    const std::vector<std::string> &Found() const { return FFound; }
    // The names of the files not there.
    const std::vector<std::string> &Missing() const { return FMissing; }
    // One line per file found but not read whole: the reason, and the rules
    // it keeps from running.
    const std::vector<std::string> &Problems() const { return FProblems; }

private:
    void FindArt(const std::string &Prefix);
    void FindAnimations(const std::string &Prefix);
    void FindTextures(const std::string &Prefix);
    void FindRadar(const std::string &Prefix);
    // Sorts a file into Found or Problems; true when it was read whole.
    // Needed names it as the rules' needs do, to tell which rules it stops.
    bool Sort(const std::string &Names, const std::string &Problem, const char *Needed);

    std::unique_ptr<TArtPresence> FArt;
    std::unique_ptr<TAnimationReader> FAnimations;
    std::unique_ptr<TTextureReader> FTextures;
    std::unique_ptr<TRadarColours> FRadar;
    std::vector<std::string> FFound;
    std::vector<std::string> FMissing;
    std::vector<std::string> FProblems;
};
