#pragma once

#include "tiledata/TileKind.h"

#include <QObject>

#include <array>

class QLabel;
class QLineEdit;
class QTabBar;
class QWidget;
class TFilterBar;
class TForm1;

// The two sections of the file in one list: a tab bar above the list,
// "Items" and "Land", switches between the item tiles and the land tiles
// (Ctrl+Tab does too). The item tiles show at start.
//
// A land tile shows its name, its flags in the same boxes as an item's, its
// texture in a number box of its own and its picture; the item-only
// Properties are disabled while the land list shows. Each list keeps its own
// selection and scroll position, so switching back returns to the tile that
// was selected there.
class TTileSections : public QObject
{
    Q_OBJECT

public:
    // The tab bar's height; like the rest of the form it is laid out for the
    // form's 8-point face.
    static constexpr int TabsHeight = 25;

    TTileSections(TForm1 &Form, TFilterBar &Filter);

    TTileKind Shown() const;
    // Switches as the user asks: a value typed into the focused number box
    // goes into its tile first, and a value that does not convert throws
    // and leaves the list as it was.
    void Switch(TTileKind Kind);
    void Toggle();
    // Switches for the program, as an undo does: what the boxes hold but no
    // tile has yet is dropped, as showing another tile drops it.
    void Show(TTileKind Kind);
    // A file other than the one shown is loaded: the list not shown forgets
    // its selection.
    void ForgetOtherSelection();

    // The land-only boxes of land tile Tile; the item-only ones are emptied.
    void FillLandBoxes(int Tile);

    QTabBar *Tabs = nullptr;
    QLineEdit *TextureBox = nullptr;

private:
    struct Place
    {
        int Tile = -1;
        int Top = -1;
    };

    void ShowSection(TTileKind Kind);
    void LeaveBoxes(bool Commit);
    void ShowNoTile();
    void EnableSectionControls(TTileKind Kind);
    static std::size_t Slot(TTileKind Kind) { return Kind == TTileKind::Land ? 1 : 0; }

    TForm1 &FForm;
    TFilterBar &FFilter;
    QWidget *FLandFields = nullptr;
    QLabel *FTextureLabel = nullptr;
    std::array<Place, 2> FPlaces{};
};
