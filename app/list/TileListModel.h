#pragma once

#include "tiledata/TileKind.h"

#include <QAbstractListModel>
#include <QHash>

#include <functional>
#include <vector>

class TTileData;

// The lines of the tile list of one section of the file, read from the store
// only when the view draws them, so that filling or refiltering 65,536 tiles
// costs no string per tile. While filtered, the model keeps the indexes of
// the matching tiles and row r shows tile TileAt(r), with its own index.
//
// A line may be given a text of its own (ReplaceLine); it keeps that text
// until the next Refill, as an item of a plain list box would.
class TTileListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using StoreSource = std::function<const TTileData *()>;
    using TilePredicate = std::function<bool(int Tile)>;

    TTileListModel(TTileKind Kind, QObject *Parent);

    // Where the lines come from: the store the window holds at the moment,
    // or none.
    void SetStore(StoreSource Store);
    TTileKind Kind() const { return FKind; }
    // Makes the model show the other section. Its lines change with the next
    // SetFilter, which the caller runs next (a filter's tiles belong to one
    // section): switching then costs one reset of the view, not two.
    void SetKind(TTileKind Kind) { FKind = Kind; }

    // Takes the tile count and every line anew from the store; texts given
    // by ReplaceLine are dropped. The filter's tiles stay as they are.
    void Refill();
    // Line of Tile shows Text until the next Refill.
    void ReplaceLine(int Tile, const QString &Text);
    // Line of Tile shows the store's line again, as the store has it now.
    void Renew(int Tile);
    // Every line shows the store's line again. No signal: a list view lays
    // out all its lines again on any change of data, milliseconds for
    // 65,536, while its lines are all the same height; the view need only
    // repaint.
    void RenewAll() { FReplaced.clear(); }
    QString Line(int Row) const;

    // Shows only the tiles Keep accepts; an empty predicate shows them all.
    void SetFilter(const TilePredicate &Keep);
    bool IsFiltered() const { return FFiltered; }
    int TileAt(int Row) const;
    // The row showing Tile, or -1 when the filter hides it.
    int RowOf(int Tile) const;

    int rowCount(const QModelIndex &Parent = QModelIndex()) const override;
    // The line, and for a tile beyond a short file's end a greyed text.
    QVariant data(const QModelIndex &Index, int Role) const override;

protected:
    // The section's tiles, as the source has them now. Benchmarks and other
    // sources of lines override both.
    virtual int SourceCount() const;
    virtual QString SourceLine(int Tile) const;

private:
    const TTileData *Store() const;
    void Collect(const TilePredicate &Keep);

    TTileKind FKind;
    StoreSource FStore;
    int FCount = 0;
    bool FFiltered = false;
    std::vector<int> FTiles; // while filtered: the shown tiles, ascending
    QHash<int, QString> FReplaced;
};
