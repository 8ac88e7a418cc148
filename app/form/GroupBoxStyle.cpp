#include "app/form/GroupBoxStyle.h"

#include <QPainter>
#include <QStyleOptionComplex>

namespace {

const QStyleOptionGroupBox *TitledBox(QStyle::ComplexControl Control, const QStyleOptionComplex *Option)
{
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(Option);
    if (Control != QStyle::CC_GroupBox || !box)
        return nullptr;
    return box->text.isEmpty() && !(box->subControls & QStyle::SC_GroupBoxCheckBox) ? nullptr : box;
}

} // namespace

TGroupBoxStyle::TGroupBoxStyle() = default;

QRect TGroupBoxStyle::subControlRect(ComplexControl Control, const QStyleOptionComplex *Option, SubControl Element,
                                     const QWidget *Widget) const
{
    QRect rect = QProxyStyle::subControlRect(Control, Option, Element, Widget);
    const QStyleOptionGroupBox *box = TitledBox(Control, Option);
    if (!box)
        return rect;
    if (Element == SC_GroupBoxLabel || Element == SC_GroupBoxCheckBox) {
        // A left-aligned title moves in from the corner, so that the line
        // visibly runs into the frame's side.
        if (!(box->textAlignment & (Qt::AlignHCenter | Qt::AlignRight)))
            rect.translate(box->direction == Qt::RightToLeft ? -TitleIndent : TitleIndent, 0);
    } else if (Element == SC_GroupBoxFrame) {
        const QRect title = TitleRect(box, Widget);
        rect.setTop(title.top() + title.height() / 2);
    }
    return rect;
}

void TGroupBoxStyle::drawComplexControl(ComplexControl Control, const QStyleOptionComplex *Option, QPainter *Painter,
                                        const QWidget *Widget) const
{
    const QStyleOptionGroupBox *box = TitledBox(Control, Option);
    if (!box || !(box->subControls & SC_GroupBoxFrame)) {
        QProxyStyle::drawComplexControl(Control, Option, Painter, Widget);
        return;
    }
    // The base style draws the title and check box; some styles would draw
    // their frame below a title strip of their own, so the frame is drawn
    // here.
    DrawFrame(box, Painter, Widget);
    QStyleOptionGroupBox rest(*box);
    rest.subControls &= ~SC_GroupBoxFrame;
    QProxyStyle::drawComplexControl(Control, &rest, Painter, Widget);
}

QRect TGroupBoxStyle::TitleRect(const QStyleOptionGroupBox *Box, const QWidget *Widget) const
{
    QRect title;
    if (!Box->text.isEmpty())
        title = subControlRect(CC_GroupBox, Box, SC_GroupBoxLabel, Widget);
    if (Box->subControls & SC_GroupBoxCheckBox)
        title |= subControlRect(CC_GroupBox, Box, SC_GroupBoxCheckBox, Widget);
    return title;
}

void TGroupBoxStyle::DrawFrame(const QStyleOptionGroupBox *Box, QPainter *Painter, const QWidget *Widget) const
{
    Painter->save();
    // The line stops short of the title on both sides.
    QRegion outside(Box->rect);
    outside -= TitleRect(Box, Widget).adjusted(-TitleGap, 0, TitleGap, 0);
    Painter->setClipRegion(outside, Painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    Painter->setRenderHint(QPainter::Antialiasing);
    Painter->setPen(Box->palette.color(QPalette::Window).darker(130));
    Painter->setBrush(Qt::NoBrush);
    const QRect frame = subControlRect(CC_GroupBox, Box, SC_GroupBoxFrame, Widget);
    Painter->drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    Painter->restore();
}
