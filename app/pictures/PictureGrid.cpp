#include "app/pictures/PictureGrid.h"

#include "app/document/ErrorBox.h"
#include "app/document/TileDocument.h"
#include "app/list/TileListModel.h"
#include "app/list/ViewSelection.h"
#include "app/pictures/PictureDelegate.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cctype>
#include <utility>

TPictureGrid::TPictureGrid(TTileDocument &Document, TTileListModel &Lines, TPictureDelegate *Cells, QWidget *Parent)
    : TListBox(Parent)
    , FDocument(Document)
    , FLines(Lines)
    , FCells(Cells)
{
    setObjectName(QStringLiteral("PictureGrid"));
    // A list that flows left to right and wraps is a grid whose rows are
    // laid out from the one cell size: with 65,536 tiles, the icon mode's
    // layout of every cell would cost more than drawing a screen.
    setViewMode(QListView::ListMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setMovement(QListView::Static);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The scroll bar always takes its room, so that the columns that fill
    // the width do not wrap when it comes.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FTypingEnds = new QTimer(this);
    FTypingEnds->setSingleShot(true);
    FTypingEnds->setInterval(1500);
    connect(FTypingEnds, &QTimer::timeout, this, &TPictureGrid::EndTyping);
    Cells->setParent(this);
    setItemDelegate(Cells);
    setModel(&Lines);
    // The view's own selection model resets with the lines; connected after
    // it, the grid shows the document's selection again once it has.
    connect(&Lines, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { FTopTile = isVisible() ? FLines.TileAt(TopRow()) : -1; });
    connect(&Lines, &QAbstractItemModel::modelReset, this, &TPictureGrid::FollowReset);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TPictureGrid::UserSelected);
    connect(this, &TListBox::CurrentMovedWithin, this, &TPictureGrid::UserSelected);
    connect(&Document, &TTileDocument::SelectionChanged, this, &TPictureGrid::FollowDocument);
    // Edits of many tiles renew the lines without a signal of the model's.
    connect(&Document, &TTileDocument::TilesChanged, viewport(), qOverload<>(&QWidget::update));
    FollowDocument();
}

int TPictureGrid::CellSize() const
{
    return FCells->CellSize();
}

void TPictureGrid::SetCellSize(int Size)
{
    const auto at = std::lower_bound(CellSizes.begin(), CellSizes.end(), Size);
    const int size = at == CellSizes.end() ? CellSizes.back() : *at;
    if (size == CellSize())
        return;
    FCells->SetCellSize(size);
    FitColumns();
    // Uniform cells are measured once; a new size lays the grid out anew.
    doItemsLayout();
    if (currentIndex().isValid())
        scrollTo(currentIndex());
    emit CellSizeChanged(size);
}

void TPictureGrid::Zoom(int Steps)
{
    const auto at = std::find(CellSizes.begin(), CellSizes.end(), CellSize());
    const int from = at == CellSizes.end() ? 2 : int(at - CellSizes.begin());
    SetCellSize(CellSizes[std::size_t(std::clamp(from + Steps, 0, int(CellSizes.size()) - 1))]);
}

void TPictureGrid::wheelEvent(QWheelEvent *Event)
{
    if (!(Event->modifiers() & Qt::ControlModifier))
        return TListBox::wheelEvent(Event);
    const int delta = Event->angleDelta().y();
    if (delta != 0)
        Zoom(delta > 0 ? 1 : -1);
    Event->accept();
}

// The main window's box keeps the focus of its own window while the user
// works here, so no focus change commits what it holds, as a click on the
// list does.
bool TPictureGrid::CommitPendingEdits()
{
    return RunHandler(window(), [this] { FDocument.CommitPendingEdits(); });
}

void TPictureGrid::mousePressEvent(QMouseEvent *Event)
{
    if (!FTyped.isEmpty())
        EndTyping();
    if (!CommitPendingEdits())
        return Event->accept();
    TListBox::mousePressEvent(Event);
}

// Typing ends with the focus leaving the grid: what is typed later starts
// anew.
void TPictureGrid::focusOutEvent(QFocusEvent *Event)
{
    if (!FTyped.isEmpty())
        EndTyping();
    TListBox::focusOutEvent(Event);
}

// Ctrl, Shift and Alt pressed alone select nothing yet: the key or click
// they go with commits, once.
void TPictureGrid::keyPressEvent(QKeyEvent *Event)
{
    switch (Event->key()) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
        return TListBox::keyPressEvent(Event);
    default:
        break;
    }
    if (!CommitPendingEdits())
        return Event->accept();
    if (TypeIndex(Event))
        return Event->accept();
    if (!FTyped.isEmpty())
        EndTyping();
    if (Event->key() == Qt::Key_Space && Event->modifiers() == Qt::NoModifier && currentIndex().isValid()) {
        const QRect cell = visualRect(currentIndex());
        FCells->Preview(this, currentIndex(), viewport()->mapToGlobal(cell.topRight() + QPoint(4, 0)));
        return Event->accept();
    }
    TListBox::keyPressEvent(Event);
}

