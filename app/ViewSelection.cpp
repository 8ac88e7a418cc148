#include "app/ViewSelection.h"

#include "app/ListBox.h"
#include "app/TileDocument.h"
#include "app/TileListModel.h"

#include <vector>

void TViewSelection::Show(TListBox &View, const TTileListModel &Lines, const TTileDocument &Document)
{
    std::vector<int> rows;
    for (const int tile : Document.SelectedTiles()) {
        if (Lines.RowOf(tile) >= 0)
            rows.push_back(Lines.RowOf(tile));
    }
    View.SelectRows(std::move(rows), Lines.RowOf(Document.CurrentTile()), Lines.RowOf(Document.AnchorTile()));
}

void TViewSelection::Take(const TListBox &View, const TTileListModel &Lines, TTileDocument &Document)
{
    std::vector<int> tiles;
    for (const QModelIndex &line : View.selectionModel()->selectedRows())
        tiles.push_back(Lines.TileAt(line.row()));
    const int line = Lines.TileAt(View.currentIndex().row());
    Document.SetSelection(std::move(tiles), line, View.Extending() ? Document.AnchorTile() : line);
}
