#pragma once

#include <QObject>

class QDialog;

// Keeps the completion lists of a dialog's boxes from outliving the dialog.
// A file dialog fills its completion list as its folder is read, which may
// be after Return has closed the dialog: the list would then stay on screen
// over the window, and take the next keys and the first click.
class TCompletionGuard : public QObject
{
public:
    explicit TCompletionGuard(QDialog *Dialog);

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void HidePopups();

    QDialog *FDialog;
};
