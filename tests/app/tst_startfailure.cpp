// A start in which the session log cannot be written ends before any window
// opens.

#include "app/form/RunQuorvane.h"
#include "app/form/Unit1.h"
#include "tests/app/WindowTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {

bool AnyMainWindow()
{
    for (QWidget *widget : QApplication::allWidgets()) {
        if (qobject_cast<TForm1 *>(widget))
            return true;
    }
    return false;
}

} // namespace

class StartFailureTest : public QObject
{
    Q_OBJECT

private slots:
    void unwritableLogEndsTheStart()
    {
        // A folder stands where the log file would go.
        const QString logPath = QCoreApplication::applicationFilePath() + QStringLiteral(".log");
        QFile::remove(logPath);
        QVERIFY(QDir().mkpath(logPath));
        const auto removeFolder = qScopeGuard([&] { QDir(logPath).removeRecursively(); });

        ModalAnswers answers;
        bool windowDuringBox = true;
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        answers.Then([&](QWidget *modal) {
            windowDuringBox = AnyMainWindow();
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (box) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
            }
            modal->close();
        });
        // Should the log be written after all, the window must not keep the
        // test waiting.
        QTimer::singleShot(20000, [] {
            for (QWidget *top : QApplication::topLevelWidgets())
                top->close();
        });
        const int result = RunQuorvane(*qobject_cast<QApplication *>(QCoreApplication::instance()), {"quorvane"});
        QCOMPARE(result, 1);
        QCOMPARE(title, QStringLiteral("Application Error"));
        QCOMPARE(icon, QMessageBox::Critical);
        QVERIFY(!text.isEmpty());
        QVERIFY(!windowDuringBox);
        QVERIFY(!AnyMainWindow());
        QVERIFY(answers.Unexpected.isEmpty());
    }
};

QTEST_MAIN(StartFailureTest)
#include "tst_startfailure.moc"
