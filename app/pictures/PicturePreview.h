#pragma once

#include <QFrame>

class QLabel;

// A tile's picture at its own size, with the tooltip's text under it, in a
// small window of its own beside the pointer or the current cell. A picture
// larger than the screen is scaled down to it, keeping its shape. Any key,
// click or wheel turn closes it, as a tooltip closes.
class TPicturePreview : public QFrame
{
    Q_OBJECT

public:
    explicit TPicturePreview(QWidget *Parent);

    // Shows Picture (a null one: the mark of no picture) and Text with its
    // top-left corner at At, within the screen there.
    void ShowAt(const QImage &Picture, const QString &Text, const QPoint &At);

    QLabel *Picture = nullptr;
    QLabel *Text = nullptr;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
};
