#pragma once

#include "app/document/TileField.h"
#include "tiledata/RecordChanges.h"
#include "tiledata/TileKind.h"

#include <QByteArray>
#include <QUndoCommand>

#include <functional>
#include <vector>

class TTileData;

// One undoable change to the tile data, in one section, land or item: the
// fields of every record it changed, with their values before and after
// (TRecordChanges). Undo and redo put back only those fields, as in the
// undo steps of other editors: a field changed since by another program,
// and brought in by a save's merge or a reload, stays as it is. Undoing to
// the state last saved leaves the store with the very bytes it saved, and
// the close question asks nothing.
class TRecordStep : public QUndoCommand
{
public:
    // Puts the step's values into the store (Undo: those from before the
    // edit), and tells the window.
    using Putter = std::function<void(const TRecordChanges &Changes, bool Undo)>;

    // Takes the records the step may change as they are before the edit.
    virtual void Before(const TTileData &Store);
    // Keeps what the edit changed; false when it changed no byte.
    bool After(const TTileData &Store);
    void Bind(Putter Put) { FPut = std::move(Put); }
    TTileKind Kind() const { return FKind; }
    // The tiles the step changes, lowest first.
    const std::vector<int> &Tiles() const { return FTiles; }

    void undo() override;
    void redo() override;

protected:
    TRecordStep(TTileKind Kind, std::vector<int> Tiles, const QString &Text);

    TTileKind FKind;
    std::vector<int> FTiles;
    // The records before the edit, until After keeps what it changed.
    QByteArray FRecords;

private:
    TRecordChanges FChanges;
    Putter FPut;
    bool FPushed = false;
};

// A click on a flag box: "Set Wall 0x1A", "Clear Wall land 0x3", "Set Wall
// on 40 tiles".
class TFlagStep : public TRecordStep
{
public:
    TFlagStep(TTileKind Kind, const std::vector<int> &Tiles, int Bit, bool Set);
};

// A committed number box: "Weight 0x1A", "Texture land 0x3", "Weight on 40
// tiles".
class TNumberStep : public TRecordStep
{
public:
    TNumberStep(TTileKind Kind, const std::vector<int> &Tiles, TTileField Field);
};

// A rename of the selected tiles: "Rename 0x1A", "Rename land 0x3", "Rename
// 40 tiles".
class TRenameStep : public TRecordStep
{
public:
    TRenameStep(TTileKind Kind, const std::vector<int> &Tiles);
};

// A paste of tiles: "Paste 0x1A", "Paste land 0x3", "Paste 40 tiles".
class TPasteStep : public TRecordStep
{
public:
    TPasteStep(TTileKind Kind, const std::vector<int> &Tiles);
};

// A global replace in one section, one step however many tiles it renamed;
// it keeps only the renamed ones: "Replace Rock", "Replace land grass".
class TReplaceStep : public TRecordStep
{
public:
    TReplaceStep(TTileKind Kind, const QString &OldName);
    void Before(const TTileData &Store) override;
};

// "0x1A", "land 0x3", or "40 tiles" with Joint before it.
QString TilesLabel(TTileKind Kind, const std::vector<int> &Tiles, const QString &Joint);
// "0x1A", as the list writes a tile's index.
QString TileHex(int Tile);
// "0x1A" for an item tile, "land 0x3" for a land tile.
QString TileLabel(TTileKind Kind, int Tile);
