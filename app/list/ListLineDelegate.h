#pragma once

#include <QStyledItemDelegate>

// Gives every line of the tile list the same fixed height. With uniform item
// sizes the list asks only the first line, so 16,383 lines lay out at once.
class TListLineDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int LineHeight = 13;

    explicit TListLineDelegate(QObject *Parent);

    QSize sizeHint(const QStyleOptionViewItem &Option, const QModelIndex &Index) const override;
};