// Hex digits typed one after another go to the tile they name, as soon as
// the grid shows it; a pause ends the typing, Escape brings back the
// selection from before it.
bool TPictureGrid::TypeIndex(const QKeyEvent *Event)
{
    if (!FTyped.isEmpty() && Event->key() == Qt::Key_Escape) {
        const std::optional<TSelected> before = FTypedFrom;
        EndTyping();
        if (before)
            FDocument.SetSelection(before->Tiles, before->Current, before->Anchor);
        return true;
    }
    const QString text = Event->text();
    const Qt::KeyboardModifiers keys = Event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (keys != Qt::NoModifier || text.size() != 1 || !isxdigit(text.at(0).toLatin1()) || FTyped.size() >= 8)
        return false;
    FTyped += text.toUpper();
    FTypingEnds->start();
    const int tile = FTyped.toInt(nullptr, 16);
    if (FLines.RowOf(tile) >= 0) {
        if (!FTypedFrom)
            FTypedFrom = TSelected{FDocument.SelectedTiles(), FDocument.CurrentTile(), FDocument.AnchorTile()};
        FDocument.Select(tile);
    }
    emit Typed(FTyped);
    return true;
}

void TPictureGrid::EndTyping()
{
    FTypingEnds->stop();
    FTyped.clear();
    FTypedFrom.reset();
    emit Typed(QString());
}

void TPictureGrid::resizeEvent(QResizeEvent *Event)
{
    FitColumns();
    TListBox::resizeEvent(Event);
}

// The cells widen to share the width the columns leave, so that no strip
// stays empty on the right.
void TPictureGrid::FitColumns()
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int fill = FCells->sizeHint(option, QModelIndex()).width();
    FCells->SetFillWidth(0);
    const int natural = std::max(1, FCells->sizeHint(option, QModelIndex()).width());
    // The view wraps a row before a cell that would reach its last pixel.
    const int room = viewport()->width() - 1;
    FCells->SetFillWidth(room / std::max(1, room / natural));
    if (FCells->sizeHint(option, QModelIndex()).width() != fill)
        scheduleDelayedItemsLayout();
}

// A hidden grid follows nothing, so that the selection path costs what it
// did while the Pictures window is closed; it catches up as it shows.
void TPictureGrid::showEvent(QShowEvent *Event)
{
    TListBox::showEvent(Event);
    FShownCurrent = NoneShown;
    FollowDocument();
}

// The grid keeps its scroll place unless the current tile changes: an edit
// made in the main window, a Global Replace among them, shows its tiles
// anew where the user had scrolled to.
void TPictureGrid::FollowDocument()
{
    if (!isVisible()) {
        FShownCurrent = NoneShown;
        return;
    }
    {
        const QScopedValueRollback<bool> byProgram(FSelectingByProgram, true);
        TViewSelection::Show(*this, FLines, FDocument);
    }
    const int current = FDocument.CurrentTile();
    const int row = FLines.RowOf(current);
    if (row >= 0 && std::exchange(FShownCurrent, current) != current)
        scrollTo(FLines.index(row));
}

// Lines renewed with the same current tile keep the tile that was at the
// top of the view there, while the filter still shows it.
void TPictureGrid::FollowReset()
{
    const int top = FLines.RowOf(FTopTile);
    if (top < 0 || FShownCurrent != FDocument.CurrentTile())
        FShownCurrent = NoneShown;
    FollowDocument();
    if (top >= 0 && FShownCurrent != NoneShown)
        SetTopRow(top);
}

// With no current tile, End goes to the last tile and Page Down a page
// below the first tile in view, as the keys say; the list's own move would
// take the first tile for every key.
QModelIndex TPictureGrid::moveCursor(CursorAction Action, Qt::KeyboardModifiers Keys)
{
    const int rows = FLines.rowCount();
    if (currentIndex().isValid() || rows == 0)
        return TListBox::moveCursor(Action, Keys);
    const QModelIndex first = model()->index(std::max(TopRow(), 0), 0);
    const QPoint from = visualRect(first).center();
    const int page = viewport()->height();
    switch (Action) {
    case MoveEnd:
        return model()->index(rows - 1, 0);
    case MoveHome:
        return model()->index(0, 0);
    case MovePageDown: {
        const QModelIndex below = indexAt(from + QPoint(0, page));
        return below.isValid() ? below : model()->index(rows - 1, 0);
    }
    case MovePageUp: {
        const QModelIndex above = indexAt(from - QPoint(0, page));
        return above.isValid() ? above : model()->index(0, 0);
    }
    default:
        return first;
    }
}

void TPictureGrid::UserSelected()
{
    if (FSelectingByProgram)
        return;
    RunHandler(window(), [this] { TViewSelection::Take(*this, FLines, FDocument); });
}
