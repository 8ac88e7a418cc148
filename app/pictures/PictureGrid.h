#pragma once

#include "app/list/ListBox.h"

#include <QTimer>

#include <array>
#include <optional>
#include <vector>

class TPictureDelegate;
class TTileDocument;
class TTileListModel;

// The tiles of the list shown as a grid of their pictures: another view of
// the list's lines, so it shows exactly the tiles the list shows, in its
// order, under its name filter, flags and "≠ only". Its selection is the
// document's: the grid follows the document as the list does, and what the
// user selects here goes to the document, and from there to the list.
//
// The arrows move in two dimensions; Shift, Ctrl and Ctrl+A select as in
// the list. Ctrl+wheel changes the cell size.
class TPictureGrid : public TListBox
{
    Q_OBJECT

public:
    static constexpr std::array<int, 5> CellSizes{32, 44, 64, 96, 128};

    TPictureGrid(TTileDocument &Document, TTileListModel &Lines, TPictureDelegate *Cells, QWidget *Parent);

    int CellSize() const;
    // The nearest of CellSizes at or above Size, or the largest.
    void SetCellSize(int Size);
    // One size up or down (Steps > 0: larger), staying within CellSizes.
    void Zoom(int Steps);
    // A value typed into a box of the main window goes into the tiles it was
    // typed for before the grid selects others or a menu key acts; false
    // when it is refused, and the selection then stays.
    bool CommitPendingEdits();

signals:
    void CellSizeChanged(int Size);
    // A hex index typed in the grid, so far; empty once typing ends.
    void Typed(const QString &Text);

protected:
    void wheelEvent(QWheelEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;
    void showEvent(QShowEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    void focusOutEvent(QFocusEvent *Event) override;
    QModelIndex moveCursor(CursorAction Action, Qt::KeyboardModifiers Keys) override;

private:
    void FollowDocument();
    void FollowReset();
    bool TypeIndex(const QKeyEvent *Event);
    void EndTyping();
    void FitColumns();
    void UserSelected();

    static constexpr int NoneShown = -2;

    TTileDocument &FDocument;
    TTileListModel &FLines;
    TPictureDelegate *FCells; // owned through Qt parenting
    bool FSelectingByProgram = false;
    // The current tile the grid last scrolled to, and the tile at its top
    // before its lines were renewed.
    int FShownCurrent = NoneShown;
    int FTopTile = -1;
    // A hex index being typed, the selection before it went to a tile, and
    // the pause that ends it.
    struct TSelected
    {
        std::vector<int> Tiles;
        int Current;
        int Anchor;
    };
    QString FTyped;
    std::optional<TSelected> FTypedFrom;
    QTimer *FTypingEnds = nullptr;
};
