#include "app/list/ListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include <algorithm>

namespace {

// Only the left button chooses lines; the others have nothing to do here.
bool ChoosesLines(const QMouseEvent *Event)
{
    return Event->button() == Qt::LeftButton;
}

} // namespace

TListBox::TListBox(QWidget *Parent)
    : QListView(Parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
}

QItemSelectionModel::SelectionFlags TListBox::selectionCommand(const QModelIndex &Index, const QEvent *Event) const
{
    // Nothing to select (below the last line) keeps the line there is.
    if (!Index.isValid() || FAnchoring)
        return QItemSelectionModel::NoUpdate;
    QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(Index, Event);
    // A range needs a line to start from: with no current line, Shift+click
    // selects the line clicked alone, which then anchors, rather than a
    // range from wherever the view last had one.
    if ((command & QItemSelectionModel::Current) && !currentIndex().isValid())
        command = QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    // A Ctrl+click or Ctrl+Space would deselect the only selected line.
    const QItemSelection selected = selectionModel()->selection();
    const bool onlyLine = selected.size() == 1 && selected.first().height() == 1 && selected.first().contains(Index);
    if (onlyLine && (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)))
        return QItemSelectionModel::NoUpdate;
    FExtending = command & QItemSelectionModel::Current;
    return command;
}

void TListBox::selectionChanged(const QItemSelection &Selected, const QItemSelection &Deselected)
{
    FSelectionChanged = true;
    QListView::selectionChanged(Selected, Deselected);
}

template <typename Handle> void TListBox::TellCurrentMove(Handle &&Handling)
{
    const QPersistentModelIndex before = currentIndex();
    FSelectionChanged = false;
    Handling();
    const QModelIndex now = currentIndex();
    if (!FSelectionChanged && now.isValid() && now != before && selectionModel()->isSelected(now))
        emit CurrentMovedWithin();
}

void TListBox::mousePressEvent(QMouseEvent *Event)
{
    FExtending = false;
    if (ChoosesLines(Event))
        TellCurrentMove([&] { QListView::mousePressEvent(Event); });
    else
        Event->accept();
}

// Ctrl+A selects without asking selectionCommand: it starts anew.
void TListBox::keyPressEvent(QKeyEvent *Event)
{
    FExtending = false;
    TellCurrentMove([&] { QListView::keyPressEvent(Event); });
}

void TListBox::mouseReleaseEvent(QMouseEvent *Event)
{
    if (ChoosesLines(Event))
        QListView::mouseReleaseEvent(Event);
    else
        Event->accept();
}

void TListBox::mouseDoubleClickEvent(QMouseEvent *Event)
{
    if (ChoosesLines(Event))
        QListView::mouseDoubleClickEvent(Event);
    else
        Event->accept();
}

// Runs of lines go in as one range each: merging line by line looks at every
// range so far, which took minutes for 65,536 lines.
void TListBox::SelectRows(std::vector<int> Rows, int Current, int Anchor)
{
    std::sort(Rows.begin(), Rows.end());
    QItemSelection lines;
    for (std::size_t first = 0, last = 0; first < Rows.size(); first = ++last) {
        while (last + 1 < Rows.size() && Rows[last + 1] <= Rows[last] + 1)
            ++last;
        lines.append(QItemSelectionRange(model()->index(Rows[first], 0), model()->index(Rows[last], 0)));
    }
    selectionModel()->select(lines, QItemSelectionModel::ClearAndSelect);
    // Only the view's own setCurrentIndex moves its anchor; the selection
    // model's then makes the current line current without touching it. With
    // nothing selected the anchor stays all the same, or goes with the
    // current line: a Shift-click must never start from a line the view
    // remembers from before.
    const QScopedValueRollback<bool> anchoring(FAnchoring, true);
    const int anchor = Anchor >= 0 ? Anchor : Current;
    setCurrentIndex(anchor >= 0 ? model()->index(anchor, 0) : QModelIndex());
    selectionModel()->setCurrentIndex(Current >= 0 ? model()->index(Current, 0) : QModelIndex(),
                                      QItemSelectionModel::NoUpdate);
}

int TListBox::TopRow() const
{
    return indexAt(QPoint(0, 0)).row();
}

void TListBox::SetTopRow(int Row)
{
    if (Row >= 0)
        scrollTo(model()->index(Row, 0), QAbstractItemView::PositionAtTop);
}
