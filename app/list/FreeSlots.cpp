#include "app/list/FreeSlots.h"

#include "app/document/TileDocument.h"
#include "app/list/FilterBar.h"

#include "art/PictureCache.h"
#include "tiledata/TileDataReader.h"

#include <QToolButton>

TFreeSlots::TFreeSlots(TTileDocument &Document, TFilterBar &Filter, PictureSource Pictures,
                       QObject *Parent)
    : QObject(Parent)
    , FDocument(Document)
    , FPictures(std::move(Pictures))
{
    Switch = new QToolButton(&Filter);
    Switch->setObjectName(QStringLiteral("FreeOnly"));
    Switch->setText(QStringLiteral("Free"));
    Switch->setToolTip(QStringLiteral("Free slots: show just the tiles with no name, no flags and no picture"));
    Switch->setCheckable(true);
    Filter.AddCondition(Switch, [this](TTileKind Kind, int Tile) { return IsFree(Kind, Tile); });
}

// The picture is asked for last, and only of a tile that is otherwise
// free: it may have to be decoded.
bool TFreeSlots::IsFree(TTileKind Kind, int Tile) const
{
    const TTileData *store = FDocument.Store();
    if (!store || store->GetFlags(Kind, Tile) != 0 || !store->GetName(Kind, Tile).isEmpty())
        return false;
    TPictureCache *pictures = FPictures ? FPictures() : nullptr;
    return !pictures || (Kind == TTileKind::Land ? pictures->Land(Tile) : pictures->Item(Tile)).Missing;
}
