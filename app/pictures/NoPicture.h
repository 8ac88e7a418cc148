#pragma once

class QPainter;
class QPixmap;
class QRect;

// A tile without a picture keeps its square empty but for a faint cross,
// so that a free slot is told from a picture of the background's colour.
// The grid, its preview and the art view beside the list all show it.
void DrawNoPicture(QPainter *Painter, const QRect &Square);
// A pixmap of Side x Side holding the cross.
QPixmap NoPicture(int Side);
// The side of the art view's picture of no picture.
constexpr int NoPictureSide = 44;
