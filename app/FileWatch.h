#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QFrame>

#include <functional>

class QLabel;
class QPushButton;

// Watches the open tile data file for changes by other programs, and says so
// in a bar at the top of the window rather than in a box that stops the
// work. The window's own saves are told apart by the file's size and time
// as they were right after the save. Programs that save by writing a new
// file and renaming it over the old one leave the watch on a file that is
// gone: the path is watched anew, through its folder while it is missing.
class TFileWatch : public QFrame
{
    Q_OBJECT

public:
    // HasEdits: whether the window holds unsaved edits. Reload: the bar's
    // button.
    TFileWatch(QWidget *Parent, std::function<bool()> HasEdits, std::function<void()> Reload);

    // Watches Path (empty: nothing), which the window has just loaded.
    void Watch(const QString &Path);
    // The window has just written the file itself.
    void Wrote();

    QLabel *Text = nullptr;
    QPushButton *ReloadButton = nullptr;

signals:
    // The bar came or went.
    void Toggled();

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
    std::function<bool()> FHasEdits;
};
