#pragma once

#include "tiledata/TileKind.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;
class TAnimationPlayer;
class TFilterBar;
class TLinkFiles;
class TPictureCache;
class TTileData;
class TTileDocument;
class TUsedByFilter;

// What the current tile points to beside tiledata.mul, shown in the art
// view's area. A land tile: the texture its TexID names, beside its own
// picture, with its size and TexID, or "(no texture)", or "(TexID 0x1A3F:
// no such texture)"; and how many land tiles share the TexID. An item with
// an animation entry: the animation plays in the art view (a click pauses
// it), with its frame count, interval and delay, and the frames it cannot
// show; and which items' animations use it as a frame. "Show" filters the
// list to those tiles. The files are looked for beside the tile data file
// and read only when a tile needs them; every edit and undo shows at once.
class TTileLinks : public QObject
{
    Q_OBJECT

public:
    struct Anchors
    {
        QFrame *ArtPanel; // the art view's area
        QLabel *Picture;  // the tile's picture in it
        TFilterBar *Filter;
    };
    using PictureSource = std::function<TPictureCache *()>;

    TTileLinks(TTileDocument &Document, const Anchors &Parts, PictureSource Pictures, QWidget &Window);
    ~TTileLinks() override;

    // The files of the tile data file open now, made when first asked for.
    TLinkFiles &Files();
    // The items whose animations use Item as a frame.
    std::vector<int> UsersOf(int Item);

    // For the pictures grid: the texture of a land tile's TexID (null for
    // none); the frame on view of the current item's animation (null when
    // none plays); whether an item has an animation entry.
    QImage CellTexture(int LandTile);
    QImage CellFrame(int Item) const;
    bool HasAnimation(int Item);

    QLabel *TextureView = nullptr; // the texture, beside the land's picture
    QLabel *About = nullptr;       // size and TexID, or the animation's frame count, interval and delay
    QLabel *Missing = nullptr;     // frames the animation cannot show
    QLabel *UsedByText = nullptr;
    QPushButton *UsedByButton = nullptr;
    TAnimationPlayer *Player = nullptr;
    TUsedByFilter *UsedBy = nullptr;

private:
    void FollowLoad();
    void FollowTiles(TTileKind Kind, const std::vector<int> &Tiles);
    void Show();
    void ShowTexture(const TTileData &Store, int Tile);
    void ShowLandUsers(const TTileData &Store, int Tile);
    void ShowAnimation(const TTileData &Store, int Tile);
    void ShowItemUsers(int Tile);
    void ShowPace();
    void ShowUsers();
    QImage TextureOf(int TexId);
    std::vector<QImage> FFrames; // of the animation playing, by tile
    std::vector<int> FFrameTiles;

    TTileDocument &FDocument;
    Anchors FParts;
    PictureSource FPictures;
    std::unique_ptr<TLinkFiles> FFiles;
    // Counts the files opened, so that a texture held in the picture cache
    // from another folder is never shown for this one.
    std::uint32_t FGeneration = 0;
    QString FPace;
    std::function<void()> FShowUsers;
};
