#include "app/list/TileListModel.h"

#include "tiledata/TileDataReader.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

TTileListModel::TTileListModel(TTileKind Kind, QObject *Parent)
    : QAbstractListModel(Parent)
    , FKind(Kind)
{
}

void TTileListModel::SetStore(StoreSource Store)
{
    FStore = std::move(Store);
}

const TTileData *TTileListModel::Store() const
{
    return FStore ? FStore() : nullptr;
}

int TTileListModel::SourceCount() const
{
    const TTileData *store = Store();
    return store ? store->Count(FKind) : 0;
}

QString TTileListModel::SourceLine(int Tile) const
{
    const TTileData *store = Store();
    return store ? store->ListLine(FKind, Tile) : QString();
}

void TTileListModel::Refill()
{
    beginResetModel();
    FCount = SourceCount();
    FReplaced.clear();
    // Tiles the file no longer has drop out of the filter.
    if (FFiltered)
        FTiles.erase(std::lower_bound(FTiles.begin(), FTiles.end(), FCount), FTiles.end());
    endResetModel();
}

void TTileListModel::ReplaceLine(int Tile, const QString &Text)
{
    FReplaced.insert(Tile, Text);
    const int row = RowOf(Tile);
    if (row >= 0)
        emit dataChanged(index(row), index(row), {Qt::DisplayRole});
}

void TTileListModel::Renew(int Tile)
{
    FReplaced.remove(Tile);
    const int row = RowOf(Tile);
    if (row >= 0)
        emit dataChanged(index(row), index(row), {Qt::DisplayRole});
}

QString TTileListModel::Line(int Row) const
{
    const int tile = TileAt(Row);
    if (tile < 0)
        return QString();
    const auto replaced = FReplaced.constFind(tile);
    return replaced != FReplaced.constEnd() ? *replaced : SourceLine(tile);
}

void TTileListModel::SetFilter(const TilePredicate &Keep)
{
    beginResetModel();
    FCount = SourceCount();
    Collect(Keep);
    endResetModel();
}

void TTileListModel::Collect(const TilePredicate &Keep)
{
    FFiltered = bool(Keep);
    FTiles.clear();
    if (!FFiltered) {
        FTiles.shrink_to_fit();
        return;
    }
    for (int tile = 0; tile < FCount; ++tile) {
        if (Keep(tile))
            FTiles.push_back(tile);
    }
}

int TTileListModel::TileAt(int Row) const
{
    if (Row < 0 || Row >= rowCount())
        return -1;
    return FFiltered ? FTiles[std::size_t(Row)] : Row;
}

int TTileListModel::RowOf(int Tile) const
{
    if (Tile < 0 || Tile >= FCount)
        return -1;
    if (!FFiltered)
        return Tile;
    const auto at = std::lower_bound(FTiles.begin(), FTiles.end(), Tile);
    return at != FTiles.end() && *at == Tile ? int(at - FTiles.begin()) : -1;
}

int TTileListModel::rowCount(const QModelIndex &Parent) const
{
    if (Parent.isValid())
        return 0;
    return FFiltered ? int(FTiles.size()) : FCount;
}

// A tile whose record lies beyond a short file's end takes no edit: its line
// is greyed, as the controls are when it is selected.
QVariant TTileListModel::data(const QModelIndex &Index, int Role) const
{
    if (!Index.isValid())
        return QVariant();
    if (Role == Qt::DisplayRole)
        return Line(Index.row());
    if (Role != Qt::ForegroundRole)
        return QVariant();
    const TTileData *store = Store();
    if (!store || store->IsWhole(FKind, TileAt(Index.row())))
        return QVariant();
    return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
}
