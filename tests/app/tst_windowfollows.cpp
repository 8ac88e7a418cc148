// The controls show the document as it is after any change, from any
// source, so that closing and saving writes only what the user asked for;
// and every way of loading a file starts it the same way.

#include "app/form/Unit1.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/TestFiles.h"
#include "tiledata/TileRecord.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

namespace {

// The name the file now holds for a tile of either section.
std::string SavedName(const QString &Path, bool Land, int Tile)
{
    const std::vector<unsigned char> bytes = TestFiles::ReadBytes(Path);
    const LayoutTileWriter shape = LayoutTileWriter::ShapeOf(bytes.size());
    const std::size_t at = Land ? shape.LandOffset(Tile) + 6 : shape.ItemOffset(Tile) + 17;
    const auto begin = bytes.begin() + std::ptrdiff_t(at);
    return std::string(begin, std::find(begin, begin + 20, 0));
}

} // namespace

class WindowFollowsTest : public WindowTest
{
    Q_OBJECT

private slots:
    void closeAndSaveKeepsWhatAnotherChangeMade_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("land");
        QTest::newRow("Global Replace, items") << "replace" << false;
        QTest::newRow("Global Replace, land") << "replace" << true;
        QTest::newRow("Overwrite merges their rename") << "merge" << false;
        QTest::newRow("undo of a saved rename") << "undo" << false;
    }

    // After the change, a flag click makes the close question ask; its Save
    // must keep the name the change left, not write back a stale one.
    void closeAndSaveKeepsWhatAnotherChangeMade()
    {
        QFETCH(QString, change);
        QFETCH(bool, land);
        auto window = Open();
        const int tile = 5;
        std::string expected = "Stone";
        QStringList seen;
        if (land)
            Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
        if (change == QLatin1String("merge")) {
            ClickLine(*window, 9);
            QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        }
        ClickLine(*window, tile);
        if (change == QLatin1String("replace")) {
            TypeInto(window->Edit2, QStringLiteral("Stone"));
            QTest::mouseClick(window->Button1, Qt::LeftButton);
        } else if (change == QLatin1String("merge")) {
            QVERIFY(TestFiles::WriteByteElsewhere(Files->Path(), TileDataWriter::OffsetOf(tile) + 17, 'T'));
            expected = SavedName(Files->Path(), false, tile);
            Answers->Then(Press(QStringLiteral("Overwrite"), &seen));
            QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        } else {
            expected = DefaultName(tile);
            TypeInto(window->Edit1, QStringLiteral("Stone"));
            QTest::keyClick(window->Edit1, Qt::Key_Return);
            QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
            Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        }
        QTest::mouseClick(window->cbDoor, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        Answers->Then(Press(QStringLiteral("Save"), &seen));
        QTest::mouseClick(window->BitBtn2, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(SavedName(Files->Path(), land, tile), expected);
    }

    void everyLoadStartsWithoutFilterAndHistory_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Open") << "open";
        QTest::newRow("drop") << "drop";
        QTest::newRow("Reload") << "reload";
        QTest::newRow("the hidden load row") << "row";
    }

    void everyLoadStartsWithoutFilterAndHistory()
    {
        QFETCH(QString, way);
        auto window = Open();
        ClickLine(*window, 5);
        QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        auto *filter = window->findChild<QLineEdit *>(QStringLiteral("FilterBox"));
        QTest::keyClicks(filter, QStringLiteral("n1"));
        QVERIFY(ListCount(*window) < TileCount);
        if (way == QLatin1String("open")) {
            Answers->Then(ChooseFile(Files->Path()));
            Shortcut(*window, Qt::CTRL | Qt::Key_O);
        } else if (way == QLatin1String("drop")) {
            DropFile(*window, Files->Path());
        } else if (way == QLatin1String("reload")) {
            MenuAction(*window, QStringLiteral("&Reload"))->trigger();
        } else {
            window->Button3->click();
        }
        QCOMPARE(filter->text(), QString());
        QCOMPARE(ListCount(*window), TileCount);
        QVERIFY(!window->findChild<QAction *>(QStringLiteral("UndoAction"))->isEnabled());
    }
};

QTEST_MAIN(WindowFollowsTest)
#include "tst_windowfollows.moc"
