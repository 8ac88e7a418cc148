#include "app/form/ClickDropper.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

TClickDropper::TClickDropper(QObject *Parent)
    : QObject(Parent)
{
}

void TClickDropper::DropPendingClick()
{
    if (FDropping)
        return;
    FDropping = true;
    QCoreApplication::instance()->installEventFilter(this);
    // The interrupted press is delivered before control returns to the
    // event loop; this runs once it has.
    QTimer::singleShot(0, this, &TClickDropper::Stop);
}

void TClickDropper::Stop()
{
    QCoreApplication::instance()->removeEventFilter(this);
    FDropping = false;
}

bool TClickDropper::eventFilter(QObject *Watched, QEvent *Event)
{
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return QObject::eventFilter(Watched, Event);
    }
}
