#pragma once

#include <QByteArray>
#include <QUndoCommand>

#include <functional>
#include <vector>

class TTileData;

// One undoable change to the tile data: the exact bytes of every record it
// changed, before and after. Undo and redo each put one set back, so undoing
// to the state last saved leaves the store with the very bytes it saved,
// and the close question asks nothing.
class TRecordStep : public QUndoCommand
{
public:
    using StoreSource = std::function<TTileData *()>;
    // Called after an undo or redo with the tiles it changed, lowest first;
    // not called when the step is pushed, the edit being done already.
    using Changed = std::function<void(const std::vector<int> &Tiles)>;

    void Bind(StoreSource Store, Changed Shown);
    // Takes the records the step may change as they are before the edit, and
    // after it; false when the edit changed no byte.
    virtual void Before(const TTileData &Store);
    bool After(const TTileData &Store);

    void undo() override;
    void redo() override;

protected:
    TRecordStep(std::vector<int> Tiles, const QString &Text);

    struct Record
    {
        int Tile;
        QByteArray Old;
        QByteArray New;
    };
    std::vector<Record> FRecords;

private:
    void Put(bool New);

    StoreSource FStore;
    Changed FShown;
    bool FPushed = false;
};

// A click on a flag box: "Set Wall 0x1A" or "Clear Wall 0x1A".
class TFlagStep : public TRecordStep
{
public:
    TFlagStep(int Tile, int Bit, bool Set);
};

// A committed number box: "Weight 0x1A".
class TNumberStep : public TRecordStep
{
public:
    TNumberStep(int Tile, const QString &Field);
};

// A rename of the selected tile: "Rename 0x1A".
class TRenameStep : public TRecordStep
{
public:
    explicit TRenameStep(int Tile);
};

// A global replace, one step however many tiles it renamed; it keeps only
// the renamed ones: "Replace Rock".
class TReplaceStep : public TRecordStep
{
public:
    explicit TReplaceStep(const QString &OldName);
    void Before(const TTileData &Store) override;
};

// "0x1A", as the list writes a tile's index.
QString TileHex(int Tile);

// The name of the number field a store setter writes, as its box's label
// reads ("Weight").
QString FieldName(void (TTileData::*Setter)(int, int));
