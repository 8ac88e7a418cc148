#include "app/RunQuorvane.h"

#include "app/GroupBoxStyle.h"
#include "app/StartFile.h"
#include "app/Unit1.h"

#include "diag/Tools.h"
#include "platform/Error.h"

#include <QApplication>
#include <QMessageBox>

namespace {

void ShowStartFailure(const QString &message)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"), message, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

int RunQuorvane(QApplication &Application)
{
    try {
        InitializeTools();
    } catch (const std::exception &e) {
        ShowStartFailure(QString::fromUtf8(e.what()));
        return 1;
    }
    // The application owns its style.
    Application.setStyle(new TGroupBoxStyle);
    TForm1 window(nullptr, StartFile(Application.arguments()));
    Form1 = &window;
    window.show();
    const int result = Application.exec();
    Form1 = nullptr;
    return result;
}
