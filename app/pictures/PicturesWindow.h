#pragma once

#include "app/pictures/PictureDelegate.h"

#include <QWidget>

class QAction;
class TPictureGrid;
class TTileDocument;
class TTileLinks;
class TTileListModel;

// The Pictures window: the grid of the list's pictures, in a window of its
// own beside the main one (whose form keeps its fixed layout), so that it
// can be as large as the user likes, or on another screen. View > Pictures
// (F9) opens it; F9 in either window brings the other forward. It keeps its
// place, size and cell size between runs, and names the open file in its
// title as the main window does. The main window's menu keys (Ctrl+Z,
// Ctrl+C, Ctrl+G, F8...) work here too, on the same selection.
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
        TTileLinks *Links = nullptr; // textures and animations beside the tiles; none: pictures only
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

private:
    void AddKeys(const QList<QAction *> &MenuKeys);
    void AddLinks(TTileLinks *Links, TPictureDelegate *Cells);
    void ShowTitle();
    void Restore();
    void Store() const;

    TTileDocument &FDocument;
    QWidget &FMainWindow;
    bool FRestored = false;
};
