#include "app/list/ListLineDelegate.h"

TListLineDelegate::TListLineDelegate(QObject *Parent)
    : QStyledItemDelegate(Parent)
{
}

QSize TListLineDelegate::sizeHint(const QStyleOptionViewItem &Option, const QModelIndex &Index) const
{
    return QSize(QStyledItemDelegate::sizeHint(Option, Index).width(), LineHeight);
}
