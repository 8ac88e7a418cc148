#include "app/document/ErrorBox.h"

#include <QApplication>
#include <QMessageBox>

QString ErrorBoxText(const QString &Message)
{
    if (!Message.isEmpty() && Message.back() > QLatin1Char('.'))
        return Message + QLatin1Char('.');
    return Message;
}

// The program's name as users read it, whatever the executable is called.
QString ApplicationTitle()
{
    return QStringLiteral("Quorvane");
}

QWidget *DialogParent(QWidget *Parent)
{
    QWidget *active = QApplication::activeWindow();
    return Parent && active && active->windowType() == Qt::Window ? active : Parent;
}

void ShowErrorBox(QWidget *Parent, const QString &Message)
{
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), ErrorBoxText(Message), QMessageBox::Ok,
                    DialogParent(Parent));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
