#pragma once

#include <QListView>

#include <vector>

// A list of the usual extended selection (Shift for a range, Ctrl to add or
// take away one line, Ctrl+A for every line) that, once a line is chosen,
// is never left without one: Ctrl+click on the only selected line, a click
// below the last line and buttons other than the left one change nothing.
// Only the program itself clears the selection, through the selection model.
class TListBox : public QListView
{
    Q_OBJECT

public:
    explicit TListBox(QWidget *Parent);

    // Selects exactly Rows, Current (-1: none) the current line among them,
    // without a selection signal of the user's kind.
    void SelectRows(std::vector<int> Rows, int Current);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &Index,
                                                         const QEvent *Event) const override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;
};
