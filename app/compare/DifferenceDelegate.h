#pragma once

#include "app/list/ListLineDelegate.h"

#include <QColor>

class TCompareSession;

// The tile list's lines while the window compares with another file: a
// line whose tile differs has a coloured bar at its left edge and is
// written in bold, so that it stands out without the colour too.
class TDifferenceDelegate : public TListLineDelegate
{
    Q_OBJECT

public:
    static constexpr int BarWidth = 3;
    // The colour of the mark, wherever a differing tile is shown.
    static QColor MarkColor() { return QColor(0xE0, 0x6C, 0x00); }

    TDifferenceDelegate(const TCompareSession &Session, QObject *Parent);

    void paint(QPainter *Painter, const QStyleOptionViewItem &Option, const QModelIndex &Index) const override;
    // True when the line's tile differs from the other file.
    bool IsMarked(const QModelIndex &Index) const;

protected:
    void initStyleOption(QStyleOptionViewItem *Option, const QModelIndex &Index) const override;

private:
    const TCompareSession &FSession;
};
