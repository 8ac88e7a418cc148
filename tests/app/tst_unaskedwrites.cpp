// The window writes nothing the user did not ask for, and takes no edit it
// cannot write: tiles beyond a short file's end, names the code page cannot
// hold; and its messages say what is true now.

#include "app/form/Unit1.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/TestFiles.h"
#include "tiledata/TileDataReader.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {

constexpr std::uint32_t Wall = 0x10;

// Another program writes the file: Change gets its bytes.
void ChangeElsewhere(const QString &Path, const std::function<void(TileDataWriter &)> &Change)
{
    TileDataWriter file;
    file.Bytes() = TestFiles::ReadBytes(Path);
    Change(file);
    TestFiles::WriteBytes(Path, file.Bytes());
}

} // namespace

class UnaskedWritesTest : public WindowTest
{
    Q_OBJECT

private slots:
    void tilesBeyondTheEndTakeNoEdit_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("way");
        QTest::newRow("go to") << 500000 << "go to";
        QTest::newRow("Down from the last whole tile") << 500000 << "keys";
        QTest::newRow("empty file, after a save") << 0 << "save";
    }

    // 500,000 bytes hold tiles 0 to 0x791 whole.
    void tilesBeyondTheEndTakeNoEdit()
    {
        QFETCH(int, size);
        QFETCH(QString, way);
        Files->Writer.Bytes().resize(std::size_t(size));
        auto window = OpenShort();
        if (way == QLatin1String("go to")) {
            Answers->Then(Type(QStringLiteral("900")));
            Shortcut(*window, Qt::CTRL | Qt::Key_G);
        } else if (way == QLatin1String("keys")) {
            ClickLine(*window, 0x791);
            QTest::keyClick(window->ListBox1, Qt::Key_Down);
        } else {
            ClickLine(*window, 5);
            QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        }
        QVERIFY(SelectedRow(*window) >= 0);
        QVERIFY(!window->Edit1->isEnabled() && !window->edWeight->isEnabled() && !window->cbWall->isEnabled());
        QVERIFY(!window->TileData()->IsModified());
    }

    void namesTheCodePageCannotHoldAreRefused_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("rename") << false;
        QTest::newRow("Global Replace") << true;
    }

    void namesTheCodePageCannotHoldAreRefused()
    {
        QFETCH(bool, replace);
        auto window = Open();
        ClickLine(*window, 0x1D);
        const QString name = QStringLiteral("Wall \u03A9\u03BC\u03A9");
        if (replace) {
            window->Edit2->setText(name);
            QTest::mouseClick(window->Button1, Qt::LeftButton);
        } else {
            window->Edit1->setText(name);
            QTest::keyClick(window->Edit1, Qt::Key_Return);
        }
        QCOMPARE(Answers->Boxes.size(), 1);
        QCOMPARE(Answers->Boxes[0].Text, QStringLiteral("\"Wall \u03A9\u03BC\u03A9\": \u03A9 (U+03A9) and \u03BC (U+03BC) "
                                                        "are not Windows-1252 characters."));
        QVERIFY(!window->TileData()->IsModified());
        QVERIFY(!window->StatusBar1->currentMessage().startsWith(QLatin1String("updated")));
    }

    void aMessageGoesWhenItNoLongerHolds()
    {
        auto window = OpenWindow(*Answers, QString());
        Answers->Then(Type(QStringLiteral("5")));
        Shortcut(*window, Qt::CTRL | Qt::Key_G);
        QCOMPARE(window->StatusBar1->currentMessage(), QStringLiteral("No tile 0x5: no file is loaded"));
        Files->Write();
        Answers->Then(ChooseFile(Files->Path()));
        Shortcut(*window, Qt::CTRL | Qt::Key_O);
        QCOMPARE(window->StatusBar1->currentMessage(), QString());
        Answers->Then(Type(QStringLiteral("zzz")));
        Shortcut(*window, Qt::CTRL | Qt::Key_G);
        QCOMPARE(window->StatusBar1->currentMessage(), QStringLiteral("Not a tile index: zzz"));
        Answers->Then(Type(QStringLiteral("1A")));
        Shortcut(*window, Qt::CTRL | Qt::Key_G);
        QCOMPARE(window->StatusBar1->currentMessage(), QString());
    }

    // Open starts beside the open file, and a completion list shown while a
    // path was typed goes with the dialog.
    void openLeavesNoCompletionBehind()
    {
        auto window = Open();
        TileFolder other(5);
        other.Write();
        QString folder;
        QAbstractItemView *popup = nullptr;
        Answers->Then([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            folder = dialog->directory().absolutePath();
            popup = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->completer()->popup();
            ChooseFile(other.Path())(modal);
        });
        Shortcut(*window, Qt::CTRL | Qt::Key_O);
        QCOMPARE(folder, QFileInfo(Files->Path()).absolutePath());
        QCOMPARE(window->TileData()->GetFileName(), QDir::toNativeSeparators(other.Path()));
        // The list, filled as the folder is read, shows up late.
        popup->show();
        QTRY_VERIFY(!popup->isVisible());
    }

    void undoAfterAMergeKeepsWhatAnotherProgramChanged_data()
    {
        QTest::addColumn<bool>("paste");
        QTest::newRow("a flag") << false;
        QTest::newRow("a paste of weights") << true;
    }

    // Undo puts back the fields its step changed, and only those.
    void undoAfterAMergeKeepsWhatAnotherProgramChanged()
    {
        QFETCH(bool, paste);
        TileDataWriter::Record brick{Wall, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "brick wall"};
        Files->Writer.SetRecord(0x50, brick);
        auto window = Open();
        ClickLine(*window, 0x50);
        if (paste) {
            QApplication::clipboard()->setText(QStringLiteral("weight\n9\n"));
            Shortcut(*window, Qt::CTRL | Qt::Key_V);
        } else {
            QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        }
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        ChangeElsewhere(Files->Path(), [](TileDataWriter &File) {
            TileDataWriter::Record record = File.ReadRecord(0x50);
            record.Quality = 7;
            record.Name = "EXT";
            File.SetRecord(0x50, record);
        });
        ClickLine(*window, 0x51);
        QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QStringList asked;
        Answers->Then(Press(QStringLiteral("Overwrite"), &asked));
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        const TileDataWriter::Record saved = Files->SavedRecord(0x50);
        QCOMPARE(saved.Name, std::string("EXT"));
        QCOMPARE(int(saved.Quality), 7);
        QCOMPARE(saved.Flags, Wall);
        QCOMPARE(int(saved.Weight), 3);
    }

    void everyWayToATileAnchorsShiftSelection_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("go to") << "go to";
        QTest::newRow("find") << "find";
        QTest::newRow("undo") << "undo";
        QTest::newRow("a paste") << "paste";
    }

    // From 0x19B, Shift+Down selects 0x19B and 0x19C, whatever was clicked before.
    void everyWayToATileAnchorsShiftSelection()
    {
        QFETCH(QString, way);
        TileDataWriter::Record marked = Files->Writer.ReadRecord(0x19B);
        marked.Name = "marker";
        Files->Writer.SetRecord(0x19B, marked);
        auto window = Open();
        if (way == QLatin1String("undo")) {
            ClickLine(*window, 0x19B);
            QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        }
        ClickLine(*window, 0x173);
        if (way == QLatin1String("go to")) {
            Answers->Then(Type(QStringLiteral("19B")));
            Shortcut(*window, Qt::CTRL | Qt::Key_G);
        } else if (way == QLatin1String("find")) {
            Answers->Then(Type(QStringLiteral("marker")));
            Shortcut(*window, Qt::CTRL | Qt::Key_F);
        } else if (way == QLatin1String("undo")) {
            Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        } else {
            QApplication::clipboard()->setText(QStringLiteral("index\tweight\n0x19B\t9\n"));
            Shortcut(*window, Qt::CTRL | Qt::Key_V);
        }
        QCOMPARE(SelectedRow(*window), 0x19B);
        QTest::keyClick(window->ListBox1, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(window->ListBox1->selectionModel()->selectedRows().size(), 2);
    }

    // The first key typed on the list starts the new name.
    void typingOnTheListGoesIntoTheRenameBox()
    {
        auto window = Open();
        ClickLine(*window, 5);
        QTest::keyClicks(window->ListBox1, QStringLiteral("abc"));
        QCOMPARE(window->Edit1->text(), QString::fromStdString(DefaultName(5)) + QStringLiteral("abc"));
    }
};

QTEST_MAIN(UnaskedWritesTest)
#include "tst_unaskedwrites.moc"
