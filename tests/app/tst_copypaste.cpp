// Copy and paste of tiles in the tool's columns: a copy pasted into another
// file's window does what quorvane-tool apply does with the same text, and
// text with a faulty line changes nothing.

#include "app/document/TileDocument.h"
#include "app/form/Unit1.h"
#include "cli/QuorvaneTool.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/TestFiles.h"
#include "tiledata/TileDataReader.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {

QString UndoText(const TForm1 &Window)
{
    return Window.findChild<QAction *>(QStringLiteral("UndoAction"))->text();
}

} // namespace

class CopyPasteTest : public WindowTest
{
    Q_OBJECT

private slots:
    void aCopyPastesAsApplyWouldApplyIt_data()
    {
        QTest::addColumn<bool>("land");
        QTest::newRow("items") << false;
        QTest::newRow("land") << true;
    }

    void aCopyPastesAsApplyWouldApplyIt()
    {
        QFETCH(bool, land);
        QString copied;
        {
            auto window = Open();
            if (land)
                Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
            SelectRange(*window, 3, 7);
            Shortcut(*window, Qt::CTRL | Qt::Key_C);
            copied = QApplication::clipboard()->text();
            QCOMPARE(window->StatusBar1->currentMessage(), QStringLiteral("Copied 5 tiles"));
        }
        QVERIFY(copied.startsWith(QStringLiteral("index\tflags\t")));
        QVERIFY(copied.endsWith(QStringLiteral("\tclassic\n")));

        TileFolder other(9);
        other.Write();
        TileFolder byTool(9);
        byTool.Write();
        QFile edits(byTool.Folder() + QStringLiteral("/edits.tsv"));
        QVERIFY(edits.open(QIODevice::WriteOnly));
        edits.write(copied.toUtf8());
        edits.close();
        std::vector<std::string> apply{"apply", byTool.Path().toStdString(), edits.fileName().toStdString()};
        if (land)
            apply.push_back("--land");
        QCOMPARE(RunQuorvaneTool(apply).Status, 0);

        auto window = OpenWindow(*Answers, other.Path());
        if (land)
            Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
        ClickLine(*window, 0);
        Shortcut(*window, Qt::CTRL | Qt::Key_V);
        QCOMPARE(UndoText(*window), QStringLiteral("Undo Paste 5 tiles"));
        QCOMPARE(window->Document->SelectedTiles(), std::vector<int>({3, 4, 5, 6, 7}));
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QVERIFY(TestFiles::ReadBytes(other.Path()) == TestFiles::ReadBytes(byTool.Path()));
        Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QVERIFY(TestFiles::ReadBytes(other.Path()) == other.Writer.Bytes());
    }

    // One line without an index goes into every selected tile; a faulty
    // line anywhere refuses the text whole, with the tool's message.
    void pastedTextIsReadWholeFirst_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("one line for the selection") << "weight\tname\n9\twall\n" << QString();
        QTest::newRow("a cell out of range")
            << "index\tweight\tname\n0x3\t9\twall\n0x4\t300\twall\n" << "clipboard:3: weight: 300 is out of range 0-255.";
        QTest::newRow("two lines without an index")
            << "weight\n9\n8\n" << "clipboard:3: there is no index column, so only one line may follow the header.";
        QTest::newRow("not tile text") << "hello\n" << "clipboard:1: \"hello\" is not a column of the dump.";
        QTest::newRow("a copy from a newer file")
            << "index\tflags\tlayout\n0x3\t0000002000000010\tnewer\n"
            << "clipboard:2: layout: this is a dump of a newer file (64-bit flags); it cannot be applied to a classic "
               "file (32-bit flags)";
    }

    void pastedTextIsReadWholeFirst()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        auto window = Open();
        SelectRange(*window, 3, 5);
        QApplication::clipboard()->setText(text);
        Shortcut(*window, Qt::CTRL | Qt::Key_V);
        QCOMPARE(Answers->Boxes.size(), error.isEmpty() ? 0 : 1);
        for (int tile = 3; tile <= 5; ++tile) {
            const TileDataWriter::Record before = Files->Writer.ReadRecord(tile);
            QCOMPARE(window->TileData()->GetWeight(tile), error.isEmpty() ? 9 : int(before.Weight));
            QCOMPARE(window->TileData()->GetFlags(tile), std::uint64_t(before.Flags));
        }
        if (!error.isEmpty())
            QCOMPARE(Answers->Boxes[0].Text, error);
        else
            QCOMPARE(UndoText(*window), QStringLiteral("Undo Paste 3 tiles"));
    }

    // 500,000 bytes hold tiles 0 to 0x791 whole.
    void aPasteBeyondTheEndEditsWhatTheFileHolds()
    {
        Files->Writer.Bytes().resize(500000);
        auto window = OpenShort();
        const QByteArray beyond = window->TileData()->GetRecordBytes(TTileKind::Item, 0x792);
        QApplication::clipboard()->setText(QStringLiteral("index\tweight\n0x790\t9\n0x792\t9\n"));
        Shortcut(*window, Qt::CTRL | Qt::Key_V);
        QCOMPARE(window->StatusBar1->currentMessage(),
                 QStringLiteral("1 tile changed; 1 beyond the file's end was left alone"));
        QCOMPARE(window->TileData()->GetWeight(0x790), 9);
        QCOMPARE(window->TileData()->GetRecordBytes(TTileKind::Item, 0x792), beyond);
    }

    void theBoxesKeepTheirOwnCopyAndPaste()
    {
        auto window = Open();
        ClickLine(*window, 3);
        TypeInto(window->edWeight, QStringLiteral("42"));
        window->edWeight->selectAll();
        QTest::keyClick(window->edWeight, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("42"));
        QTest::keyClick(window->edWeight, Qt::Key_End);
        QTest::keyClick(window->edWeight, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window->edWeight->text(), QStringLiteral("4242"));
        QVERIFY(!window->Document->IsModified());
    }
};

QTEST_MAIN(CopyPasteTest)
#include "tst_copypaste.moc"
