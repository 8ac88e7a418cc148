#pragma once

#include <QObject>

// Drops what is left of a mouse click that a modal box interrupted.
//
// A press on a control first moves the focus there; when leaving the
// previous control shows an error box, the press reaches its control only
// after the box has closed, and its release went to the box. The control
// would then stay drawn pressed, waiting for a release that never comes, or
// (where the release comes later) act on a click the user gave to the box.
class TClickDropper : public QObject
{
public:
    explicit TClickDropper(QObject *Parent);

    // Drops every mouse press, release and double click, anywhere in the
    // application, until the event loop has handled the events now pending.
    void DropPendingClick();

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void Stop();

    bool FDropping = false;
};
