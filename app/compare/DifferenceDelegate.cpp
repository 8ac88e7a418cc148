#include "app/compare/DifferenceDelegate.h"

#include "app/compare/CompareSession.h"
#include "app/list/TileListModel.h"

#include <QPainter>

TDifferenceDelegate::TDifferenceDelegate(const TCompareSession &Session, QObject *Parent)
    : TListLineDelegate(Parent)
    , FSession(Session)
{
}

bool TDifferenceDelegate::IsMarked(const QModelIndex &Index) const
{
    const auto *model = qobject_cast<const TTileListModel *>(Index.model());
    return model && FSession.Differs(model->Kind(), model->TileAt(Index.row()));
}

void TDifferenceDelegate::initStyleOption(QStyleOptionViewItem *Option, const QModelIndex &Index) const
{
    TListLineDelegate::initStyleOption(Option, Index);
    if (IsMarked(Index))
        Option->font.setBold(true);
}

void TDifferenceDelegate::paint(QPainter *Painter, const QStyleOptionViewItem &Option, const QModelIndex &Index) const
{
    TListLineDelegate::paint(Painter, Option, Index);
    if (IsMarked(Index))
        Painter->fillRect(QRect(Option.rect.left(), Option.rect.top(), BarWidth, Option.rect.height()),
                          MarkColor());
}
