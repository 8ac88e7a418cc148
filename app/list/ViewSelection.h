#pragma once

class TListBox;
class TTileDocument;
class TTileListModel;

// The document's selection in a view of the tile list's lines (the list
// itself, the pictures grid), and a selection the user made in such a view
// taken into the document. Every view follows the document, never another
// view, so that each shows the one selection with the one anchor.
class TViewSelection
{
public:
    // Selects the rows of the document's selected tiles that Lines shows,
    // the current tile's row current, and anchors Shift-selection at the
    // document's anchor: at a tile made current by Go to, Find, F8, undo or
    // a paste too.
    static void Show(TListBox &View, const TTileListModel &Lines, const TTileDocument &Document);
    // The rows selected in View become the document's selection. The row
    // clicked or moved to anchors the next Shift-selection, unless this one
    // extended from the anchor there was.
    static void Take(const TListBox &View, const TTileListModel &Lines, TTileDocument &Document);
};
