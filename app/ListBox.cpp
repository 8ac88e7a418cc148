#include "app/ListBox.h"

#include <QMouseEvent>

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
    if (!Index.isValid())
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(Index, Event);
    // A Ctrl+click or Ctrl+Space would deselect the only selected line.
    const QItemSelection selected = selectionModel()->selection();
    const bool onlyLine = selected.size() == 1 && selected.first().height() == 1 && selected.first().contains(Index);
    if (onlyLine && (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void TListBox::mousePressEvent(QMouseEvent *Event)
{
    if (ChoosesLines(Event))
        QListView::mousePressEvent(Event);
    else
        Event->accept();
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
