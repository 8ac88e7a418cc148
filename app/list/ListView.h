#pragma once

#include "tiledata/TileKind.h"

#include <QObject>
#include <QString>

#include <array>
#include <vector>

class QStatusBar;
class TFilterBar;
class TListBox;
class TTileDocument;
class TTileListModel;

// The tile list as the document has it: its lines, its filter, the
// document's selection shown in it, and each section's scroll place. The
// user's own selection in the list is announced (Chosen) for the window to
// take in; a selection the program makes is not.
class TListView : public QObject
{
    Q_OBJECT

public:
    TListView(TTileDocument &Document, TListBox &List, TTileListModel &Lines, TFilterBar &Filter,
              QStatusBar &Status, QObject *Parent);

    // A new file: each section's list starts at its top.
    void ForgetScrollPlaces() { FTopTiles = {-1, -1}; }
    // Every line anew from the store.
    void Refill();
    // Every line anew, the scroll place kept.
    void Rebuild();
    // The lines of changed tiles anew, many of them with one repaint.
    void Renew(const std::vector<int> &Tiles);
    // The list shows what the filter keeps; the status bar says how many.
    void Refilter();
    // The filter changed: true when the selection stayed as it was.
    bool FollowFilter();
    // The list switched sections, each keeping its own scroll place: true
    // when the selection stayed as it was.
    bool SwitchSection(TTileKind Kind);
    // A selected tile the filter hides is shown by showing every tile
    // again: an edit must never reach a tile the user cannot see selected.
    void RevealSelection();
    // Selects the lines of the document's selected tiles that the filter
    // shows, and scrolls the current one into view.
    void ShowSelection();
    void CenterCurrent();
    // "193 tiles selected" while more than one is.
    void SayCount();

signals:
    // The user selected lines, or clicked the current one again.
    void Chosen();

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    bool KeepSelected();
    QString MatchText() const;
    void SelectionChanged();

    TTileDocument &FDocument;
    TListBox &FList;
    TTileListModel &FLines;
    TFilterBar &FFilter;
    QStatusBar &FStatus;
    // Set while the program changes the lines or the selection: such a
    // change must not show a tile.
    bool FSelectingByProgram = false;
    // The current tile when the mouse went down on the list, to tell a click
    // on the current line from one that selects another.
    int FCurrentBeforePress = -1;
    // The first line in view of each list, items and land, while the other shows.
    std::array<int, 2> FTopTiles{-1, -1};
};
