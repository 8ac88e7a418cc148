#pragma once

#include "tiledata/TileKind.h"

#include <QByteArray>
#include <QUndoCommand>

#include <functional>
#include <vector>

class TTileData;

// One undoable change to the tile data: the exact bytes of every record it
// changed in one section, land or item, before and after. Undo and redo each put one set back, so undoing
// to the state last saved leaves the store with the very bytes it saved,
// and the close question asks nothing.
class TRecordStep : public QUndoCommand
{
public:
    using StoreSource = std::function<TTileData *()>;
    // Called after an undo or redo with the section and the tiles it
    // changed, lowest first; not called when the step is pushed, the edit
    // being done already.
    using Changed = std::function<void(TTileKind Kind, const std::vector<int> &Tiles)>;

    void Bind(StoreSource Store, Changed Shown);
    // Takes the records the step may change as they are before the edit, and
    // after it; false when the edit changed no byte.
    virtual void Before(const TTileData &Store);
    bool After(const TTileData &Store);

    void undo() override;
    void redo() override;

protected:
    TRecordStep(TTileKind Kind, std::vector<int> Tiles, const QString &Text);

    struct Record
    {
        int Tile;
        QByteArray Old;
        QByteArray New;
    };
    TTileKind FKind;
    std::vector<Record> FRecords;

private:
    void Put(bool New);

    StoreSource FStore;
    Changed FShown;
    bool FPushed = false;
};

// A click on a flag box: "Set Wall 0x1A" or "Clear Wall land 0x3".
class TFlagStep : public TRecordStep
{
public:
    TFlagStep(TTileKind Kind, int Tile, int Bit, bool Set);
};

// A committed number box: "Weight 0x1A", "Texture land 0x3".
class TNumberStep : public TRecordStep
{
public:
    TNumberStep(TTileKind Kind, int Tile, const QString &Field);
};

// A rename of the selected tile: "Rename 0x1A", "Rename land 0x3".
class TRenameStep : public TRecordStep
{
public:
    TRenameStep(TTileKind Kind, int Tile);
};

// A global replace in one section, one step however many tiles it renamed;
// it keeps only the renamed ones: "Replace Rock", "Replace land grass".
class TReplaceStep : public TRecordStep
{
public:
    TReplaceStep(TTileKind Kind, const QString &OldName);
    void Before(const TTileData &Store) override;
};

// "0x1A", as the list writes a tile's index.
QString TileHex(int Tile);
// "0x1A" for an item tile, "land 0x3" for a land tile.
QString TileLabel(TTileKind Kind, int Tile);

// The name of the number field a store setter writes, as its box's label
// reads ("Weight"), and the section whose tiles have that field.
QString FieldName(void (TTileData::*Setter)(int, int));
TTileKind FieldKind(void (TTileData::*Setter)(int, int));
