#include "app/form/CompletionGuard.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDialog>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>

TCompletionGuard::TCompletionGuard(QDialog *Dialog)
    : QObject(Dialog)
    , FDialog(Dialog)
{
    for (QLineEdit *box : Dialog->findChildren<QLineEdit *>()) {
        if (box->completer())
            box->completer()->popup()->installEventFilter(this);
    }
    connect(Dialog, &QDialog::finished, this, &TCompletionGuard::HidePopups);
}

void TCompletionGuard::HidePopups()
{
    for (QLineEdit *box : FDialog->findChildren<QLineEdit *>()) {
        if (box->completer())
            box->completer()->popup()->hide();
    }
}

// A list that shows itself once the dialog is gone is hidden again as soon
// as it has finished showing.
bool TCompletionGuard::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Event->type() == QEvent::Show && !FDialog->isVisible())
        QTimer::singleShot(0, this, &TCompletionGuard::HidePopups);
    return QObject::eventFilter(Watched, Event);
}
