// Many tiles at once: the list's extended selection, the mixed display of
// the selected tiles' fields, and one edit that changes only the field it
// names in every selected tile.

#include "app/document/TileDocument.h"
#include "app/form/Unit1.h"
#include "app/list/TileListModel.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/TestFiles.h"
#include "tiledata/TileDataReader.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {

constexpr std::uint32_t Wall = 0x10;

} // namespace

class ManyTilesTest : public WindowTest
{
    Q_OBJECT

private slots:
    void selectingManyTiles_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("selected");
        QTest::newRow("Shift+click") << "range" << 5;
        QTest::newRow("Ctrl+click adds and takes away") << "toggle" << 1;
        QTest::newRow("Ctrl+A with a filter") << "all" << 0;
        QTest::newRow("land, Shift+Down") << "land" << 3;
    }

    void selectingManyTiles()
    {
        QFETCH(QString, way);
        QFETCH(int, selected);
        auto window = Open();
        if (way == QLatin1String("range")) {
            SelectRange(*window, 3, 7);
        } else if (way == QLatin1String("toggle")) {
            ClickLine(*window, 3);
            QTest::mouseClick(window->ListBox1->viewport(), Qt::LeftButton, Qt::ControlModifier, LineRect(*window, 7).center());
            QTest::mouseClick(window->ListBox1->viewport(), Qt::LeftButton, Qt::ControlModifier, LineRect(*window, 3).center());
            // The only selected line stays selected.
            QTest::mouseClick(window->ListBox1->viewport(), Qt::LeftButton, Qt::ControlModifier, LineRect(*window, 7).center());
        } else if (way == QLatin1String("all")) {
            QTest::keyClicks(window->findChild<QLineEdit *>(QStringLiteral("FilterBox")), QStringLiteral("n1"));
            selected = ListCount(*window);
            ClickLine(*window, 0);
            QTest::keyClick(window->ListBox1, Qt::Key_A, Qt::ControlModifier);
        } else {
            Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
            ClickLine(*window, 2);
            QTest::keyClick(window->ListBox1, Qt::Key_Down, Qt::ShiftModifier);
            QTest::keyClick(window->ListBox1, Qt::Key_Down, Qt::ShiftModifier);
        }
        QCOMPARE(int(window->Document->SelectedTiles().size()), selected);
        QCOMPARE(window->StatusBar1->currentMessage(),
                 selected > 1 ? QLocale(QLocale::English).toString(selected) + " tiles selected" : QString());
    }

    // Tiles 3 to 7 differ in weight and in Wall; the click sets Wall alone
    // in each, the number sets Weight alone, and each is one step.
    void oneEditReachesEverySelectedTile()
    {
        for (int tile = 3; tile <= 7; ++tile) {
            TileDataWriter::Record record = Files->Writer.ReadRecord(tile);
            record.Weight = std::uint8_t(tile);
            record.Flags = tile % 2 ? record.Flags | Wall : record.Flags & ~Wall;
            Files->Writer.SetRecord(tile, record);
        }
        auto window = Open();
        SelectRange(*window, 3, 7);
        QCOMPARE(window->edWeight->text(), QString());
        QCOMPARE(window->edWeight->placeholderText(), QStringLiteral("(mixed)"));
        QCOMPARE(window->cbWall->checkState(), Qt::PartiallyChecked);
        QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QCOMPARE(window->cbWall->checkState(), Qt::Checked);
        TypeInto(window->edWeight, QStringLiteral("9"));
        QTest::keyClick(window->edWeight, Qt::Key_Tab);
        QCOMPARE(window->findChild<QAction *>(QStringLiteral("UndoAction"))->text(), QStringLiteral("Undo Weight on 5 tiles"));
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        TileDataWriter expected(0, 0);
        expected.Bytes() = Files->Writer.Bytes();
        for (int tile = 3; tile <= 7; ++tile) {
            TileDataWriter::Record record = expected.ReadRecord(tile);
            record.Flags |= Wall;
            record.Weight = 9;
            expected.SetRecord(tile, record);
        }
        QVERIFY(TestFiles::ReadBytes(Files->Path()) == expected.Bytes());
        Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        QCOMPARE(window->TileData()->GetRecordBytes(TTileKind::Item, 4),
                 QByteArray(reinterpret_cast<const char *>(Files->Writer.Bytes().data() + TileDataWriter::OffsetOf(4)), 37));
        // Undo selects the tiles the step changed: Wall was missing in 4
        // and 6.
        QCOMPARE(window->Document->SelectedTiles(), std::vector<int>({4, 6}));
    }

    void renamingManyTilesAsksFirst_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("Rename") << "Rename";
        QTest::newRow("Cancel") << "Cancel";
    }

    void renamingManyTilesAsksFirst()
    {
        QFETCH(QString, answer);
        auto window = Open();
        SelectRange(*window, 3, 7);
        QStringList seen;
        Answers->Then(Press(answer, &seen));
        TypeInto(window->Edit1, QStringLiteral("wall"));
        QTest::keyClick(window->Edit1, Qt::Key_Return);
        QCOMPARE(seen.value(0), QStringLiteral("Rename 5 tiles to 'wall'?"));
        for (int tile = 3; tile <= 7; ++tile)
            QCOMPARE(window->TileData()->GetName(tile) == QLatin1String("wall"), answer == QLatin1String("Rename"));
    }

    // Another file opens with nothing selected: no box says "(mixed)".
    void openShowsNoMixedValues()
    {
        auto window = Open();
        SelectRange(*window, 3, 7);
        QCOMPARE(window->edWeight->placeholderText(), QStringLiteral("(mixed)"));
        Answers->Then(ChooseFile(Files->Path()));
        Shortcut(*window, Qt::CTRL | Qt::Key_O);
        QCOMPARE(window->edWeight->placeholderText(), QString());
    }

    void linesBeyondTheEndAreGreyed()
    {
        Files->Writer.Bytes().resize(500000);
        auto window = Open();
        const auto greyed = [&](int Row) { return window->ListModel->index(Row).data(Qt::ForegroundRole).isValid(); };
        QVERIFY(!greyed(0x791));
        QVERIFY(greyed(0x792));
    }

    // 500,000 bytes hold tiles 0 to 0x791 whole; 0x790 has Wall already,
    // and only 0x791 counts as changed.
    void aSelectionBeyondTheEndEditsWhatTheFileHolds()
    {
        for (const int tile : {0x790, 0x791}) {
            TileDataWriter::Record record = Files->Writer.ReadRecord(tile);
            record.Flags = tile == 0x790 ? record.Flags | Wall : record.Flags & ~Wall;
            Files->Writer.SetRecord(tile, record);
        }
        Files->Writer.Bytes().resize(500000);
        auto window = OpenShort();
        SelectRange(*window, 0x790, 0x793);
        QVERIFY(window->cbWall->isEnabled());
        const std::uint64_t before = window->TileData()->GetFlags(0x790);
        const QByteArray beyond = window->TileData()->GetRecordBytes(TTileKind::Item, 0x792);
        QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QCOMPARE(window->StatusBar1->currentMessage(),
                 QStringLiteral("1 tile changed; 2 beyond the file's end were left alone"));
        QCOMPARE(window->TileData()->GetFlags(0x790), before | Wall);
        QCOMPARE(window->TileData()->GetRecordBytes(TTileKind::Item, 0x792), beyond);
    }

    // Tile 0x7A0 lies wholly beyond the end and has no flags to count: Wall,
    // which 0x790 has, shows as set, and a click clears it.
    void aFlagEveryHeldTileHasShowsSet()
    {
        TileDataWriter::Record record = Files->Writer.ReadRecord(0x790);
        record.Flags |= Wall;
        Files->Writer.SetRecord(0x790, record);
        Files->Writer.Bytes().resize(500000);
        auto window = OpenShort();
        ClickLine(*window, 0x790);
        window->ListBox1->scrollTo(window->ListModel->index(0x7A0));
        QTest::mouseClick(window->ListBox1->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          LineRect(*window, 0x7A0).center());
        QCOMPARE(window->Document->SelectedTiles(), (std::vector<int>{0x790, 0x7A0}));
        QCOMPARE(window->cbWall->checkState(), Qt::Checked);
        QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QCOMPARE(window->TileData()->GetFlags(0x790) & Wall, 0u);
    }
};

QTEST_MAIN(ManyTilesTest)
#include "tst_manytiles.moc"
