#include "app/pictures/PictureDelegate.h"

#include "app/compare/DifferenceDelegate.h"
#include "app/links/TileLinks.h"
#include "app/list/TileListModel.h"

#include "art/PictureCache.h"
#include "tiledata/TileDataReader.h"
#include "tiledata/TileFlags.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int Margin = 3;
// Pictures of tiles beyond a short file's end are drawn faintly, as the
// list greys their lines.
constexpr qreal GreyedOpacity = 0.35;

const TTileListModel *LinesOf(const QModelIndex &Index)
{
    return qobject_cast<const TTileListModel *>(Index.model());
}

} // namespace

TPictureDelegate::TPictureDelegate(PictureSource Pictures, StoreSource Store, DifferencePredicate Differs,
                                   QObject *Parent)
    : QStyledItemDelegate(Parent)
    , FPictures(std::move(Pictures))
    , FStore(std::move(Store))
    , FDiffers(std::move(Differs))
{
}

QString TPictureDelegate::IndexText(int Tile)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(Tile, 4, 16, QLatin1Char('0')).toUpper();
}

QString TPictureDelegate::TipText(const TTileData &Store, TTileKind Kind, int Tile)
{
    QString text = IndexText(Tile);
    const QString name = Store.GetName(Kind, Tile);
    if (!name.isEmpty())
        text += QLatin1Char(' ') + name;
    QStringList flags;
    const std::uint64_t word = Store.GetFlags(Kind, Tile);
    for (int bit = 0; bit < WideFlagCount; ++bit) {
        if ((word >> bit) & 1u)
            flags << QString::fromStdString(FlagName(bit));
    }
    if (!flags.isEmpty())
        text += QStringLiteral(": ") + flags.join(QStringLiteral(", "));
    if (Kind == TTileKind::Item)
        text += QStringLiteral("; Height %1").arg(Store.GetHeight(Tile));
    return text;
}

QSize TPictureDelegate::sizeHint(const QStyleOptionViewItem &Option, const QModelIndex &) const
{
    const QFontMetrics metrics(Option.font);
    const int width = std::max(FCellSize, metrics.horizontalAdvance(IndexText(0xFFFF)));
    return QSize(width + 2 * Margin, FCellSize + metrics.height() + 2 * Margin);
}

void TPictureDelegate::paint(QPainter *Painter, const QStyleOptionViewItem &Option, const QModelIndex &Index) const
{
    const TTileListModel *lines = LinesOf(Index);
    if (!lines)
        return;
    const int tile = lines->TileAt(Index.row());
    const TTileKind kind = lines->Kind();
    const QRect cell = Option.rect;
    const bool selected = Option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = Option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    Painter->save();
    if (selected)
        Painter->fillRect(cell, Option.palette.brush(group, QPalette::Highlight));

    const TTileData *store = FStore();
    const bool greyed = store && !store->IsWhole(kind, tile);
    const QRect square(cell.left() + (cell.width() - FCellSize) / 2, cell.top() + Margin, FCellSize, FCellSize);
    if (greyed)
        Painter->setOpacity(GreyedOpacity);
    DrawPicture(Painter, square, kind, tile);
    Painter->setOpacity(1.0);

    const QRect below(cell.left(), square.bottom() + 1, cell.width(), cell.bottom() - square.bottom());
    const QPalette::ColorGroup textGroup = greyed ? QPalette::Disabled : group;
    Painter->setPen(Option.palette.color(textGroup, selected ? QPalette::HighlightedText : QPalette::Text));
    Painter->setFont(Option.font);
    Painter->drawText(below, Qt::AlignHCenter | Qt::AlignVCenter, IndexText(tile));

    // An animated item's mark: a small triangle at the top right, as a
    // player's "play".
    if (FLinks && kind == TTileKind::Item && FLinks->HasAnimation(tile)) {
        const QPoint corner(cell.right() - Margin, cell.top() + Margin);
        const QPolygon play({corner - QPoint(6, 0), corner + QPoint(0, 4), corner - QPoint(6, -8)});
        Painter->save();
        Painter->setPen(Qt::NoPen);
        Painter->setBrush(QColor(200, 120, 0));
        Painter->drawPolygon(play);
        Painter->restore();
    }
    if (FDiffers && FDiffers(kind, tile))
        Painter->fillRect(QRect(cell.left(), cell.top(), TDifferenceDelegate::BarWidth, cell.height()),
                          TDifferenceDelegate::MarkColor());
    if (Option.state & QStyle::State_HasFocus) {
        Painter->setPen(QPen(Option.palette.color(group, QPalette::Text), 1, Qt::DotLine));
        Painter->drawRect(cell.adjusted(0, 0, -1, -1));
    }
    Painter->restore();
}

// A tile without a picture keeps its square empty but for a faint cross,
// so that a free slot is told from a white picture.
void TPictureDelegate::DrawPicture(QPainter *Painter, const QRect &Square, TTileKind Kind, int Tile) const
{
    const QImage linked = LinkedPicture(Kind, Tile);
    if (!linked.isNull())
        return DrawImage(Painter, Square, linked);
    TPictureCache *pictures = FPictures ? FPictures() : nullptr;
    const TPicture picture = !pictures ? TPicture()
                             : Kind == TTileKind::Land ? pictures->Land(Tile)
                                                       : pictures->Item(Tile);
    if (picture.Missing) {
        const QRect mark(Square.center() - QPoint(3, 3), QSize(7, 7));
        Painter->setPen(QColor(128, 128, 128, 90));
        Painter->drawLine(mark.topLeft(), mark.bottomRight());
        Painter->drawLine(mark.topRight(), mark.bottomLeft());
        return;
    }
    DrawImage(Painter, Square, picture.Image);
}

void TPictureDelegate::DrawImage(QPainter *Painter, const QRect &Square, const QImage &Image) const
{
    QSize size = Image.size();
    if (size.width() > Square.width() || size.height() > Square.height())
        size = size.scaled(Square.size(), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const QRect target(Square.left() + (Square.width() - size.width()) / 2,
                       Square.top() + (Square.height() - size.height()) / 2, size.width(), size.height());
    Painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    Painter->drawImage(target, Image);
}

// The land tile's texture, with the switch on; the current item's frame,
// while its animation plays. Null: the tile's own picture.
QImage TPictureDelegate::LinkedPicture(TTileKind Kind, int Tile) const
{
    if (!FLinks)
        return QImage();
    if (Kind == TTileKind::Land)
        return FShowTextures ? FLinks->CellTexture(Tile) : QImage();
    return FLinks->CellFrame(Tile);
}

bool TPictureDelegate::helpEvent(QHelpEvent *Event, QAbstractItemView *View, const QStyleOptionViewItem &Option,
                                 const QModelIndex &Index)
{
    const TTileListModel *lines = LinesOf(Index);
    const TTileData *store = FStore();
    if (Event->type() != QEvent::ToolTip || !lines || !store)
        return QStyledItemDelegate::helpEvent(Event, View, Option, Index);
    QToolTip::showText(Event->globalPos(), TipText(*store, lines->Kind(), lines->TileAt(Index.row())), View);
    return true;
}
