// The window as a day-long tool: undo and redo, go to, the filter, Open,
// Save As, a dropped file and the bar for a file changed by another program.

#include "app/document/FileWatch.h"
#include "app/form/Unit1.h"
#include "app/list/FilterBar.h"
#include "app/list/TileListModel.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/TestFiles.h"
#include "tiledata/TileDataReader.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QMenu>
#include <QToolButton>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QUrl>

namespace {

TileDataWriter::Record Named(const std::string &Name, std::uint32_t Flags = 0)
{
    TileDataWriter::Record record;
    record.Name = Name;
    record.Flags = Flags;
    return record;
}

constexpr std::uint32_t Wall = 0x10;
constexpr std::uint32_t Impassable = 0x40;

QString Status(const TForm1 &Window)
{
    return Window.StatusBar1->currentMessage();
}

QAction *Action(const TForm1 &Window, const char *Name)
{
    return Window.findChild<QAction *>(QLatin1String(Name));
}

// Runs a shell command as another program would, with the file as $1.
void RunOther(const QString &Command, const QString &Path)
{
    QProcess other;
    other.start(QStringLiteral("sh"), {QStringLiteral("-c"), Command, QStringLiteral("sh"), Path});
    QVERIFY(other.waitForFinished(10000));
    QCOMPARE(other.exitCode(), 0);
}

} // namespace

class EditorToolsTest : public WindowTest
{
    Q_OBJECT

private slots:
    // -- undo and redo -------------------------------------------------------

