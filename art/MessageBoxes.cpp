#include "art/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QtGlobal>

namespace MessageBoxes {

namespace {

THandler &CurrentHandler()
{
    static THandler handler;
    return handler;
}

void ShowModalBox(TBoxKind Kind, const QString &Text)
{
    // A box needs a widget application; without one (a console tool) the
    // text still goes to the log instead of being lost.
    if (qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr) {
        qWarning("%s", qUtf8Printable(Text));
        return;
    }
    const bool warning = Kind == TBoxKind::Warning;
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Information,
                    QGuiApplication::applicationDisplayName(), Text,
                    warning ? QMessageBox::Abort : QMessageBox::Ok);
    box.exec();
}

void Show(TBoxKind Kind, const QString &Text)
{
    if (CurrentHandler())
        CurrentHandler()(Kind, Text);
    else
        ShowModalBox(Kind, Text);
}

} // namespace

void ShowWarning(const QString &Text)
{
    Show(TBoxKind::Warning, Text);
}

void ShowInformation(const QString &Text)
{
    Show(TBoxKind::Information, Text);
}

THandler SetHandler(THandler Handler)
{
    THandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(Handler);
    return previous;
}

} // namespace MessageBoxes
