#pragma once

#include "tiledata/TileKind.h"

#include <QObject>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTabBar;
class QWidget;
class TTileDocument;

// The two sections of the file in one list: a tab bar above the list,
// "Items" and "Land", switches the document between the item tiles and the
// land tiles (Ctrl+Tab does too). The item tiles show at start.
//
// A land tile's texture has a number box of its own, in a row of the "One
// Tile" group that is enabled only while the land tiles show.
class TTileSections : public QObject
{
    Q_OBJECT

public:
    // The tab bar's height; like the rest of the form it is laid out for the
    // form's 8-point face.
    static constexpr int TabsHeight = 25;

    // The tabs are Window's; the texture row stands in OneTile, its box in
    // the face and height of LikeBox.
    TTileSections(TTileDocument &Document, QWidget *Window, QGroupBox *OneTile, const QLineEdit *LikeBox);

    TTileKind Shown() const;
    // Switches as the user asks: a value typed into the focused number box
    // goes into its tile first, and a value that does not convert throws
    // and leaves the list as it was.
    void Switch(TTileKind Kind);
    void Toggle();

    QTabBar *Tabs = nullptr;
    QWidget *LandFields = nullptr;
    QLineEdit *TextureBox = nullptr;

private:
    void Follow(TTileKind Kind);

    TTileDocument &FDocument;
    QWidget *FWindow;
    QLabel *FTextureLabel = nullptr;
};
