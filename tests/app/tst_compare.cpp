// Comparing the open file with another one in the window: the marks and
// counts, stepping through the differences, the "Differences only" switch,
// taking tiles across, marks that follow edits, the other file changing on
// disk, one that cannot be read, and a comparison across layouts.

#include "app/compare/CompareTools.h"
#include "app/compare/DifferenceDelegate.h"
#include "app/document/FileWatch.h"
#include "app/document/TileDocument.h"
#include "app/form/Unit1.h"
#include "app/list/TileListModel.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/TestFiles.h"
#include "tiledata/TileDataReader.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace {

// A classic item record: flags at 0, the numbers at 4 to 16, the name at 17.
constexpr int RecordSize = 37;
constexpr std::uint8_t Wall = 0x10;
constexpr int NameAt = 17;
// Land tile 2's texture: after the first group's header, two records of 26
// bytes and the flags.
constexpr std::size_t Land2Texture = 4 + 2 * 26 + 4;

bool Marked(const TForm1 &Window, int Row)
{
    const auto *delegate = qobject_cast<TDifferenceDelegate *>(Window.ListBox1->itemDelegate());
    return delegate && delegate->IsMarked(Window.ListModel->index(Row));
}

QString Status(const TForm1 &Window)
{
    return Window.StatusBar1->currentMessage();
}

QString Counts(const TForm1 &Window)
{
    return Window.findChild<TCompareTools *>()->CountField->text();
}

} // namespace

class CompareTest : public WindowTest
{
    Q_OBJECT

    // other.mul beside the open file: its bytes with Change made.
    QString WriteOther(const std::function<void(std::vector<unsigned char> &)> &Change)
    {
        std::vector<unsigned char> bytes = Files->Writer.Bytes();
        Change(bytes);
        const QString path = Files->Folder() + QStringLiteral("/other.mul");
        TestFiles::WriteBytes(path, bytes);
        return path;
    }

