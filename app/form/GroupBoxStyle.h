#pragma once

#include <QProxyStyle>

class QStyleOptionGroupBox;

// Draws group boxes with the title set into the frame's top line, the line
// at half the title's height. The window places each box's first controls
// 16 pixels down, just below such a title; styles that put the title above
// the frame (Fusion, Qt's style on Linux) would run the line through them.
// Boxes without a title, and everything else, are left to the base style.
class TGroupBoxStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // Space between the frame's left edge and the title.
    static constexpr int TitleIndent = 6;
    // Space the line leaves on either side of the title.
    static constexpr int TitleGap = 2;

    TGroupBoxStyle();

    QRect subControlRect(ComplexControl Control, const QStyleOptionComplex *Option, SubControl Element,
                         const QWidget *Widget) const override;
    void drawComplexControl(ComplexControl Control, const QStyleOptionComplex *Option, QPainter *Painter,
                            const QWidget *Widget) const override;

private:
    // The title and check box together; empty for a box that has neither.
    QRect TitleRect(const QStyleOptionGroupBox *Box, const QWidget *Widget) const;
    void DrawFrame(const QStyleOptionGroupBox *Box, QPainter *Painter, const QWidget *Widget) const;
};
