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

} // namespace

void TTileData::FillListBox(QListWidget *ListBox) const
{
    const UpdatesSuspended suspended(ListBox);
    ListBox->clear();
    // Before the first LoadTiles every tile is empty and no lines are kept.
    ListBox->addItems(Lines.isEmpty() ? AllListLines() : Lines);
}
