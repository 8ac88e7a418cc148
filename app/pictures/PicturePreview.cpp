#include "app/pictures/PicturePreview.h"

#include "app/pictures/NoPicture.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QScreen>
#include <QKeyEvent>
#include <QVBoxLayout>

#include <algorithm>

TPicturePreview::TPicturePreview(QWidget *Parent)
    : QFrame(Parent, Qt::ToolTip)
{
    setObjectName(QStringLiteral("PicturePreview"));
    setFrameShape(QFrame::Box);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    Picture = new QLabel(this);
    Picture->setAlignment(Qt::AlignCenter);
    Text = new QLabel(this);
    Text->setForegroundRole(QPalette::ToolTipText);
    Text->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Picture);
    layout->addWidget(Text);
}

void TPicturePreview::ShowAt(const QImage &Image, const QString &Words, const QPoint &At)
{
    const QScreen *screen = QApplication::screenAt(At);
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    QPixmap pixmap = Image.isNull() ? NoPicture(NoPictureSide)
                                    : QPixmap::fromImage(Image);
    const QSize most = room.size() - QSize(16, 64);
    if (pixmap.width() > most.width() || pixmap.height() > most.height())
        pixmap = pixmap.scaled(most, Qt::KeepAspectRatio, Qt::FastTransformation);
    Picture->setPixmap(pixmap);
    Text->setText(Words);
    Text->setMaximumWidth(std::max(pixmap.width(), 240));
    adjustSize();
    QPoint at = At;
    at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height())));
    move(at);
    show();
    qApp->installEventFilter(this);
}

// Space, which shows the preview, hides it again and does nothing more.
bool TPicturePreview::eventFilter(QObject *, QEvent *Event)
{
    switch (Event->type()) {
    case QEvent::KeyPress:
        qApp->removeEventFilter(this);
        hide();
        return static_cast<QKeyEvent *>(Event)->key() == Qt::Key_Space;
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::WindowDeactivate:
        qApp->removeEventFilter(this);
        hide();
        break;
    default:
        break;
    }
    return false;
}
