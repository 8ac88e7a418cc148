// Naming, finding, saving and reloading through the main window.

#include "app/form/Unit1.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/TestFiles.h"
#include "tiledata/TileDataReader.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

namespace {

TileDataWriter::Record Named(const std::string &name)
{
    TileDataWriter::Record record;
    record.Name = name;
    return record;
}

// Answers the Find dialog with Text, or cancels it; Seen receives what the
// dialog showed.
std::function<void(QWidget *)> FindAnswer(const QString &Text, bool Accept, QStringList *Seen = nullptr)
{
    return [=](QWidget *modal) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        if (Seen)
            *Seen << dialog->windowTitle() << dialog->labelText() << dialog->okButtonText()
                  << dialog->cancelButtonText() << dialog->textValue();
        dialog->setTextValue(Text);
        if (Accept)
            dialog->accept();
        else
            dialog->reject();
    };
}

} // namespace

class EditingTest : public WindowTest
{
    Q_OBJECT

private:
    QString Status(const TForm1 &window) const { return window.StatusBar1->currentMessage(); }

private slots:
    // -- rename ------------------------------------------------------------

    void renameByEnterOrButton_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::addColumn<QString>("typed");
        QTest::newRow("Enter") << false << "Stone";
        QTest::newRow("Rename button") << true << "Stone";
        QTest::newRow("Enter, empty name") << false << "";
        QTest::newRow("Rename button, empty name") << true << "";
    }

    void renameByEnterOrButton()
    {
        QFETCH(bool, byButton);
        QFETCH(QString, typed);
        Files->Writer.SetRecord(0x1A, Named("Rock"));
        auto window = Open();
        ClickLine(*window, 0x1A);
        TypeInto(window->Edit1, typed);
        if (typed.isEmpty())
            QTest::keyClick(window->Edit1, Qt::Key_Delete);
        if (byButton)
            QTest::mouseClick(window->Button2, Qt::LeftButton);
        else
            QTest::keyClick(window->Edit1, Qt::Key_Return);

        QCOMPARE(Status(*window), QStringLiteral("updated 0x1A - Rock to ") + typed);
        QCOMPARE(ListLine(*window, 0x1A), typed);
        QCOMPARE(window->TileData()->GetName(0x1A), typed);
        QCOMPARE(FocusName(), QStringLiteral("ListBox1"));
        QCOMPARE(window->Label2->text(), QStringLiteral("Rock"));

        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QCOMPARE(Status(*window), QStringLiteral("Tiledata has been saved"));
        QCOMPARE(ListLine(*window, 0x1A), QStringLiteral("0x1A - ") + typed);
        QCOMPARE(SelectedRow(*window), 0x1A);
        QCOMPARE(QString::fromStdString(Files->SavedRecord(0x1A).Name), typed);
    }

    void arrowKeysInTheNameBoxesStepThroughTheList_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("step"); // 0: a page or more down
        QTest::newRow("Up in Edit1") << "Edit1" << int(Qt::Key_Up) << -1;
        QTest::newRow("Down in Edit1") << "Edit1" << int(Qt::Key_Down) << 1;
        QTest::newRow("Down in Edit2") << "Edit2" << int(Qt::Key_Down) << 1;
        QTest::newRow("Page Down in Edit2") << "Edit2" << int(Qt::Key_PageDown) << 0;
    }

    void arrowKeysInTheNameBoxesStepThroughTheList()
    {
        QFETCH(QString, box);
        QFETCH(int, key);
        QFETCH(int, step);
        auto window = Open();
        ClickLine(*window, 50);
        auto *edit = window->findChild<QLineEdit *>(box);
        TypeInto(edit, QStringLiteral("typed"));
        QTest::keyClick(edit, Qt::Key(key));
        const int row = SelectedRow(*window);
        if (step != 0)
            QCOMPARE(row, 50 + step);
        else
            QVERIFY(row > 60);
        QCOMPARE(FocusName(), box);
        QCOMPARE(window->Edit1->text(), QString::fromStdString(DefaultName(row)));
        QCOMPARE(window->Edit2->text(), QString());
        QCOMPARE(edit->selectedText(), edit->text());

        // A held key repeats; only the real release moves the list.
        QKeyEvent repeated(QEvent::KeyRelease, key, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(edit, &repeated);
        QCOMPARE(SelectedRow(*window), row);
    }

    // -- global replace ------------------------------------------------------

    void globalReplaceFoldsOnlyPlainLetters()
    {
        const int tiles[] = {10, 11, 12, 13, 14, 15};
        const std::string names[] = {"Rock", "rock", "ROCK", "rocks", "r\xF6" "ck", "R\xD6" "CK"};
        for (int k = 0; k < 6; ++k)
            Files->Writer.SetRecord(tiles[k], Named(names[k]));
        auto window = Open();
        ClickLine(*window, 10);
        TypeInto(window->Edit1, QStringLiteral("Stone"));
        QTest::keyClick(window->Edit1, Qt::Key_Return);
        QCOMPARE(window->Label2->text(), QStringLiteral("Rock")); // still the old name

        TypeInto(window->Edit2, QStringLiteral("Pebble"));
        QTest::mouseClick(window->Button1, Qt::LeftButton);
        QCOMPARE(Status(*window), QStringLiteral("Replaced Rock with Pebble"));
        const QStringList expected = {QStringLiteral("0xA - Stone"), QStringLiteral("0xB - Pebble"),
                                      QStringLiteral("0xC - Pebble"), QStringLiteral("0xD - rocks"),
                                      QStringLiteral("0xE - r\u00F6ck"), QStringLiteral("0xF - R\u00D6CK")};
        for (int k = 0; k < 6; ++k)
            QCOMPARE(ListLine(*window, tiles[k]), expected[k]);
        QCOMPARE(SelectedRow(*window), 10);
        QCOMPARE(FocusName(), QStringLiteral("Edit2"));
        QCOMPARE(window->Edit1->text(), QStringLiteral("Stone")); // not shown again
    }

    void globalReplaceKeepsTheScrollPosition()
    {
        Files->Writer.SetRecord(3, Named("Rock"));
        Files->Writer.SetRecord(8000, Named("rock"));
        auto window = Open();
        ClickLine(*window, 8000);
        window->ListBox1->verticalScrollBar()->setValue(7990);
        const int top = window->ListBox1->indexAt(QPoint(0, 0)).row();
        TypeInto(window->Edit2, QStringLiteral("Rock"));
        QTest::mouseClick(window->Button1, Qt::LeftButton);
        QCOMPARE(window->ListBox1->indexAt(QPoint(0, 0)).row(), top);
        QCOMPARE(SelectedRow(*window), 8000);
        QCOMPARE(ListLine(*window, 8000), QStringLiteral("0x1F40 - Rock"));
        QCOMPARE(window->TileData()->GetName(3), QStringLiteral("Rock"));
    }

    void globalReplaceRefusesEmptyNames_data()
    {
        QTest::addColumn<bool>("emptyOld");
        QTest::newRow("With box empty") << false;
        QTest::newRow("selected tile without a name") << true;
    }

    void globalReplaceRefusesEmptyNames()
    {
        QFETCH(bool, emptyOld);
        Files->Writer.SetRecord(20, Named(""));
        Files->Writer.SetRecord(21, Named(""));
        auto window = Open();
        // A renamed line keeps its short form until the list is rebuilt.
        ClickLine(*window, 5);
        TypeInto(window->Edit1, QStringLiteral("short"));
        QTest::keyClick(window->Edit1, Qt::Key_Return);
        ClickLine(*window, emptyOld ? 20 : 6);
        if (emptyOld)
            TypeInto(window->Edit2, QStringLiteral("named"));
        QTest::mouseClick(window->Button1, Qt::LeftButton);
        QCOMPARE(Status(*window), QStringLiteral("Couldn't replace with one thing empty"));
        QCOMPARE(ListLine(*window, 5), QStringLiteral("short"));
        QCOMPARE(window->TileData()->GetName(21), QString());
        QCOMPARE(window->TileData()->GetName(6), QStringLiteral("n6"));
    }

    // -- find ------------------------------------------------------------------

    void findSelectsAndShowsTheLowestMatch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("row");
        QTest::newRow("upper case") << "ROCK" << true << 100;
        QTest::newRow("mixed case, part of a name") << "iG rO" << true << 100;
        QTest::newRow("accented letters in any case") << QString::fromUtf8("\xc3\xa4rg") << true << 300;
        QTest::newRow("empty text") << "" << true << -1;
        QTest::newRow("no name contains it") << "zzz" << true << -1;
        QTest::newRow("cancelled") << "ROCK" << false << 250;
    }

    void findSelectsAndShowsTheLowestMatch()
    {
        QFETCH(QString, text);
        QFETCH(bool, accept);
        QFETCH(int, row);
        Files->Writer.SetRecord(100, Named("Big Rock"));
        Files->Writer.SetRecord(200, Named("rock"));
        Files->Writer.SetRecord(250, Named("selected"));
        Files->Writer.SetRecord(300, Named("\xC4RGER"));
        Files->Writer.SetRecord(301, Named("\xE4rger"));
        auto window = Open();
        ClickLine(*window, 250);
        QStringList seen;
        Answers->Then(FindAnswer(text, accept, &seen));
        QTest::mouseClick(window->Button5, Qt::LeftButton);
        QCOMPARE(seen, QStringList({QStringLiteral("Lookup Tilename"), QStringLiteral("Type full or partial name to find:"),
                                    QStringLiteral("OK"), QStringLiteral("Cancel"), QString()}));
        QCOMPARE(SelectedRow(*window), row);
        if (row >= 0) {
            // The window shows the tile it found, and edits go into it.
            QCOMPARE(window->Edit1->text(), window->TileData()->GetName(row));
            QCOMPARE(window->Label2->text(), window->TileData()->GetName(row));
            const QRect line = LineRect(*window, row);
            QVERIFY(window->ListBox1->viewport()->rect().contains(line));
            return;
        }
        // Nothing selected: no tile takes the edits the controls offer.
        const quint32 before = window->TileData()->GetFlags(250);
        QTest::mouseClick(window->cbDoor, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        TypeInto(window->edWeight, QStringLiteral("9"));
        QTest::keyClick(window->edWeight, Qt::Key_Tab);
        QCOMPARE(window->TileData()->GetFlags(250), before);
        QCOMPARE(window->TileData()->GetWeight(250), int(Files->Writer.ReadRecord(250).Weight));
    }

    // -- save ------------------------------------------------------------------

    void saveWithoutEditsKeepsTheFileByteForByte()
    {
        auto window = Open();
        const std::vector<unsigned char> before = TestFiles::ReadBytes(Files->Path());
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QCOMPARE(Status(*window), QStringLiteral("Tiledata has been saved"));
        QVERIFY(TestFiles::ReadBytes(Files->Path()) == before);
        QCOMPARE(SelectedRow(*window), -1);
    }

    void saveByAcceleratorWritesTheFocusedBox_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("error");
        QTest::newRow("value") << "77" << "";
        QTest::newRow("no integer") << "abc" << "'abc' is not a valid integer value.";
    }

    void saveByAcceleratorWritesTheFocusedBox()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, error);
        auto window = Open();
        const std::vector<unsigned char> before = TestFiles::ReadBytes(Files->Path());
        ClickLine(*window, 5);
        PasteInto(window->edWeight, pasted);
        QTest::keyClick(window.get(), Qt::Key_S, Qt::AltModifier);
        if (error.isEmpty()) {
            QTRY_COMPARE(Status(*window), QStringLiteral("Tiledata has been saved"));
            QCOMPARE(Files->SavedRecord(5).Weight, 77);
            QCOMPARE(FocusName(), QStringLiteral("edWeight"));
            return;
        }
        QTRY_COMPARE(Answers->Boxes.size(), 1);
        QCOMPARE(Answers->Boxes[0].Text, error);
        QCOMPARE(Status(*window), QString());
        QVERIFY(TestFiles::ReadBytes(Files->Path()) == before);
    }

    void saveRefusedWhileAnotherProcessHoldsTheFile()
    {
        auto window = Open();
        const std::vector<unsigned char> before = TestFiles::ReadBytes(Files->Path());
        ClickLine(*window, 5);
        TypeInto(window->Edit1, QStringLiteral("renamed"));
        QTest::keyClick(window->Edit1, Qt::Key_Return);

        QProcess holder;
        const auto killHolder = qScopeGuard([&] {
            holder.kill();
            holder.waitForFinished();
        });
        HoldOpen(holder, Files->Path());

        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QCOMPARE(Answers->Boxes.size(), 1);
        QCOMPARE(Answers->Boxes[0].Text,
                 TestFiles::CannotOpenText(Files->Path(), "The file is in use by another process."));
        QCOMPARE(Status(*window), QStringLiteral("updated 0x5 - n5 to renamed"));
        QCOMPARE(ListLine(*window, 5), QStringLiteral("renamed")); // not refreshed
        QCOMPARE(window->TileData()->GetName(5), QStringLiteral("renamed"));
        QVERIFY(TestFiles::ReadBytes(Files->Path()) == before);

        holder.kill();
        holder.waitForFinished();
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QCOMPARE(Answers->Boxes.size(), 1);
        QCOMPARE(Status(*window), QStringLiteral("Tiledata has been saved"));
        QCOMPARE(Files->SavedRecord(5).Name, std::string("renamed"));
    }

    void editSaveAndReopenKeepsEveryField()
    {
        auto window = Open();
        ClickLine(*window, 7);
        const std::pair<QLineEdit *, QString> typed[] = {
            {window->edWeight, "1"},    {window->edQuality, "2"},   {window->edHeight, "3"},
            {window->edQuantity, "4"},  {window->edHue, "5"},       {window->edAnim, "BEEF"},
            {window->edUnknown0, "60000"}, {window->edUnknown1, "7"}, {window->edunknown2, "8"},
            {window->edUnknown3, "9"},  {window->edUnknown4, "10"},
        };
        for (const auto &[box, text] : typed)
            TypeInto(box, text);
        const quint32 flags = window->CurrentFlags ^ 0x80000011u;
        for (QCheckBox *box : {window->cbBackground, window->cbWall, window->cbStairRight})
            QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        TypeInto(window->Edit1, QStringLiteral("Twenty characters!!!"));
        QTest::mouseClick(window->Button2, Qt::LeftButton);
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QCOMPARE(Status(*window), QStringLiteral("Tiledata has been saved"));
        window->close();

        auto reopened = OpenWindow(*Answers, Files->Path());
        ClickLine(*reopened, 7);
        for (const auto &[box, text] : typed) {
            auto *shown = reopened->findChild<QLineEdit *>(box->objectName());
            QCOMPARE(shown->text(), text);
        }
        QCOMPARE(reopened->CurrentFlags, flags);
        QCOMPARE(reopened->Edit1->text(), QStringLiteral("Twenty characters!!!"));
        const TileDataWriter::Record saved = Files->SavedRecord(7);
        QCOMPARE(saved.Anim, 0xBEEF);
        QCOMPARE(saved.Unknown0, 60000);
        QCOMPARE(saved.Flags, flags);
        QCOMPARE(Files->SavedRecord(8).Name, DefaultName(8));
    }

    // -- the hidden reload row -------------------------------------------------

    void hiddenRowLoadsAnotherFile_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("another file") << true;
        QTest::newRow("missing file") << false;
    }

    void hiddenRowLoadsAnotherFile()
    {
        QFETCH(bool, exists);
        auto window = Open();
        ClickLine(*window, 3);
        TileFolder other(99);
        other.Writer.SetRecord(0, Named("other"));
        if (exists)
            other.Write();
        Answers->Then([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            dialog->selectFile(other.Path());
            static_cast<QDialog *>(dialog)->accept();
        });
        window->Button4->click();
        QCOMPARE(window->Edit3->text(), QDir::toNativeSeparators(other.Path()));
        window->Button3->click();
        QVERIFY(!window->Button3->isVisible());
        QCOMPARE(SelectedRow(*window), -1);
        QVERIFY(!window->TileShown);
        if (!exists) {
            QCOMPARE(Answers->Boxes.size(), 1);
            QVERIFY(Answers->Boxes[0].Text.startsWith(QStringLiteral("Cannot open file")));
            QVERIFY(!window->TileData());
            QCOMPARE(ListCount(*window), 0);
            return;
        }
        QCOMPARE(ListCount(*window), TileCount);
        QCOMPARE(ListLine(*window, 0), QStringLiteral("0x0 - other"));
        ClickLine(*window, 0);
        QCOMPARE(window->Edit1->text(), QStringLiteral("other"));
    }
};

QTEST_MAIN(EditingTest)
#include "tst_editing.moc"
