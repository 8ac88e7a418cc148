#include "app/list/ViewSelection.h"

#include "app/document/TileDocument.h"
#include "app/list/ListBox.h"
#include "app/list/TileListModel.h"

#include <vector>

void TViewSelection::Show(TListBox &View, const TTileListModel &Lines, const TTileDocument &Document)
{
    std::vector<int> rows;
    for (const int tile : Document.SelectedTiles()) {
        if (const int row = Lines.RowOf(tile); row >= 0)
            rows.push_back(row);
    }
    View.SelectRows(std::move(rows), Lines.RowOf(Document.CurrentTile()), Lines.RowOf(Document.AnchorTile()));
}

void TViewSelection::Take(const TListBox &View, const TTileListModel &Lines, TTileDocument &Document)
{
    std::vector<int> tiles;
    for (const QModelIndex &line : View.selectionModel()->selectedRows())
        tiles.push_back(Lines.TileAt(line.row()));
    // While the view does not show the document's anchor (the filter hides
    // it), a range starts at the current tile, which then anchors.
    const int line = Lines.TileAt(View.currentIndex().row());
    const int anchor = Lines.RowOf(Document.AnchorTile()) >= 0 ? Document.AnchorTile() : Document.CurrentTile();
    Document.SetSelection(std::move(tiles), line, View.Extending() ? anchor : line);
}
