#include "app/form/RunQuorvane.h"

#include "app/form/GroupBoxStyle.h"
#include "app/form/StartFile.h"
#include "app/form/Unit1.h"

#include "diag/Tools.h"
#include "platform/Error.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace {

void ShowBox(QMessageBox::Icon Icon, const QString &Title, const QString &Text)
{
    QMessageBox box(Icon, Title, Text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// The usage or a command-line problem. The Windows program has no console
// to write to, so there it shows a box instead.
void ShowCommandLineText(const QString &Text, bool Problem)
{
#ifdef Q_OS_WIN
    ShowBox(Problem ? QMessageBox::Critical : QMessageBox::Information, QStringLiteral("quorvane"), Text);
#else
    std::fputs(Text.toLocal8Bit().constData(), Problem ? stderr : stdout);
#endif
}

} // namespace

int RunQuorvane(QApplication &Application, const QStringList &Arguments)
{
    const StartCommand command = StartCommand::Read(Arguments);
    if (!command.Problem.isEmpty()) {
        ShowCommandLineText("quorvane: " + command.Problem + '\n' + StartCommand::Usage(), true);
        return 2;
    }
    if (command.Help) {
        ShowCommandLineText(StartCommand::Usage(), false);
        return 0;
    }
    try {
        InitializeTools();
    } catch (const std::exception &e) {
        ShowBox(QMessageBox::Critical, QStringLiteral("Application Error"), QString::fromUtf8(e.what()));
        return 1;
    }
    // The application owns its style.
    Application.setStyle(new TGroupBoxStyle);
    TForm1 window(nullptr, command.File);
    Form1 = &window;
    window.show();
    const int result = Application.exec();
    Form1 = nullptr;
    return result;
}
