#pragma once

#include "tiledata/TileKind.h"

#include <QObject>
#include <QString>

#include <functional>

class QToolButton;
class TFilterBar;

// The filter's "Used by" switch: it keeps the tiles that share what the
// current tile was found to share when the user asked ("Show" beside the
// art view): the land tiles of one TexID, or the items whose animations use
// one item as a frame. Clearing the filter, or the switch, lets them all
// show again.
class TUsedByFilter : public QObject
{
    Q_OBJECT

public:
    using Keep = std::function<bool(int Tile)>;

    TUsedByFilter(TFilterBar &Filter, QObject *Parent);

    // Filters the list of Kind to the tiles Keeps takes; What names them
    // in the switch's tip ("TexID 0x0003").
    void Show(TTileKind Kind, Keep Keeps, const QString &What);

    QToolButton *Switch = nullptr; // owned by the filter bar

private:
    TFilterBar &FFilter;
    TTileKind FKind = TTileKind::Item;
    Keep FKeep;
};
