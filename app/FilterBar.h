#pragma once

#include "app/TileFilter.h"

#include <QWidget>

class QLineEdit;
class QMenu;
class QToolButton;
class TForm1;

// The box above the tile list that filters it: a part of the name, and a
// drop-down of the flags, each "any", "set" or "clear". The list then shows
// only the matching tiles, the status bar says how many, and the selected
// tile stays selected and in view while it matches.
class TFilterBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Height = 22;

    explicit TFilterBar(TForm1 &Form);

    void FocusBox();
    // Shows every tile again.
    void Clear();
    bool IsActive() const { return !FFilter.IsEmpty(); }
    // Clears the filter when it hides Tile, so that the tile can be shown.
    void Reveal(int Tile);
    // Filters the list anew, for a file just loaded, keeping the selected
    // tile selected and in view while it matches.
    void Apply();
    // Filters the list's section anew and says how many tiles match; the
    // selection is the caller's to set again.
    void Refilter();

    void SetFlag(int Bit, TTileFilter::FlagState State);

    QLineEdit *Box = nullptr;
    QToolButton *FlagsButton = nullptr;

private:
    void FillFlagsMenu();
    void ShowFlagStates();

    TForm1 &FForm;
    TTileFilter FFilter;
    QMenu *FFlagsMenu = nullptr;
};
