#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QFrame>

class QLabel;
class QPushButton;
class TTileDocument;

// Watches the open tile data file for changes by other programs, and says so
// in a bar at the top of the window rather than in a box that stops the
// work. The window's own saves are told apart by the file's size and time
// as they were right after the save. Programs that save by writing a new
// file and renaming it over the old one leave the watch on a file that is
// gone: the path is watched anew, through its folder while it is missing.
// The watch follows the document: each load watches its file anew.
class TFileWatch : public QFrame
{
    Q_OBJECT

public:
    TFileWatch(TTileDocument &Document, QWidget *Parent);

    // Watches Path (empty: nothing), which the window has just loaded.
    void Watch(const QString &Path);
    // The window has just written the file itself.
    void Wrote();

    QLabel *Text = nullptr;
    QPushButton *ReloadButton = nullptr;

signals:
    // The bar came or went.
    void Toggled();
    // The bar's Reload button.
    void ReloadRequested();

private:
    struct Stamp
    {
        qint64 Size = -1;
        QDateTime Time;
        bool operator==(const Stamp &Other) const { return Size == Other.Size && Time == Other.Time; }
    };

    static Stamp StampOf(const QString &Path);
    void Check();
    void ShowBar(bool Shown);

    QFileSystemWatcher FWatcher;
    QString FPath;
    Stamp FKnown;
    TTileDocument &FDocument;
};
