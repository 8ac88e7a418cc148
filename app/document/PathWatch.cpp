#include "app/document/PathWatch.h"

#include <QFileInfo>

TPathWatch::TPathWatch(QObject *Parent)
    : QObject(Parent)
{
    connect(&FWatcher, &QFileSystemWatcher::fileChanged, this, &TPathWatch::Check);
    connect(&FWatcher, &QFileSystemWatcher::directoryChanged, this, &TPathWatch::Check);
}

TPathWatch::Stamp TPathWatch::StampOf(const QString &Path)
{
    const QFileInfo info(Path);
    if (!info.exists())
        return {};
    return {info.size(), info.fileTime(QFileDevice::FileModificationTime)};
}

void TPathWatch::Watch(const QString &Path)
{
    if (!FWatcher.files().isEmpty())
        FWatcher.removePaths(FWatcher.files());
    if (!FWatcher.directories().isEmpty())
        FWatcher.removePaths(FWatcher.directories());
    FPath = Path;
    if (Path.isEmpty())
        return;
    FWatcher.addPath(Path);
    FWatcher.addPath(QFileInfo(Path).absolutePath());
    FKnown = StampOf(Path);
}

void TPathWatch::Accept()
{
    FKnown = StampOf(FPath);
}

void TPathWatch::Check()
{
    if (FPath.isEmpty())
        return;
    // A file renamed over the watched one is a new file to the system.
    if (!FWatcher.files().contains(FPath) && QFileInfo::exists(FPath))
        FWatcher.addPath(FPath);
    const Stamp now = StampOf(FPath);
    if (now == FKnown || now.Size < 0)
        return;
    emit Changed();
}