    void undoAndRedoEachKindOfStep_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("undoText");
        QTest::newRow("flag") << "flag" << "Undo Set Wall 0x1A";
        QTest::newRow("number") << "number" << "Undo Weight 0x1A";
        QTest::newRow("rename") << "rename" << "Undo Rename 0x1A";
        QTest::newRow("global replace") << "replace" << "Undo Replace Rock";
    }

    void undoAndRedoEachKindOfStep()
    {
        QFETCH(QString, kind);
        QFETCH(QString, undoText);
        Files->Writer.SetRecord(0x1A, Named("Rock"));
        Files->Writer.SetRecord(0x30, Named("rock"));
        auto window = Open();
        ClickLine(*window, 0x1A);
        const QByteArray before = window->TileData()->GetRecordBytes(TTileKind::Item, 0x1A);
        if (kind == QLatin1String("flag")) {
            QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        } else if (kind == QLatin1String("number")) {
            TypeInto(window->edWeight, QStringLiteral("99"));
            QTest::keyClick(window->edWeight, Qt::Key_Return);
        } else if (kind == QLatin1String("rename")) {
            TypeInto(window->Edit1, QStringLiteral("Stone"));
            QTest::keyClick(window->Edit1, Qt::Key_Return);
        } else {
            TypeInto(window->Edit2, QStringLiteral("Pebble"));
            QTest::mouseClick(window->Button1, Qt::LeftButton);
            QCOMPARE(window->TileData()->GetName(0x30), QStringLiteral("Pebble"));
        }
        const QByteArray after = window->TileData()->GetRecordBytes(TTileKind::Item, 0x1A);
        QVERIFY(after != before);
        QCOMPARE(Action(*window, "UndoAction")->text(), undoText);

        ClickLine(*window, 3); // undo goes back to the changed tile
        Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        QCOMPARE(window->TileData()->GetRecordBytes(TTileKind::Item, 0x1A), before);
        QCOMPARE(window->TileData()->GetName(0x30), QStringLiteral("rock")); // a replace is one step
        QCOMPARE(SelectedRow(*window), 0x1A);
        QCOMPARE(window->Edit1->text(), QStringLiteral("Rock"));
        QCOMPARE(ListLine(*window, 0x1A), QStringLiteral("0x1A - Rock"));
        QVERIFY(!window->TileData()->IsModified());

        for (const QKeyCombination redo : {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}) {
            Shortcut(*window, redo);
            QCOMPARE(window->TileData()->GetRecordBytes(TTileKind::Item, 0x1A), after);
            Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        }
        // Back at the bytes on disk: closing asks nothing.
        window->close();
        QVERIFY(!window->isVisible());
        QVERIFY(Answers->Boxes.isEmpty());
    }

    void theHistorySurvivesASave()
    {
        auto window = Open();
        ClickLine(*window, 7);
        QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QVERIFY(!window->TileData()->IsModified());
        Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        QVERIFY(window->TileData()->IsModified());
        QVERIFY(!Action(*window, "UndoAction")->isEnabled()); // the save was no step
        QStringList seen;
        Answers->Then(Press(QStringLiteral("Discard"), &seen));
        window->close();
        QCOMPARE(seen.value(0), QStringLiteral("Save changes to tiledata.mul?"));
    }

    // -- go to ---------------------------------------------------------------

    void goToTile_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("tile"); // -1: a message instead
        QTest::addColumn<QString>("message");
        QTest::newRow("hex") << "1A" << 0x1A << QString();
        QTest::newRow("0x hex") << "0x3ffe" << 0x3FFE << QString();
        QTest::newRow("decimal") << "#26" << 26 << QString();
        QTest::newRow("past the last tile") << "3FFF" << -1 << "No tile 0x3FFF: the tiles are 0x0 to 0x3FFE";
        QTest::newRow("no number") << "#1A" << -1 << "Not a tile index: #1A";
        QTest::newRow("negative") << "-1" << -1 << "Not a tile index: -1";
    }

    void goToTile()
    {
        QFETCH(QString, typed);
        QFETCH(int, tile);
        QFETCH(QString, message);
        auto window = Open();
        ClickLine(*window, 5);
        Answers->Then(Type(typed));
        Shortcut(*window, Qt::CTRL | Qt::Key_G);
        if (tile < 0) {
            QCOMPARE(Status(*window), message);
            QCOMPARE(SelectedRow(*window), 5);
            return;
        }
        QCOMPARE(SelectedRow(*window), tile);
        QCOMPARE(window->Edit1->text(), QString::fromStdString(DefaultName(tile)));
        QVERIFY(window->ListBox1->viewport()->rect().contains(LineRect(*window, tile)));
    }

    // -- the filter ----------------------------------------------------------

    void filterByNameAndFlagsReachesTheRightTile()
    {
        Files->Writer.SetRecord(100, Named("Stonewall", Wall | Impassable));
        Files->Writer.SetRecord(200, Named("stone", Impassable));
        Files->Writer.SetRecord(300, Named("STONE", Wall));
        auto window = Open();
        auto *filter = window->findChild<TFilterBar *>();
        Shortcut(*window, Qt::CTRL | Qt::Key_L);
        QCOMPARE(FocusName(), QStringLiteral("FilterBox"));
        QTest::keyClicks(filter->Box, QStringLiteral("sTone"));
        QCOMPARE(ListCount(*window), 3);
        QCOMPARE(ListLine(*window, 1), QStringLiteral("0xC8 - stone"));
        QCOMPARE(Status(*window), QStringLiteral("3 tiles match"));

        // Impassable set, Wall clear: the entries step any, set, clear.
        const QList<QAction *> flags = filter->FlagsButton->menu()->actions();
        flags[6]->trigger();
        flags[4]->trigger();
        flags[4]->trigger();
        QCOMPARE(ListCount(*window), 1);
        QCOMPARE(Status(*window), QStringLiteral("1 tile matches"));
        QCOMPARE(filter->FlagsButton->toolTip(), QStringLiteral("Wall clear, Impassable set"));

        ClickLine(*window, 0);
        QCOMPARE(window->Edit1->text(), QStringLiteral("stone"));
        TypeInto(window->edWeight, QStringLiteral("42"));
        TypeInto(window->Edit1, QStringLiteral("slate"));
        QTest::keyClick(window->Edit1, Qt::Key_Return);
        QCOMPARE(window->TileData()->GetWeight(200), 42);
        QCOMPARE(window->TileData()->GetName(200), QStringLiteral("slate"));
        QCOMPARE(window->TileData()->GetName(0), QStringLiteral("n0"));

        TypeInto(window->Edit2, QStringLiteral("pebble"));
        QTest::mouseClick(window->Button1, Qt::LeftButton);
        QCOMPARE(Status(*window), QStringLiteral("Replaced stone with pebble in all tiles, shown or not"));
        QCOMPARE(window->TileData()->GetName(300), QStringLiteral("pebble"));

        // Cleared, the list shows every tile with the selected one in view.
        Shortcut(*window, Qt::CTRL | Qt::SHIFT | Qt::Key_L);
        QCOMPARE(ListCount(*window), TileCount);
        QCOMPARE(SelectedRow(*window), 200);
        QVERIFY(window->ListBox1->viewport()->rect().contains(LineRect(*window, 200)));
    }

    // -- open, save as, drop -------------------------------------------------

    void openAsksTheCloseQuestionFirst_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("Save") << "Save";
        QTest::newRow("Discard") << "Discard";
        QTest::newRow("Cancel") << "Cancel";
        QTest::newRow("dropped, Discard") << "drop Discard";
        QTest::newRow("dropped, no edits") << "drop";
    }

    void openAsksTheCloseQuestionFirst()
    {
        QFETCH(QString, answer);
        const bool dropped = answer.startsWith(QLatin1String("drop"));
        const QString button = answer.section(QLatin1Char(' '), dropped ? 1 : 0);
        auto window = Open();
        TileFolder other(99);
        other.Writer.SetRecord(0, Named("other"));
        other.Write();
        ClickLine(*window, 5);
        if (!button.isEmpty())
            QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QStringList seen;
        if (!button.isEmpty())
            Answers->Then(Press(button, &seen));
        if (dropped) {
            DropFile(*window, other.Path());
        } else {
            Answers->Then(ChooseFile(other.Path()));
            Shortcut(*window, Qt::CTRL | Qt::Key_O);
        }
        QCOMPARE(seen.value(0), button.isEmpty() ? QString() : QStringLiteral("Save changes to tiledata.mul?"));
        QCOMPARE(Files->SavedRecord(5).Flags == Files->Writer.ReadRecord(5).Flags, button != QLatin1String("Save"));
        if (button == QLatin1String("Cancel")) {
            QCOMPARE(window->TileData()->GetFileName(), QDir::toNativeSeparators(Files->Path()));
            QVERIFY(window->TileData()->IsModified());
            return;
        }
        QCOMPARE(window->TileData()->GetFileName(), QDir::toNativeSeparators(other.Path()));
        QCOMPARE(ListLine(*window, 0), QStringLiteral("0x0 - other"));
        QCOMPARE(SelectedRow(*window), -1);
        QVERIFY(!Action(*window, "UndoAction")->isEnabled());
    }

    void saveAsWritesACopyAndEditsIt()
    {
        auto window = Open();
        const std::vector<unsigned char> original = TestFiles::ReadBytes(Files->Path());
        ClickLine(*window, 9);
        TypeInto(window->Edit1, QStringLiteral("copied"));
        QTest::keyClick(window->Edit1, Qt::Key_Return);
        const QString copy = Files->Folder() + QStringLiteral("/copy.mul");
        Answers->Then(ChooseFile(copy));
        Shortcut(*window, Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QCOMPARE(window->TileData()->GetFileName(), QDir::toNativeSeparators(copy));
        QVERIFY(!window->TileData()->IsModified());
        QVERIFY(TestFiles::ReadBytes(Files->Path()) == original);
        std::vector<unsigned char> expected = original;
        TileDataWriter edited(0, 0);
        edited.Bytes() = original;
        TileDataWriter::Record record = edited.ReadRecord(9);
        record.Name = "copied";
        edited.SetRecord(9, record);
        QVERIFY(TestFiles::ReadBytes(copy) == edited.Bytes());
        QCOMPARE(QDir(Files->Folder()).entryList(QDir::Files).size(), 2); // no temporary left
        // Undo reaches the copy, which now is the window's file.
        Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        QVERIFY(window->TileData()->IsModified());
    }

    // -- a file changed by another program -----------------------------------

    void theBarOffersToReload_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<bool>("byRename");
        QTest::newRow("no edits") << false << false;
        QTest::newRow("unsaved edits") << true << false;
        QTest::newRow("replaced by rename") << false << true;
    }

    void theBarOffersToReload()
    {
#ifdef _WIN32
        QSKIP("the other program is a POSIX shell");
#endif
        QFETCH(bool, edited);
        QFETCH(bool, byRename);
        auto window = Open();
        auto *bar = window->findChild<TFileWatch *>();
        ClickLine(*window, 0);
        // The window's own save is no change by another program.
        QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QTest::qWait(200);
        QVERIFY(!bar->isVisible());
        if (edited)
            QTest::mouseClick(window->cbDoor, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        // The other program writes the file over, or writes a new one and
        // renames it over the old.
        TileFolder changed(3);
        changed.Writer.SetRecord(0, Named("XY"));
        const QString next = Files->Path() + QStringLiteral(".next");
        changed.Writer.WriteTo(next);
        const QString change = byRename ? QStringLiteral("cp \"$1.next\" \"$1.new\" && mv \"$1.new\" \"$1\"")
                                        : QStringLiteral("cat \"$1.next\" > \"$1\"");
        RunOther(change, Files->Path());
        QTRY_VERIFY(bar->isVisible());
        const int top = MenuHeight(*window);
        QCOMPARE(bar->geometry().top(), top);
        QCOMPARE(window->GroupBox3->y(), top + bar->height() + 8); // the form moved below the bar
        QCOMPARE(bar->Text->text(), edited ? QStringLiteral("tiledata.mul was changed by another program. Your edits "
                                                            "are not saved: Save will ask before overwriting it.")
                                           : QStringLiteral("tiledata.mul was changed by another program."));
        QCOMPARE(bar->ReloadButton->text(), QStringLiteral("Reload"));
        QStringList seen;
        if (edited)
            Answers->Then(Press(QStringLiteral("Discard"), &seen));
        bar->ReloadButton->click();
        QCOMPARE(seen.value(0), edited ? QStringLiteral("Discard your changes to tiledata.mul and load it again?")
                                       : QString());
        QVERIFY(!bar->isVisible());
        QCOMPARE(window->GroupBox3->y(), top + 8);
        QVERIFY(window->TileData()->GetName(0).startsWith(QStringLiteral("XY")));
        QCOMPARE(SelectedRow(*window), 0); // a reload keeps the selected tile
        // The watch goes on after a reload, and after a rename.
        changed.Writer.SetRecord(0, Named("again"));
        changed.Writer.WriteTo(next);
        RunOther(QStringLiteral("cat \"$1.next\" > \"$1\""), Files->Path());
        QTRY_VERIFY(bar->isVisible());
    }
};

QTEST_MAIN(EditorToolsTest)
#include "tst_editortools.moc"
