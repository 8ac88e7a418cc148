#include "app/ErrorBox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

QString ErrorBoxText(const QString &Message)
{
    if (!Message.isEmpty() && Message.back() > QLatin1Char('.'))
        return Message + QLatin1Char('.');
    return Message;
}

QString ApplicationTitle()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void ShowErrorBox(QWidget *Parent, const QString &Message)
{
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), ErrorBoxText(Message), QMessageBox::Ok, Parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
