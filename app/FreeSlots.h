#pragma once

#include "app/PictureDelegate.h"

#include <QObject>

class QToolButton;
class TFilterBar;
class TTileDocument;

// The filter's "Free" switch: it keeps the tiles with no name, no flags and
// no picture, the places where a new tile can go. The status bar counts
// them as it counts any filter's tiles.
class TFreeSlots : public QObject
{
    Q_OBJECT

public:
    TFreeSlots(TTileDocument &Document, TFilterBar &Filter, TPictureDelegate::PictureSource Pictures,
               QObject *Parent);

    // True when Tile of Kind is such a place.
    bool IsFree(TTileKind Kind, int Tile) const;

    QToolButton *Switch = nullptr; // owned by the filter bar

private:
    TTileDocument &FDocument;
    TPictureDelegate::PictureSource FPictures;
};
