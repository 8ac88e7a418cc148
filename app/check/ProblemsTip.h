#pragma once

#include <QObject>

class QAbstractItemView;
class TTileProblems;

// The tile list's tooltip: the findings of the tile under the mouse, one a
// line; none for a tile without any.
class TProblemsTip : public QObject
{
    Q_OBJECT

public:
    TProblemsTip(TTileProblems &Problems, QAbstractItemView &List);

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    TTileProblems &FProblems;
    QAbstractItemView &FList;
};
