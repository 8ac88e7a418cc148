#include "tilelinks/LinkFiles.h"

#include "platform/FileSystem.h"

namespace {

bool IsSeparator(char C)
{
#ifdef _WIN32
    return C == '/' || C == '\\' || C == ':';
#else
    return C == FileSystem::PathSeparator;
#endif
}

std::string Prefix(const std::string &Folder)
{
    if (Folder.empty() || IsSeparator(Folder.back()))
        return Folder;
    return Folder + FileSystem::PathSeparator;
}

} // namespace

TLinkFiles::TLinkFiles(const std::string &Folder)
    : FTextures(Prefix(Folder) + "texidx.mul", Prefix(Folder) + "texmaps.mul")
    , FAnimations(Prefix(Folder) + "animdata.mul")
{
}

bool TLinkFiles::AnyIn(const std::string &Folder)
{
    for (const char *name : {"texidx.mul", "texmaps.mul", "animdata.mul"}) {
        if (FileSystem::FileExists(Prefix(Folder) + name))
            return true;
    }
    return false;
}

std::string TLinkFiles::FolderOf(const std::string &TileDataPath)
{
    std::size_t end = TileDataPath.size();
    while (end > 0 && !IsSeparator(TileDataPath[end - 1]))
        --end;
    return TileDataPath.substr(0, end);
}
