#pragma once

#include "app/TileField.h"
#include "tiledata/TileKind.h"

#include <QByteArray>
#include <QUndoCommand>

#include <functional>
#include <vector>

class TTileData;

// One undoable change to the tile data: the exact bytes of every record it
// changed in one section, land or item. The step holds the version of each
// record that the store does not hold at the moment, so undo and redo are
// the same swap. Undoing to the state last saved leaves the store with the
// very bytes it saved, and the close question asks nothing. The records lie
// back to back in one block, which 65,536 tiles fill in one go.
class TRecordStep : public QUndoCommand
{
public:
    // Exchanges the records' bytes with the store's, and tells the window.
    using Swapper = std::function<void(TTileKind Kind, const std::vector<int> &Tiles, QByteArray &Records)>;

    // Takes the records the step may change as they are before the edit.
    virtual void Before(const TTileData &Store);
    // Keeps the records the edit changed; false when it changed no byte.
    bool After(const TTileData &Store);
    void Bind(Swapper Swap) { FSwap = std::move(Swap); }
    TTileKind Kind() const { return FKind; }
    // The tiles the step changes, lowest first.
    const std::vector<int> &Tiles() const { return FTiles; }

    void undo() override;
    void redo() override;

protected:
    TRecordStep(TTileKind Kind, std::vector<int> Tiles, const QString &Text);

    TTileKind FKind;
    std::vector<int> FTiles;
    QByteArray FRecords;

private:
    Swapper FSwap;
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
