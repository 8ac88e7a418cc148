#include "tilelinks/LinkFiles.h"

#include "platform/FileSystem.h"

TLinkFiles::TLinkFiles(const std::string &Folder)
    : FTextures(FileSystem::FolderPrefix(Folder) + "texidx.mul", FileSystem::FolderPrefix(Folder) + "texmaps.mul")
    , FAnimations(FileSystem::FolderPrefix(Folder) + "animdata.mul")
{
}

bool TLinkFiles::AnyIn(const std::string &Folder)
{
    for (const char *name : {"texidx.mul", "texmaps.mul", "animdata.mul"}) {
        if (FileSystem::FileExists(FileSystem::FolderPrefix(Folder) + name))
            return true;
    }
    return false;
}

std::string TLinkFiles::FolderOf(const std::string &TileDataPath)
{
    std::size_t end = TileDataPath.size();
    while (end > 0 && !FileSystem::IsFolderEnd(TileDataPath[end - 1]))
        --end;
    return TileDataPath.substr(0, end);
}
