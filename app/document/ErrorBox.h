#pragma once

#include <QString>

#include <exception>

class QWidget;

// The application's standard error box: a modal critical message box with
// one OK button, titled with the program's name, "Quorvane".
void ShowErrorBox(QWidget *Parent, const QString &Message);

// Where a box or dialog asked for by Parent goes: over the window the user
// works in, the Pictures window when its keys asked, so that it is seen
// there and the focus comes back there after it; else over Parent.
QWidget *DialogParent(QWidget *Parent);

// The box's text: the message, plus a full stop when its last character
// sorts after "." in character code order.
QString ErrorBoxText(const QString &Message);

// The title of the box: the program's name.
QString ApplicationTitle();

// Runs one handler of the window. An error ends the handler and is shown in
// the standard error box; it never reaches Qt's event loop, and whatever the
// handler changed before the error stays changed. False when it failed.
template <typename Handler>
bool RunHandler(QWidget *Parent, Handler &&handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception &e) {
        ShowErrorBox(Parent, QString::fromUtf8(e.what()));
        return false;
    }
}
