#include "app/pictures/PictureDelegate.h"

#include "app/check/TileProblems.h"
#include "app/compare/DifferenceDelegate.h"
#include "app/links/TileLinks.h"
#include "app/list/TileListModel.h"
#include "app/pictures/NoPicture.h"
#include "app/pictures/PicturePreview.h"

#include "art/PictureCache.h"
#include "tiledata/TileDataReader.h"
#include "tiledata/TileFlags.h"
#include "tiletext/FlagText.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int Margin = 3;
// The comparison's mark under the label.
constexpr int MarkHeight = 4;
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
    // In the dump's words ("Bit40" for an unnamed upper bit), so that what
    // the tooltip says is found again in a dump.
    QStringList flags;
    const std::uint64_t word = Store.GetFlags(Kind, Tile);
    for (int bit = 0; bit < WideFlagCount; ++bit) {
        if ((word >> bit) & 1u)
            flags << QString::fromStdString(FlagText::Name(bit));
    }
    if (!flags.isEmpty())
        text += QStringLiteral(": ") + flags.join(QStringLiteral(", "));
    if (Kind == TTileKind::Item)
        text += QStringLiteral("; Height %1").arg(Store.GetHeight(Tile));
    return text;
}

// The widest label the open file can have, in bold as a differing tile's
// label is: every digit as wide as the widest, and five of them from tile
// 0x10000 up. With a gap of Margin on either side, no two labels touch.
int TPictureDelegate::LabelWidth(const QFont &Font) const
{
    QFont bold(Font);
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const TTileData *store = FStore ? FStore() : nullptr;
    const int last = store ? std::max(store->Count(TTileKind::Item), store->Count(TTileKind::Land)) - 1 : 0xFFFF;
    int digit = 0;
    for (const QChar c : QStringLiteral("0123456789ABCDEF"))
        digit = std::max(digit, metrics.horizontalAdvance(c));
    const int digits = int(IndexText(std::max(last, 0)).size()) - 2;
    return metrics.horizontalAdvance(QStringLiteral("0x")) + digits * digit + 1;
}

QSize TPictureDelegate::sizeHint(const QStyleOptionViewItem &Option, const QModelIndex &) const
{
    const QFontMetrics metrics(Option.font);
    const int width = std::max(FCellSize, LabelWidth(Option.font)) + 2 * Margin;
    return QSize(std::max(width, FFillWidth), FCellSize + metrics.height() + 2 * Margin + MarkHeight);
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
    const TTileData *store = FStore();
    // A tile beyond a short file's end is greyed, selected or not, as the
    // list greys its line: its selection shows faintly too.
    const bool greyed = store && !store->IsWhole(kind, tile);
    Painter->save();
    if (greyed)
        Painter->setOpacity(GreyedOpacity);
    if (selected)
        Painter->fillRect(cell, Option.palette.brush(group, QPalette::Highlight));
    const QRect square(cell.left() + (cell.width() - FCellSize) / 2, cell.top() + Margin, FCellSize, FCellSize);
    DrawPicture(Painter, square, kind, tile);
    Painter->setOpacity(1.0);

    const bool differs = FDiffers && FDiffers(kind, tile);
    const QRect below(cell.left(), square.bottom() + 1, cell.width(), cell.bottom() - MarkHeight - square.bottom());
    const QPalette::ColorRole textRole = selected && !greyed ? QPalette::HighlightedText : QPalette::Text;
    Painter->setPen(Option.palette.color(greyed ? QPalette::Disabled : group, textRole));
    if (differs) {
        QFont bold(Option.font);
        bold.setBold(true);
        Painter->setFont(bold);
    } else {
        Painter->setFont(Option.font);
    }
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
    // The mark lies under the label, within the cell's margins, so that it
    // is the cell's own and never read as its neighbour's.
    if (differs)
        Painter->fillRect(QRect(cell.left() + Margin, cell.bottom() - Margin - TDifferenceDelegate::BarWidth + 1,
                                cell.width() - 2 * Margin, TDifferenceDelegate::BarWidth),
                          TDifferenceDelegate::MarkColor());
    if (Option.state & QStyle::State_HasFocus) {
        Painter->setPen(QPen(Option.palette.color(group, QPalette::Text), 1, Qt::DotLine));
        Painter->drawRect(cell.adjusted(0, 0, -1, -1));
    }
    Painter->restore();
}

// The picture's colour 0 lets the cell's background through, the
// selection's colour or a dark theme's alike.
TPicture TPictureDelegate::PictureOf(TTileKind Kind, int Tile) const
{
    TPictureCache *pictures = FPictures ? FPictures() : nullptr;
    return !pictures ? TPicture() : Kind == TTileKind::Land ? pictures->Land(Tile) : pictures->Item(Tile);
}

void TPictureDelegate::DrawPicture(QPainter *Painter, const QRect &Square, TTileKind Kind, int Tile) const
{
    const QImage linked = LinkedPicture(Kind, Tile);
    if (!linked.isNull())
        return DrawImage(Painter, Square, linked);
    const TPicture picture = PictureOf(Kind, Tile);
    if (picture.Missing || picture.Shown.isNull())
        return DrawNoPicture(Painter, Square);
    DrawImage(Painter, Square, picture.Shown);
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
    Preview(View, Index, Event->globalPos() + QPoint(12, 12));
    return true;
}

// A hover shows the larger picture in place of the tooltip, with its text.
void TPictureDelegate::Preview(QAbstractItemView *View, const QModelIndex &Index, const QPoint &At)
{
    const TTileListModel *lines = LinesOf(Index);
    const TTileData *store = FStore();
    if (!lines || !store)
        return;
    const int tile = lines->TileAt(Index.row());
    const TPicture picture = PictureOf(lines->Kind(), tile);
    if (!FPreview)
        FPreview = new TPicturePreview(View);
    QString text = TipText(*store, lines->Kind(), tile);
    const QString findings = FProblems ? TTileProblems::Text(FProblems->Of(lines->Kind(), tile)) : QString();
    if (!findings.isEmpty())
        text += QLatin1Char('\n') + findings;
    FPreview->ShowAt(picture.Missing ? QImage() : picture.Shown, text, At);
}
