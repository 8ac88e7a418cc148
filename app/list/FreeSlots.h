#pragma once

#include "tiledata/TileKind.h"

#include <QObject>

#include <functional>

class QToolButton;
class TPictureCache;
class TFilterBar;
class TTileDocument;

// The filter's "Free" switch: it keeps the tiles whose every field is zero,
// with no flags, no name and no picture, the places where a new tile can go. The status bar counts
// them as it counts any filter's tiles.
class TFreeSlots : public QObject
{
    Q_OBJECT

public:
    // The art view's pictures; none while no art was found.
    using PictureSource = std::function<TPictureCache *()>;

    TFreeSlots(TTileDocument &Document, TFilterBar &Filter, PictureSource Pictures, QObject *Parent);

    // True when Tile of Kind is such a place.
    bool IsFree(TTileKind Kind, int Tile) const;
    // False while no art was found: the free tiles were then told by their
    // records alone.
    bool PicturesChecked() const;

    QToolButton *Switch = nullptr; // owned by the filter bar

private:
    TTileDocument &FDocument;
    PictureSource FPictures;
};
