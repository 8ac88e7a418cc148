#include "art/ArtPaths.h"

#include "platform/FileSystem.h"

#include <algorithm>

namespace {

const QChar Separator = QLatin1Char(FileSystem::PathSeparator);

// Windows takes '/' as well as '\\', and Qt hands out paths with '/' there
// (the open-file dialog does), so both end a directory.
bool EndsWithSeparator(const QString &Path)
{
#ifdef _WIN32
    if (Path.endsWith(QLatin1Char('/')))
        return true;
#endif
    return Path.endsWith(Separator);
}

qsizetype LastDirectoryBreak(const QString &Path)
{
    qsizetype found = Path.lastIndexOf(Separator);
#ifdef _WIN32
    found = std::max({found, Path.lastIndexOf(QLatin1Char('/')), Path.lastIndexOf(QLatin1Char(':'))});
#endif
    return found;
}

} // namespace

QString AddTrailingBackslash(const QString &Directory)
{
    if (EndsWithSeparator(Directory))
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
