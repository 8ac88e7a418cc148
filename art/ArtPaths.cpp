#include "art/ArtPaths.h"

#include "platform/FileSystem.h"

#include <algorithm>

namespace {

const QChar Separator = QLatin1Char(FileSystem::PathSeparator);

qsizetype LastDirectoryBreak(const QString &Path)
{
    qsizetype found = Path.lastIndexOf(Separator);
#ifdef _WIN32
    found = std::max(found, Path.lastIndexOf(QLatin1Char(':')));
#endif
    return found;
}

} // namespace

QString AddTrailingBackslash(const QString &Directory)
{
    if (Directory.endsWith(Separator))
        return Directory;
    return Directory + Separator;
}

QString DirectoryPart(const QString &Path)
{
    return Path.left(LastDirectoryBreak(Path) + 1);
}

QString FileNamePart(const QString &Path)
{
    return Path.mid(LastDirectoryBreak(Path) + 1);
}
