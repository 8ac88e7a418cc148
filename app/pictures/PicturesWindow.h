#pragma once

#include "app/pictures/PictureDelegate.h"

#include <QWidget>

#include <functional>

class QAction;
class QLabel;
class QPushButton;
class QStatusBar;
class TFileWatch;
class TPictureGrid;
class TTileDocument;
class TTileLinks;
class TTileListModel;
class TTileProblems;

// The Pictures window: the grid of the list's pictures, in a window of its
// own beside the main one (whose form keeps its fixed layout), so that it
// can be as large as the user likes, or on another screen. View > Pictures
// (F9) opens it; F9 in either window brings the other forward. It keeps its
// place, size and cell size between runs, and names the open file in its
// title as the main window does, with its mark of unsaved edits and the
// section shown. The main window's menu keys (Ctrl+Z, Ctrl+C, Ctrl+G,
// F8...) work here too, on the same selection. Its own status line counts
// the tiles shown and selected and the current tile's findings, and says
// what the actions started here said; the bar of a file changed on disk shows here too, and a grid left
// empty says why.
class TPicturesWindow : public QWidget
{
    Q_OBJECT

public:
    // Where the grid's cells come from.
    struct Sources
    {
        TTileListModel *Lines; // the main window's list
        TPictureDelegate::PictureSource Pictures;
        TPictureDelegate::DifferencePredicate Differs;
        QList<QAction *> MenuKeys; // the main window's actions whose keys work here too
        QStatusBar *Status;        // the main window's, whose messages show here too
        TFileWatch *Watch;         // the main window's changed-on-disk bar
        std::function<void()> ShowInList; // the list shows the current tile, focused
        TTileLinks *Links = nullptr; // textures and animations beside the tiles; none: pictures only
        TTileProblems *Problems = nullptr; // the tiles' findings; none: not shown
    };

    // A window of its own, with no parent: a child window would stay above
    // the main one, and F9 could not bring that forward.
    TPicturesWindow(TTileDocument &Document, QWidget &MainWindow, const Sources &From);
    ~TPicturesWindow() override;

    // F9 in the main window: shows this window, or brings it forward.
    void ShowOrRaise();
    // The grid draws anew, as after the comparison's marks changed.
    void Repaint();

    TPictureGrid *Grid = nullptr;
    // "Textures": land cells show their textures instead of their pictures.
    QAction *TexturesSwitch = nullptr;

protected:
    void closeEvent(QCloseEvent *Event) override;
    bool event(QEvent *Event) override;

private:
    void AddKeys(const QList<QAction *> &MenuKeys);
    void AddButtonKeys();
    // Runs the main window's Action for this window, as its key does here.
    void Run(QAction *Action);
    void ShowCellMenu(const QPoint &At);
    void AddBar(TFileWatch *Watch);
    void TakeFocusBack();
    void AddStatus(QStatusBar *MainStatus);
    void AddLinks(TTileLinks *Links, TPictureDelegate *Cells);
    void AddProblems(TTileProblems *Problems, TPictureDelegate *Cells);
    void ShowTitle();
    void ShowCount();
    void ShowNotice();
    void Restore();
    void Store() const;

    TTileDocument &FDocument;
    QWidget &FMainWindow;
    TPictureDelegate::PictureSource FPictures;
    QLabel *FNotice = nullptr;
    QStatusBar *FStatus = nullptr;
    QLabel *FCount = nullptr;
    QList<QAction *> FMenuKeys;
    std::function<void()> FShowInList;
    // Set when a dialog blocked this window.
    bool FBlocked = false;
    bool FRestored = false;
};
