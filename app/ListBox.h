#pragma once

#include <QListView>

// A single-selection list whose selected line, once chosen, stays selected
// until another line is chosen. The user can choose another line but can
// never leave the list without one: Ctrl+click on the selected line, a click
// below the last line and buttons other than the left one change nothing.
// Only the program itself clears the selection, through the selection model.
class TListBox : public QListView
{
    Q_OBJECT

public:
    explicit TListBox(QWidget *Parent);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &Index,
                                                         const QEvent *Event) const override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;
};
