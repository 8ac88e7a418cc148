// TTileData::FillListBox, kept apart from the rest of the store so that the
// store itself needs no widgets: the command-line tool links the store
// without this file, the window links both (library tiledata_widgets).

#include "tiledata/TileDataReader.h"

#include <QListWidget>

namespace {

// Suspends a widget's drawing for a scope, so that a refill repaints once,
// and resumes it also when the refill throws.
class UpdatesSuspended
{
public:
    explicit UpdatesSuspended(QWidget *widget)
        : FWidget(widget)
    {
        FWidget->setUpdatesEnabled(false);
    }
    ~UpdatesSuspended() { FWidget->setUpdatesEnabled(true); }

    UpdatesSuspended(const UpdatesSuspended &) = delete;
    UpdatesSuspended &operator=(const UpdatesSuspended &) = delete;

private:
    QWidget *FWidget;
};

// A refill usually follows a rename, into a box that already holds a line
// per tile, of which only the renamed ones differ. Those are renewed in
// place (an unchanged text is left alone by the item itself), instead of
// making all 16,383 items anew and destroying the old ones. The view is
// then reset, as it is when its lines are replaced: no current line, no
// selection.
void RenewLines(QListWidget *ListBox, const QStringList &Lines)
{
    for (int i = 0; i < Lines.size(); ++i)
        ListBox->item(i)->setText(Lines.at(i));
    ListBox->reset();
}

} // namespace

void TTileData::FillListBox(QListWidget *ListBox) const
{
    const UpdatesSuspended suspended(ListBox);
    const QStringList lines = AllListLines();
    if (ListBox->count() == lines.size()) {
        RenewLines(ListBox, lines);
        return;
    }
    ListBox->clear();
    ListBox->addItems(lines);
}
