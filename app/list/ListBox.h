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
    // without a selection signal of the user's kind. Anchor (-1: Current) is
    // where the next Shift-selection starts.
    void SelectRows(std::vector<int> Rows, int Current, int Anchor);
    // True when the user's last selection in the list extended the selection
    // from its anchor (Shift, or a drag), rather than starting anew.
    bool Extending() const { return FExtending; }
    // The first line in view, and a line scrolled to the top (-1: none).
    int TopRow() const;
    void SetTopRow(int Row);

signals:
    // The user moved the current line to another selected one, and the
    // lines selected stayed as they were (Shift+Right within a range that
    // already holds the line): no selection signal tells of it.
    void CurrentMovedWithin();

protected:
    void selectionChanged(const QItemSelection &Selected, const QItemSelection &Deselected) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &Index,
                                                         const QEvent *Event) const override;
    void mousePressEvent(QMouseEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;

private:
    // Runs the view's own handling of a user's press, and tells when it moved
    // only the current line.
    template <typename Handle> void TellCurrentMove(Handle &&Handling);

    bool FSelectionChanged = false;
    // Set while the program makes a line current: the view then takes it as
    // the anchor, and selects nothing itself.
    bool FAnchoring = false;
    mutable bool FExtending = false;
};
