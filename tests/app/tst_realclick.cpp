// A click whose focus change shows the error box, given by a real X server:
// afterwards nothing stays drawn pressed and the click does nothing. Runs
// on the X11 platform under Xvfb (tests/smoke/under-xvfb.sh). There the
// press reaches its control only after the box has closed, and the release
// went to the box; Qt's offscreen platform delivers the release afterwards,
// which hides the fault.

#include "app/document/TileDocument.h"
#include "app/form/Unit1.h"
#include "app/pictures/PictureGrid.h"
#include "app/pictures/PicturesWindow.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/TestFiles.h"
#include "tiledata/TileDataReader.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

class RealClickTest : public WindowTest
{
    Q_OBJECT

private:
    // Presses and releases the left button over the control, through the X
    // server, as a user's click arrives.
    static void RealClick(QWidget *control)
    {
        const QPoint at = control->mapToGlobal(QPoint(8, control->height() / 2));
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"),
                                   {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                                    QStringLiteral("click"), QStringLiteral("1")}),
                 0);
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs the X11 platform: run under tests/smoke/under-xvfb.sh");
    }

    void clickAfterTheErrorBoxDoesNothing_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("Save") << "BitBtn1";
        QTest::newRow("Damaging") << "cbDamaging";
    }

    void clickAfterTheErrorBoxDoesNothing()
    {
        QFETCH(QString, control);
        auto window = Open();
        const std::vector<unsigned char> before = TestFiles::ReadBytes(Files->Path());
        ClickLine(*window, 5);
        const quint32 flags = window->TileData()->GetFlags(5);
        auto *target = window->findChild<QAbstractButton *>(control);
        // Twice in the same window: the first dropped click must leave
        // nothing behind that changes the second.
        for (int round = 1; round <= 2; ++round) {
            // Without a window manager nothing gives the window the focus
            // back after the first box; a click before it has the focus
            // would find no number box to commit.
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
            TypeInto(window->edWeight, QString());
            QTest::keyClick(window->edWeight, Qt::Key_Delete); // an empty box is no integer
            QTRY_VERIFY(window->edWeight->hasFocus());

            RealClick(target);
            QTRY_COMPARE(Answers->Boxes.size(), round);
            QCOMPARE(Answers->Boxes.last().Text, QStringLiteral("'' is not a valid integer value."));
            QTest::qWait(300); // anything of the click still on its way

            QVERIFY(!target->isDown());
            QCOMPARE(window->cbDamaging->isChecked(), bool(flags & 0x20u));
            QCOMPARE(window->TileData()->GetFlags(5), flags);
            QCOMPARE(window->StatusBar1->currentMessage(), QString());
            QVERIFY(TestFiles::ReadBytes(Files->Path()) == before);
        }

        // The next click is the user's own again.
        RealClick(target);
        QTRY_VERIFY(window->TileData()->GetFlags(5) != flags
                    || window->StatusBar1->currentMessage() == QStringLiteral("Tiledata has been saved"));
        QCOMPARE(Answers->Boxes.size(), 2);
    }

    void cellClickTakesInATypedValue_data()
    {
        QTest::addColumn<int>("weight");
        QTest::newRow("taken") << 42;
        QTest::newRow("refused") << 300;
    }

    // A weight typed for tile 5 and a real click on the cell of tile 9 in
    // the Pictures window: the weight goes into tile 5 first and the click
    // selects 9, or the weight is refused once and the click selects
    // nothing, its release included.
    void cellClickTakesInATypedValue()
    {
        QFETCH(int, weight);
        auto window = Open();
        ClickLine(*window, 5);
        const int before = window->TileData()->GetWeight(5);
        window->findChild<QAction *>(QStringLiteral("PicturesAction"))->trigger();
        TPictureGrid &grid = *window->Pictures->Grid;
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        TypeInto(window->edWeight, QString::number(weight));
        const QRect cell = grid.visualRect(grid.model()->index(9, 0));
        const QPoint at = grid.viewport()->mapToGlobal(cell.center());
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"),
                                   {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                                    QStringLiteral("click"), QStringLiteral("1")}),
                 0);
        const bool refused = weight > 255;
        QTRY_COMPARE(window->TileData()->GetWeight(5), refused ? before : weight);
        if (refused)
            QTRY_COMPARE(Answers->Boxes.size(), 1);
        QTest::qWait(300); // anything of the click still on its way
        QCOMPARE(window->Document->SelectedTiles(), std::vector<int>{refused ? 5 : 9});
        QCOMPARE(Answers->Boxes.size(), refused ? 1 : 0);
    }
};

QTEST_MAIN(RealClickTest)
#include "tst_realclick.moc"
