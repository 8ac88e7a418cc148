#include "app/pictures/NoPicture.h"

#include <QPainter>
#include <QPixmap>

void DrawNoPicture(QPainter *Painter, const QRect &Square)
{
    const QRect mark(Square.center() - QPoint(3, 3), QSize(7, 7));
    Painter->setPen(QColor(128, 128, 128, 90));
    Painter->drawLine(mark.topLeft(), mark.bottomRight());
    Painter->drawLine(mark.topRight(), mark.bottomLeft());
}

QPixmap NoPicture(int Side)
{
    QPixmap pixmap(Side, Side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    DrawNoPicture(&painter, pixmap.rect());
    return pixmap;
}
