#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

// Watches one file for changes by other programs: its size and time against
// those last known. Programs that save by writing a new file and renaming
// it over the old one leave the system's watch on a file that is gone: the
// path is watched anew, through its folder while it is missing.
class TPathWatch : public QObject
{
    Q_OBJECT

public:
    explicit TPathWatch(QObject *Parent);

    // Watches Path (empty: nothing), taking the file as it is now as known.
    void Watch(const QString &Path);
    const QString &Path() const { return FPath; }
    // The file as it is now is known: the program itself just wrote it.
    void Accept();

signals:
    // The file differs from what is known. Said again at every later event
    // while it does, until the file is known again.
    void Changed();

private:
    struct Stamp
    {
        qint64 Size = -1;
        QDateTime Time;
        bool operator==(const Stamp &Other) const { return Size == Other.Size && Time == Other.Time; }
    };

    static Stamp StampOf(const QString &Path);
    void Check();

    QFileSystemWatcher FWatcher;
    QString FPath;
    Stamp FKnown;
};