    void CompareWith(TForm1 &Window, const QString &Path)
    {
        Answers->Then(ChooseFile(Path));
        Shortcut(Window, Qt::CTRL | Qt::Key_D);
        // The offscreen platform may leave the window inactive after the
        // dialog, and an inactive window's boxes see no focus changes.
        Window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Window));
    }

    static void ChangeWeight(std::vector<unsigned char> &Bytes, int Tile)
    {
        Bytes[TileDataWriter::OffsetOf(Tile) + 4] ^= 0x10;
    }

    // Another program changes the weight of Tile in Path; however coarse the
    // file system's clock, the file's time moves.
    static void ChangeOnDisk(const QString &Path, int Tile)
    {
        std::vector<unsigned char> changed = TestFiles::ReadBytes(Path);
        ChangeWeight(changed, Tile);
        TestFiles::WriteBytes(Path, changed);
        QFile file(Path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    }

    static QString Panel(const TForm1 &Window)
    {
        return Window.findChild<QLabel *>(QStringLiteral("OtherValues"))->text();
    }

private slots:
    void marksCountsAndSteps()
    {
        auto window = Open();
        CompareWith(*window, WriteOther([](std::vector<unsigned char> &Bytes) {
            for (const int tile : {3, 0x10, 0x200})
                ChangeWeight(Bytes, tile);
            Bytes[Land2Texture] ^= 1;
        }));
        QCOMPARE(Status(*window), QStringLiteral("Comparing with other.mul: 3 item tiles and 1 land tile differ"));
        QCOMPARE(Counts(*window), QStringLiteral("3 item tiles and 1 land tile differ"));
        QVERIFY(Marked(*window, 3) && Marked(*window, 0x10) && !Marked(*window, 4));
        const std::pair<QKeyCombination, int> steps[] = {
            {Qt::Key_F8, 3}, {Qt::Key_F8, 0x10}, {Qt::Key_F8, 0x200}, {Qt::Key_F8, 3}, {Qt::SHIFT | Qt::Key_F8, 0x200},
        };
        for (const auto &[keys, tile] : steps) {
            Shortcut(*window, keys);
            QCOMPARE(window->Document->CurrentTile(), tile);
        }
        QCOMPARE(Status(*window), QStringLiteral("Wrapped around to the last difference"));

        // The switch beside the filter works together with the name.
        auto *only = window->findChild<QToolButton *>(QStringLiteral("DifferencesOnly"));
        QVERIFY(only->isVisible());
        only->click();
        QCOMPARE(ListCount(*window), 3);
        QTest::keyClicks(window->findChild<QLineEdit *>(QStringLiteral("FilterBox")), QStringLiteral("n5"));
        QCOMPARE(ListCount(*window), 1);
        QCOMPARE(ListLine(*window, 0), QStringLiteral("0x200 - n512"));

        MenuAction(*window, QStringLiteral("Stop Co&mparing"))->trigger();
        QVERIFY(!only->isVisible() && !only->isChecked());
        QVERIFY(ListCount(*window) > 1);
        QVERIFY(!Marked(*window, 0));
    }

    void takeFromOther_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("size");
        QTest::newRow("whole record") << "&Take from Other" << 0 << RecordSize;
        QTest::newRow("flags only") << "&Flags Only" << 0 << 4;
        QTest::newRow("numbers only") << "&Numbers Only" << 4 << NameAt - 4;
        QTest::newRow("name only") << "N&ame Only" << NameAt << 20;
    }

    // Tiles 5 to 7 differ in every byte of their records; the part taken
    // is the only change a save writes.
    void takeFromOther()
    {
        QFETCH(QString, entry);
        QFETCH(int, first);
        QFETCH(int, size);
        auto window = Open();
        const QString other = WriteOther([](std::vector<unsigned char> &Bytes) {
            for (int tile = 5; tile <= 7; ++tile) {
                for (int k = 0; k < RecordSize; ++k)
                    Bytes[TileDataWriter::OffsetOf(tile) + std::size_t(k)] ^= 0x5A;
            }
        });
        CompareWith(*window, other);
        SelectRange(*window, 5, 7);
        MenuAction(*window, entry)->trigger();
        QCOMPARE(Status(*window), QStringLiteral("Took 3 tiles from other.mul"));
        QCOMPARE(Marked(*window, 5), size != RecordSize);
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        std::vector<unsigned char> expected = Files->Writer.Bytes();
        const std::vector<unsigned char> theirs = TestFiles::ReadBytes(other);
        for (int tile = 5; tile <= 7; ++tile) {
            const std::size_t at = TileDataWriter::OffsetOf(tile) + std::size_t(first);
            std::copy_n(theirs.begin() + std::ptrdiff_t(at), size, expected.begin() + std::ptrdiff_t(at));
        }
        QVERIFY(TestFiles::ReadBytes(Files->Path()) == expected);
        QVERIFY(window->Document->UndoStack().undoText().endsWith(QStringLiteral("from other on 3 tiles")));
    }

    // Tile 0x7A0, current, lies beyond the other file's end and is left
    // alone; the take gives 4 the Wall that 3 and 0x7A0 have, and the box
    // shows it set for the whole selection.
    void boxesFollowATakeThatLeavesTheCurrentTile()
    {
        for (const int tile : {3, 4, 0x7A0}) {
            TileDataWriter::Record record = Files->Writer.ReadRecord(tile);
            record.Flags = tile == 4 ? record.Flags & ~Wall : record.Flags | Wall;
            Files->Writer.SetRecord(tile, record);
        }
        auto window = Open();
        CompareWith(*window, WriteOther([](std::vector<unsigned char> &Bytes) {
            Bytes[TileDataWriter::OffsetOf(4)] |= Wall;
            Bytes.resize(500000);
        }));
        SelectRange(*window, 3, 4);
        window->ListBox1->scrollTo(window->ListModel->index(0x7A0));
        QTest::mouseClick(window->ListBox1->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          LineRect(*window, 0x7A0).center());
        QCOMPARE(window->cbWall->checkState(), Qt::PartiallyChecked);
        MenuAction(*window, QStringLiteral("&Flags Only"))->trigger();
        QCOMPARE(window->cbWall->checkState(), Qt::Checked);
    }

    // A tile edited to equal the other file loses its mark; undo brings it
    // back, and the current tile's box tells the other value meanwhile.
    void markFollowsEdits()
    {
        auto window = Open();
        CompareWith(*window, WriteOther([](std::vector<unsigned char> &Bytes) { ChangeWeight(Bytes, 4); }));
        ClickLine(*window, 4);
        const int theirs = Files->Writer.ReadRecord(4).Weight ^ 0x10;
        QVERIFY(window->edWeight->font().bold());
        QCOMPARE(window->edWeight->toolTip(), QStringLiteral("other.mul: %1").arg(theirs));
        QVERIFY(!window->edHue->font().bold());
        TypeInto(window->edWeight, QString::number(theirs));
        QTest::keyClick(window->edWeight, Qt::Key_Tab);
        QVERIFY(!Marked(*window, 4));
        QVERIFY(!window->edWeight->font().bold());
        QCOMPARE(Counts(*window), QStringLiteral("0 item tiles and 0 land tiles differ"));
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QVERIFY(!Marked(*window, 4));
        Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        QVERIFY(Marked(*window, 4));
        QCOMPARE(Counts(*window), QStringLiteral("1 item tile and 0 land tiles differ"));
    }

    void otherFileChangesOnDisk()
    {
        auto window = Open();
        const QString other = WriteOther([](std::vector<unsigned char> &Bytes) { ChangeWeight(Bytes, 4); });
        CompareWith(*window, other);
        auto *bar = window->findChild<TFileWatch *>();
        QVERIFY(!bar->isVisible());
        ChangeOnDisk(other, 9);
        QTRY_VERIFY(bar->isVisible());
        QCOMPARE(bar->Text->text(), QStringLiteral("other.mul, which this file is compared with, was changed by another program."));
        QVERIFY(!Marked(*window, 9));
        bar->ReloadButton->click();
        QVERIFY(!bar->isVisible());
        QVERIFY(Marked(*window, 4) && Marked(*window, 9));
        QCOMPARE(Status(*window), QStringLiteral("Read again other.mul: 2 item tiles and 0 land tiles differ"));
        QCOMPARE(bar->ReloadButton->text(), QStringLiteral("Reload"));
        // Comparing with another file takes back what the bar said of this one.
        ChangeOnDisk(other, 10);
        QTRY_VERIFY(bar->isVisible());
        CompareWith(*window, WriteOther([](std::vector<unsigned char> &) {}));
        QVERIFY(!bar->isVisible());
    }

    // Compared with itself, the file saved here is no other program's change:
    // it is read again, and nothing differs any more.
    void comparedWithItselfAndSaved()
    {
        auto window = Open();
        CompareWith(*window, Files->Path());
        ClickLine(*window, 4);
        QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QVERIFY(Marked(*window, 4));
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QTest::qWait(200);
        QVERIFY(!window->findChild<TFileWatch *>()->isVisible());
        QCOMPARE(Counts(*window), QStringLiteral("0 item tiles and 0 land tiles differ"));
    }

    // A file of the same name is told by its folder.
    void sameNameInAnotherFolder()
    {
        auto window = Open();
        QVERIFY(QDir(Files->Folder()).mkdir(QStringLiteral("backup")));
        const QString other = Files->Folder() + QStringLiteral("/backup/tiledata.mul");
        TestFiles::WriteBytes(other, Files->Writer.Bytes());
        CompareWith(*window, other);
        QCOMPARE(Status(*window),
                 QStringLiteral("Comparing with tiledata.mul in backup: 0 item tiles and 0 land tiles differ"));
        ClickLine(*window, 4);
        QVERIFY(Panel(*window).startsWith(QStringLiteral("tiledata.mul in backup: ")));
        Shortcut(*window, Qt::CTRL | Qt::SHIFT | Qt::Key_T);
        QCOMPARE(Status(*window), QStringLiteral("Took 1 tile from tiledata.mul in backup"));
    }

    // Tiles beyond a short file's end are not compared, however they read.
    void aShortFileComparesWhatBothHold()
    {
        const QString other = WriteOther([](std::vector<unsigned char> &) {});
        Files->Writer.Bytes().resize(500000); // tiles 0 to 0x791 whole
        auto window = Open();
        CompareWith(*window, other);
        QCOMPARE(Counts(*window), QStringLiteral("0 item tiles and 0 land tiles differ"));
        QVERIFY(Status(*window).endsWith(QStringLiteral("; not compared, beyond the end of this file or other.mul: ")
                                         + QLocale(QLocale::English).toString(window->TileData()->ItemCount() - 0x792)
                                         + QStringLiteral(" item tiles")));
        Shortcut(*window, Qt::Key_F8);
        QCOMPARE(Status(*window), QStringLiteral("No tile of the list shown differs from other.mul"));
        QCOMPARE(Panel(*window), QString());
        ClickLine(*window, 0x792);
        QCOMPARE(Panel(*window), QStringLiteral("0x792 lies beyond the end of this file"));
    }

    // Other has Wall on 1 and 2, this file has not: every edit, undo or take
    // of both tiles leaves both marks and the count right.
    void marksFollowAnEditOfSeveralTiles()
    {
        for (const int tile : {1, 2}) {
            TileDataWriter::Record record = Files->Writer.ReadRecord(tile);
            record.Flags &= ~Wall;
            Files->Writer.SetRecord(tile, record);
        }
        auto window = Open();
        CompareWith(*window, WriteOther([](std::vector<unsigned char> &Bytes) {
            for (const int tile : {1, 2})
                Bytes[TileDataWriter::OffsetOf(tile)] |= Wall;
        }));
        SelectRange(*window, 1, 2);
        QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        const QString none = QStringLiteral("0 item tiles and 0 land tiles differ");
        const QString both = QStringLiteral("2 item tiles and 0 land tiles differ");
        const std::pair<QKeyCombination, QString> steps[] = {
            {Qt::CTRL | Qt::Key_Z, both}, {Qt::CTRL | Qt::SHIFT | Qt::Key_T, none}, {Qt::CTRL | Qt::Key_Z, both}};
        QCOMPARE(Counts(*window), none);
        QVERIFY(!Marked(*window, 2));
        for (const auto &[keys, counts] : steps) {
            SelectRange(*window, 1, 2);
            Shortcut(*window, keys);
            QCOMPARE(Counts(*window), counts);
            QCOMPARE(Marked(*window, 2), counts == both);
        }
    }

    void aDifferingFlagPointsToTheOtherFile_data()
    {
        QTest::addColumn<bool>("theirs");
        QTest::newRow("set there") << true;
        QTest::newRow("clear there") << false;
    }

    void aDifferingFlagPointsToTheOtherFile()
    {
        QFETCH(bool, theirs);
        TileDataWriter::Record record = Files->Writer.ReadRecord(0x1A);
        record.Flags = theirs ? record.Flags & ~Wall : record.Flags | Wall;
        Files->Writer.SetRecord(0x1A, record);
        auto window = Open();
        CompareWith(*window, WriteOther([](std::vector<unsigned char> &Bytes) {
            Bytes[TileDataWriter::OffsetOf(0x1A)] ^= Wall;
        }));
        ClickLine(*window, 0x1A);
        QVERIFY(Panel(*window).endsWith((theirs ? QStringLiteral("flags +") : QStringLiteral("flags \u2212")) + "Wall"));
        QCOMPARE(window->cbWall->toolTip(), theirs ? QStringLiteral("other.mul: set") : QStringLiteral("other.mul: clear"));
    }

    void everyTileShowsWithTheSwitchOff_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Show Every Tile") << "&Show Every Tile";
        QTest::newRow("Reload") << "&Reload";
        QTest::newRow("Open") << "&Open...";
    }

    void everyTileShowsWithTheSwitchOff()
    {
        QFETCH(QString, way);
        auto window = Open();
        CompareWith(*window, WriteOther([](std::vector<unsigned char> &Bytes) { ChangeWeight(Bytes, 4); }));
        auto *only = window->findChild<QToolButton *>(QStringLiteral("DifferencesOnly"));
        only->click();
        QCOMPARE(ListCount(*window), 1);
        if (way == QLatin1String("&Open..."))
            Answers->Then(ChooseFile(Files->Path()));
        MenuAction(*window, way)->trigger();
        QVERIFY(!only->isChecked());
        QCOMPARE(ListCount(*window), window->TileData()->ItemCount());
    }

    // The error box says why; the comparison running before goes on, and
    // the edited file is as it was.
    void unreadableComparisonFile()
    {
        auto window = Open();
        CompareWith(*window, WriteOther([](std::vector<unsigned char> &Bytes) { ChangeWeight(Bytes, 4); }));
        const QString path = QDir::toNativeSeparators(Files->Folder() + QStringLiteral("/missing.mul"));
        Answers->Then(ChooseFile(path));
        MenuAction(*window, QStringLiteral("Compare &With..."))->trigger();
        QCOMPARE(Answers->Boxes.size(), 1);
        QCOMPARE(Answers->Boxes.front().Text,
                 TestFiles::CannotOpenText(path, TestFiles::OpenFailureReason(TestFiles::OpenFailure::NoFile)) + '.');
        QVERIFY(Marked(*window, 4));
        QCOMPARE(Counts(*window), QStringLiteral("1 item tile and 0 land tiles differ"));
        QVERIFY(!window->Document->IsModified());
        QVERIFY(TestFiles::ReadBytes(Files->Path()) == Files->Writer.Bytes());
        Answers->Boxes.clear();
    }

    // A classic file against a newer one: the status says how the flags
    // compare, and a newer record whose bits 32 to 63 are set is refused.
    void acrossLayouts()
    {
        LayoutTileWriter newer = LayoutTileWriter::Newer(3, 5);
        for (int tile = 0; tile < newer.Items(); ++tile) {
            const TileDataWriter::Record ours = Files->Writer.ReadRecord(tile);
            LayoutTileWriter::Item item{ours.Flags,    ours.Weight, ours.Quality,  ours.Unknown0, ours.Unknown1,
                                        ours.Quantity, ours.Anim,   ours.Unknown2, ours.Hue,      ours.Unknown3,
                                        ours.Unknown4, ours.Height, ours.Name};
            if (tile == 1 || tile == 2)
                item.Flags |= std::uint64_t(1) << 40;
            newer.SetItem(tile, item);
            newer.SetRawItemName(tile, std::string(reinterpret_cast<const char *>(Files->Writer.Bytes().data())
                                                       + TileDataWriter::OffsetOf(tile) + NameAt,
                                                   20));
        }
        const QString other = Files->Folder() + QStringLiteral("/newer.mul");
        newer.WriteTo(other);
        auto window = Open();
        CompareWith(*window, other);
        QVERIFY(Status(*window).endsWith(
            QStringLiteral("; compared with a newer file: bits 32-63 count as clear in this classic file")));
        QVERIFY(Counts(*window).startsWith(QStringLiteral("2 item tiles and ")));
        SelectRange(*window, 0, 2);
        Shortcut(*window, Qt::CTRL | Qt::SHIFT | Qt::Key_T);
        QCOMPARE(Answers->Boxes.size(), 1);
        QCOMPARE(Answers->Boxes.front().Text,
                 QStringLiteral("0x1, 0x2 have flags 32 to 63 set in newer.mul, which this classic file cannot hold; "
                                "nothing was taken."));
        QVERIFY(!window->Document->IsModified());
        Answers->Boxes.clear();
        // The newer file ends at tile 0x5F: tiles beyond it are left alone.
        SelectRange(*window, 0x5E, 0x60);
        Shortcut(*window, Qt::CTRL | Qt::SHIFT | Qt::Key_T);
        QCOMPARE(Status(*window),
                 QStringLiteral("Took 2 tiles from newer.mul; 1 tile beyond the end of this file or newer.mul was left alone: 0x60"));
    }
};

QTEST_MAIN(CompareTest)
#include "tst_compare.moc"
