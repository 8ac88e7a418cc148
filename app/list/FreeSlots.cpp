#include "app/list/FreeSlots.h"

#include "app/document/TileDocument.h"
#include "app/list/FilterBar.h"

#include "art/PictureCache.h"
#include "tiledata/TileDataReader.h"

#include <QToolButton>

#include <algorithm>

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
    Filter.AddCondition(
        Switch, [this](TTileKind Kind, int Tile) { return IsFree(Kind, Tile); },
        [this] { return PicturesChecked() ? QString() : QStringLiteral("pictures were not checked: no art was found"); });
}

// A tile whose weight or height alone is set is in use: every byte before
// the name, all the flags included, must be zero, and the name empty. A
// tile beyond a short file's end cannot take a new tile. The picture is
// asked for last, and only of a tile that is otherwise free: it may have
// to be decoded.
bool TFreeSlots::IsFree(TTileKind Kind, int Tile) const
{
    const TTileData *store = FDocument.Store();
    if (!store || !store->IsWhole(Kind, Tile))
        return false;
    const unsigned char *record = store->RecordData(Kind, Tile);
    const int nameAt = store->Layout().NameOffset(Kind);
    if (!record || std::any_of(record, record + nameAt + 1, [](unsigned char Byte) { return Byte != 0; }))
        return false;
    TPictureCache *pictures = FPictures ? FPictures() : nullptr;
    return !pictures || (Kind == TTileKind::Land ? pictures->Land(Tile) : pictures->Item(Tile)).Missing;
}

bool TFreeSlots::PicturesChecked() const
{
    return FPictures && FPictures();
}
