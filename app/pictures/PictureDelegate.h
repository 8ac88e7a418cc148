#pragma once

#include "tiledata/TileKind.h"

#include <QPixmap>
#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>

class QAbstractItemView;
class TPictureCache;
class TPicturePreview;
class TTileData;
struct TPicture;
class TTileLinks;
class TTileProblems;

// The cells of the pictures grid: the tile's picture in a square of the
// cell size, its index under it (bold while it differs from the file
// compared with), the comparison's mark under that, and the tile's
// name and main flags in the tooltip, with its findings under them. The picture is scaled down, keeping
// its shape, only when it is larger than the square; a smaller one is
// drawn at its own size and centred. Scaling picks pixels, never blends
// them, so the art's edges stay as sharp as in the game.
//
// Nothing is decoded for the size of a cell: the grid's cells are all
// alike, so only the cells in view are ever asked for their picture.
class TPictureDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using PictureSource = std::function<TPictureCache *()>;
    using StoreSource = std::function<const TTileData *()>;
    using DifferencePredicate = std::function<bool(TTileKind Kind, int Tile)>;

    TPictureDelegate(PictureSource Pictures, StoreSource Store, DifferencePredicate Differs, QObject *Parent);

    // The side of the picture's square, in pixels.
    int CellSize() const { return FCellSize; }
    void SetCellSize(int Size) { FCellSize = Size; }
    // Cells as wide as Width at least (0: as wide as their contents), so
    // that the grid's columns fill its width.
    void SetFillWidth(int Width) { FFillWidth = Width; }
    // What the tiles point to beside the tile data: a mark on the items that
    // have an animation, the current one's frame as it plays, and with
    // ShowTextures the land tiles' textures instead of their pictures.
    void SetLinks(TTileLinks *Links) { FLinks = Links; }
    void SetShowTextures(bool Show) { FShowTextures = Show; }
    // The tiles' findings, which the tooltip lists under its line.
    void SetProblems(TTileProblems *Problems) { FProblems = Problems; }
    bool ShowsTextures() const { return FShowTextures; }

    // "0x1A3F stone wall: Wall, Impassable; Height 20"; land tiles have no
    // height.
    static QString TipText(const TTileData &Store, TTileKind Kind, int Tile);
    // "0x1A3F", as under the picture.
    static QString IndexText(int Tile);
    // Index's picture at its own size with its tooltip's text, at At on the
    // screen.
    void Preview(QAbstractItemView *View, const QModelIndex &Index, const QPoint &At);

    void paint(QPainter *Painter, const QStyleOptionViewItem &Option, const QModelIndex &Index) const override;
    QSize sizeHint(const QStyleOptionViewItem &Option, const QModelIndex &Index) const override;
    bool helpEvent(QHelpEvent *Event, QAbstractItemView *View, const QStyleOptionViewItem &Option,
                   const QModelIndex &Index) override;

private:
    int LabelWidth(const QFont &Font) const;
    TPicture PictureOf(TTileKind Kind, int Tile) const;
    void DrawPicture(QPainter *Painter, const QRect &Square, TTileKind Kind, int Tile) const;
    void DrawImage(QPainter *Painter, const QRect &Square, const QImage &Image) const;
    QImage LinkedPicture(TTileKind Kind, int Tile) const;

    PictureSource FPictures;
    StoreSource FStore;
    DifferencePredicate FDiffers;
    int FCellSize = 64;
    int FFillWidth = 0;
    QPointer<TPicturePreview> FPreview;
    TTileLinks *FLinks = nullptr;
    TTileProblems *FProblems = nullptr;
    bool FShowTextures = false;
};
