#include "app/list/ListView.h"

#include "app/document/CountWords.h"
#include "app/document/TileDocument.h"
#include "app/list/FilterBar.h"
#include "app/list/ListBox.h"
#include "app/list/TileListModel.h"
#include "app/list/ViewSelection.h"

#include <QEvent>
#include <QScopedValueRollback>
#include <QStatusBar>

#include <algorithm>

TListView::TListView(TTileDocument &Document, TListBox &List, TTileListModel &Lines, TFilterBar &Filter,
                     QStatusBar &Status, QObject *Parent)
    : QObject(Parent)
    , FDocument(Document)
    , FList(List)
    , FLines(Lines)
    , FFilter(Filter)
    , FStatus(Status)
{
    connect(FList.selectionModel(), &QItemSelectionModel::selectionChanged, this, &TListView::SelectionChanged);
    connect(&FList, &TListBox::CurrentMovedWithin, this, &TListView::SelectionChanged);
    // A click on the line that is already current changes no selection but
    // shows the tile again all the same.
    connect(&FList, &QAbstractItemView::pressed, this, [this](const QModelIndex &Index) {
        if (FLines.TileAt(Index.row()) == FCurrentBeforePress && FCurrentBeforePress == FDocument.CurrentTile())
            emit Chosen();
    });
    FList.viewport()->installEventFilter(this);
}

bool TListView::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Event->type() == QEvent::MouseButtonPress && Watched == FList.viewport())
        FCurrentBeforePress = FDocument.CurrentTile();
    return false;
}

void TListView::SelectionChanged()
{
    if (!FSelectingByProgram)
        emit Chosen();
}

void TListView::Refill()
{
    const QScopedValueRollback<bool> byProgram(FSelectingByProgram, true);
    FLines.Refill();
}

void TListView::Rebuild()
{
    const int top = FList.TopRow();
    Refill();
    FList.SetTopRow(top);
}

// A change that may reach any tile rebuilds the list.
void TListView::Renew(const std::vector<int> &Tiles)
{
    if (Tiles.empty()) {
        Rebuild();
    } else if (Tiles.size() > 64) {
        FLines.RenewAll();
        FList.viewport()->update();
    } else {
        for (const int tile : Tiles)
            FLines.Renew(tile);
    }
}

void TListView::Refilter()
{
    const TFilterBar::TilePredicate keep = FFilter.Predicate();
    {
        const QScopedValueRollback<bool> byProgram(FSelectingByProgram, true);
        FLines.SetFilter(keep);
    }
    if (!FDocument.Store())
        return;
    if (keep)
        FStatus.showMessage(MatchText());
    else
        FStatus.clearMessage();
}

// "12 tiles match", with what the filter's conditions note.
QString TListView::MatchText() const
{
    const int shown = FLines.rowCount();
    const QString notes = FFilter.Notes();
    return (shown == 1 ? QStringLiteral("1 tile matches") : Thousands(shown) + QStringLiteral(" tiles match"))
           + (notes.isEmpty() ? QString() : QStringLiteral("; ") + notes);
}

// The selected tile stays selected and in view while it matches; a tile
// the filter hides is no longer selected, and the status bar says so: the
// next edit would miss it.
bool TListView::FollowFilter()
{
    Refilter();
    const std::size_t before = FDocument.SelectedTiles().size();
    if (!KeepSelected())
        return false;
    const std::size_t dropped = before - FDocument.SelectedTiles().size();
    QString text = FFilter.IsActive() ? MatchText() + QStringLiteral("; ") : QString();
    if (before == 1)
        text += QStringLiteral("the selected tile is hidden and no longer selected");
    else
        text += QStringLiteral("%1 of %2 selected tiles %3 hidden and no longer selected")
                    .arg(Thousands(qint64(dropped)), Thousands(qint64(before)),
                         dropped == 1 ? QStringLiteral("is") : QStringLiteral("are"));
    FStatus.showMessage(text);
    return true;
}

bool TListView::SwitchSection(TTileKind Kind)
{
    FTopTiles[FDocument.Section() == TTileKind::Land] = FLines.TileAt(FList.TopRow());
    FLines.SetKind(Kind);
    Refilter();
    FList.SetTopRow(FLines.RowOf(FTopTiles[Kind == TTileKind::Land]));
    return KeepSelected();
}

bool TListView::KeepSelected()
{
    return FDocument.KeepSelected([this](int Tile) { return FLines.RowOf(Tile) >= 0; });
}

void TListView::RevealSelection()
{
    const std::vector<int> &tiles = FDocument.SelectedTiles();
    const bool hidden = std::any_of(tiles.begin(), tiles.end(), [this](int Tile) { return FLines.RowOf(Tile) < 0; });
    if (hidden && FFilter.IsActive())
        FFilter.Clear();
}

// The list itself never lets the user clear its selection, so the program
// goes to the selection model directly.
void TListView::ShowSelection()
{
    {
        const QScopedValueRollback<bool> byProgram(FSelectingByProgram, true);
        TViewSelection::Show(FList, FLines, FDocument);
    }
    const int row = FLines.RowOf(FDocument.CurrentTile());
    if (row >= 0)
        FList.scrollTo(FLines.index(row));
}

void TListView::CenterCurrent()
{
    const int row = FLines.RowOf(FDocument.CurrentTile());
    if (row >= 0)
        FList.scrollTo(FLines.index(row), QAbstractItemView::PositionAtCenter);
}

void TListView::SayCount()
{
    const std::size_t count = FDocument.SelectedTiles().size();
    if (count > 1)
        FStatus.showMessage(Thousands(qint64(count)) + QStringLiteral(" tiles selected"));
    else if (FStatus.currentMessage().endsWith(QLatin1String(" tiles selected")))
        FStatus.clearMessage();
}
