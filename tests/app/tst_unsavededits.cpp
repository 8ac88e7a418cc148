// No edit goes nowhere or gets lost unasked: the list keeps its line, the
// tile's controls are disabled while no line is selected, closing asks
// about unsaved edits and a save asks before overwriting another program's
// change.

#include "app/form/Unit1.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/JournalWriter.h"
#include "tests/support/TestFiles.h"
#include "tiledata/TileDataReader.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QListView>
#include <QTest>
#include <QWindow>

#include <algorithm>

namespace {

const QString Saved = QStringLiteral("Tiledata has been saved");

} // namespace

class UnsavedEditsTest : public WindowTest
{
    Q_OBJECT

private:
    // Edit1 and Rename, the number boxes and the flag boxes; the Global
    // group and the buttons at the bottom stay enabled throughout. The land
    // tiles' texture box stays disabled while the item tiles show.
    static void ExpectTileControlsEnabled(const TForm1 &window, bool enabled)
    {
        QList<QWidget *> controls = {window.Edit1, window.Button2};
        for (QLineEdit *box : window.findChildren<QLineEdit *>()) {
            const QString name = box->objectName();
            controls << (name.startsWith(QLatin1String("ed")) && name != QLatin1String("edTexture") ? box : nullptr);
        }
        for (QCheckBox *box : window.findChildren<QCheckBox *>())
            controls << box;
        controls.removeAll(nullptr);
        QCOMPARE(controls.size(), 2 + 11 + 64);
        for (QWidget *control : controls)
            QVERIFY2(control->isEnabled() == enabled, qPrintable(control->objectName()));
        QVERIFY(window.Edit2->isEnabled() && window.Button5->isEnabled() && window.BitBtn1->isEnabled());
    }

private slots:
    // -- the list keeps its line ---------------------------------------------

    void theListKeepsItsLine_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("Ctrl+click on the selected line") << "ctrl-click";
        QTest::newRow("click below the last line") << "below";
        QTest::newRow("right click on another line") << "right-click";
    }

    void theListKeepsItsLine()
    {
        QFETCH(QString, action);
        auto window = Open();
        QListView *list = window->ListBox1;
        const int row = TileCount - 1;
        ClickLine(*window, row);
        const QRect line = LineRect(*window, row);
        if (action == QLatin1String("ctrl-click")) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, line.center());
        } else if (action == QLatin1String("below")) {
            const QPoint below(line.center().x(), line.bottom() + 2);
            QVERIFY(!list->indexAt(below).isValid() && list->viewport()->rect().contains(below));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, below);
        } else {
            const QRect other = LineRect(*window, row - 3);
            QTest::mouseClick(list->viewport(), Qt::RightButton, Qt::NoModifier, other.center());
        }
        QCOMPARE(SelectedRow(*window), row);
        ExpectTileControlsEnabled(*window, true);
        // Edits still reach the tile.
        QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QCOMPARE(window->TileData()->GetFlags(row), Files->Writer.ReadRecord(row).Flags ^ 0x10u);
    }

    void tileControlsAreDisabledWhileNoLineIsSelected()
    {
        auto window = Open();
        ExpectTileControlsEnabled(*window, false);
        // A key typed into the list goes nowhere.
        window->ListBox1->setFocus();
        QTest::keyClick(window->ListBox1, Qt::Key_A);
        QCOMPARE(FocusName(), QStringLiteral("ListBox1"));
        QCOMPARE(window->Edit1->text(), QString());

        ClickLine(*window, 4);
        ExpectTileControlsEnabled(*window, true);

        // A Find that finds nothing leaves no line selected.
        Answers->Then([](QWidget *modal) {
            auto *dialog = qobject_cast<QInputDialog *>(modal);
            dialog->setTextValue(QStringLiteral("no such name"));
            dialog->accept();
        });
        QTest::mouseClick(window->Button5, Qt::LeftButton);
        QCOMPARE(SelectedRow(*window), -1);
        ExpectTileControlsEnabled(*window, false);
    }

    // -- closing -----------------------------------------------------------------

    void closingAsksAboutUnsavedEdits_data()
    {
        QTest::addColumn<QString>("edit");   // "flag", "typed back", "focused box" or "typed name"
        QTest::addColumn<bool>("byDesktop"); // the desktop's close rather than the Close button
        QTest::addColumn<QString>("answer"); // empty: no question expected
        QTest::addColumn<bool>("held");      // another program keeps the file open
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("written");
        QTest::newRow("nothing changed") << "typed back" << false << "" << false << true << false;
        QTest::newRow("Save") << "flag" << false << "Save" << false << true << true;
        QTest::newRow("Discard") << "flag" << false << "Discard" << false << true << false;
        QTest::newRow("Cancel") << "flag" << false << "Cancel" << false << false << false;
        QTest::newRow("Save fails") << "flag" << false << "Save" << true << false << false;
        QTest::newRow("desktop close, Cancel") << "flag" << true << "Cancel" << false << false << false;
        QTest::newRow("desktop close, box still focused, Save") << "focused box" << true << "Save" << false << true
                                                                << true;
        QTest::newRow("name typed, not confirmed, Save") << "typed name" << false << "Save" << false << true << true;
        QTest::newRow("name typed, not confirmed, Cancel") << "typed name" << false << "Cancel" << false << false
                                                           << false;
    }

    void closingAsksAboutUnsavedEdits()
    {
        QFETCH(QString, edit);
        QFETCH(bool, byDesktop);
        QFETCH(QString, answer);
        QFETCH(bool, held);
        QFETCH(bool, closes);
        QFETCH(bool, written);
        auto window = Open();
        const std::vector<unsigned char> before = TestFiles::ReadBytes(Files->Path());
        const int weight = Files->Writer.ReadRecord(5).Weight;
        ClickLine(*window, 5);
        if (edit == QLatin1String("flag")) {
            QTest::mouseClick(window->cbDoor, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        } else if (edit == QLatin1String("typed name")) {
            TypeInto(window->Edit1, QStringLiteral("typed"));
        } else {
            TypeInto(window->edWeight, QString::number(weight ^ 1));
            if (edit == QLatin1String("typed back")) {
                ClickInto(window->edHue);
                TypeInto(window->edWeight, QString::number(weight));
                ClickInto(window->edHue);
            }
        }
        QProcess holder;
        if (held)
            HoldOpen(holder, Files->Path());

        QStringList seen;
        if (!answer.isEmpty())
            Answers->Then(Press(answer, &seen));
        if (byDesktop) {
            QCloseEvent close;
            QCoreApplication::sendEvent(window->windowHandle(), &close);
        } else {
            QTest::mouseClick(window->BitBtn2, Qt::LeftButton);
        }

        if (!answer.isEmpty())
            QCOMPARE(seen, QStringList({QStringLiteral("Save changes to tiledata.mul?"), QStringLiteral("Cancel"),
                                        QStringLiteral("Discard"), QStringLiteral("Save")}));
        QCOMPARE(Answers->Boxes.size(), held ? 1 : 0); // the error box of the refused save
        QCOMPARE(window->isVisible(), !closes);
        QCOMPARE(bool(window->TileData()), !closes);
        QCOMPARE(TestFiles::ReadBytes(Files->Path()) != before, written);
        if (written && edit == QLatin1String("typed name"))
            QCOMPARE(Files->SavedRecord(5).Name, std::string("typed"));
        if (!closes && edit != QLatin1String("typed name"))
            QVERIFY(window->TileData()->IsModified());
        holder.kill();
        holder.waitForFinished();
    }

    // -- a save that does not happen ----------------------------------------------

    void aRefusedSaveTakesAwayTheSavedStatus_data()
    {
        QTest::addColumn<bool>("click"); // the mouse on Save, or its accelerator key
        QTest::newRow("click") << true;
        QTest::newRow("Alt+S") << false;
    }

    void aRefusedSaveTakesAwayTheSavedStatus()
    {
        QFETCH(bool, click);
        auto window = Open();
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QCOMPARE(window->StatusBar1->currentMessage(), Saved);
        ClickLine(*window, 5);
        PasteInto(window->edWeight, QStringLiteral("abc"));
        if (click)
            QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        else
            QTest::keyClick(window.get(), Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(Answers->Boxes.size(), 1);
        QCOMPARE(window->StatusBar1->currentMessage(), QString());
    }

    // -- saving over another program's change --------------------------------------

    // With no edits there is nothing to write over their change: no question.
    // A save cut off by a kill or a power cut is finished by the next open,
    // said in a box before the file shows; over another program's change
    // since, the open asks first.
    void openFinishesACutOffSave_data()
    {
        QTest::addColumn<bool>("changedSince"); // another program renamed tile 5 since
        QTest::addColumn<QString>("answer");    // to the question, when one comes
        QTest::addColumn<QString>("name");      // tile 5's name once open; empty: nothing opened
        QTest::newRow("completed, said in a box") << false << "" << "saved";
        QTest::newRow("changed since: complete the save") << true << "Complete the save" << "saved";
        QTest::newRow("changed since: keep the file") << true << "Keep the file" << "theirs";
        QTest::newRow("changed since: cancel") << true << "Cancel" << "";
    }

    void openFinishesACutOffSave()
    {
        QFETCH(bool, changedSince);
        QFETCH(QString, answer);
        QFETCH(QString, name);
        Files->Write();
        std::vector<unsigned char> bytes = TestFiles::ReadBytes(Files->Path());
        const std::size_t at = TileDataWriter::OffsetOf(5) + 17;
        const auto nameBytes = [](const std::string &Text) {
            std::vector<unsigned char> field(20, 0);
            std::copy(Text.begin(), Text.end(), field.begin());
            return field;
        };
        const QString journal = Files->Path() + "-journal";
        TestFiles::WriteBytes(journal, JournalWriter::Build(bytes.size(), {{at, {bytes.begin() + at, bytes.begin() + at + 20},
                                                                            nameBytes("saved")}}));
        if (changedSince) {
            const std::vector<unsigned char> theirs = nameBytes("theirs");
            std::copy(theirs.begin(), theirs.end(), bytes.begin() + at);
            TestFiles::WriteBytes(Files->Path(), bytes);
        }
        QStringList seen;
        auto window = OpenWindow(*Answers, Files->Path(),
                                 answer.isEmpty() ? std::function<void(QWidget *)>() : Press(answer, &seen));
        QCOMPARE(QFile::exists(journal), name.isEmpty());
        if (name.isEmpty()) {
            QVERIFY(!window->TileData());
            return;
        }
        QCOMPARE(window->TileData()->GetName(5), name);
        if (!changedSince)
            QCOMPARE(Answers->Boxes.value(0).Text,
                     QStringLiteral("The last save of %1 was cut off; it has been completed: 1 tile")
                         .arg(QFileInfo(Files->Path()).fileName()));
    }

    void aSaveWithoutEditsLeavesTheirChange()
    {
        auto window = Open();
        QVERIFY(TestFiles::WriteByteElsewhere(Files->Path(), TileDataWriter::OffsetOf(9) + 17, 'T'));
        const std::vector<unsigned char> theirs = TestFiles::ReadBytes(Files->Path());
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QCOMPARE(Answers->Boxes.size(), 0);
        QCOMPARE(window->StatusBar1->currentMessage(),
                 QStringLiteral("Nothing to save: there are no edits, and tiledata.mul was changed by another "
                                "program; Reload reads its changes"));
        QVERIFY(TestFiles::ReadBytes(Files->Path()) == theirs);
    }

    void saveAsksBeforeOverwritingAChangeOnDisk_data()
    {
        QTest::addColumn<QString>("answer"); // empty: the file is held and the save refused
        QTest::addColumn<int>("theirTile");  // the tile the other program renames
        QTest::newRow("Overwrite") << "Overwrite" << 9;
        QTest::newRow("Overwrite, both changed tile 5") << "Overwrite" << 5;
        QTest::newRow("Cancel") << "Cancel" << 9;
        QTest::newRow("Return") << "Return" << 9;
        QTest::newRow("refused") << "" << 9;
    }

    void saveAsksBeforeOverwritingAChangeOnDisk()
    {
        QFETCH(QString, answer);
        QFETCH(int, theirTile);
        auto window = Open();
        ClickLine(*window, 5);
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QCOMPARE(window->StatusBar1->currentMessage(), Saved);
        QTest::mouseClick(window->cbDoor, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QVERIFY(TestFiles::WriteByteElsewhere(Files->Path(), TileDataWriter::OffsetOf(theirTile) + 17, 'T')); // a name
        const std::vector<unsigned char> theirs = TestFiles::ReadBytes(Files->Path());
        QProcess holder;
        if (answer.isEmpty())
            HoldOpen(holder, Files->Path());

        QStringList seen;
        if (!answer.isEmpty())
            Answers->Then(Press(answer, &seen));
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        if (answer != QLatin1String("Overwrite")) {
            QCOMPARE(Answers->Boxes.size(), answer.isEmpty() ? 1 : 0); // the error box
            QVERIFY(TestFiles::ReadBytes(Files->Path()) == theirs);
            QCOMPARE(window->StatusBar1->currentMessage(), QString());
            QVERIFY(window->TileData()->IsModified());
        } else {
            QCOMPARE(window->StatusBar1->currentMessage(), Saved);
            QCOMPARE(Files->SavedRecord(5).Flags, Files->Writer.ReadRecord(5).Flags ^ 0x20000000u);
            // The other program's rename of tile 9 stays, in the file and in
            // the window; its rename of tile 5, which we changed too, does not.
            QCOMPARE(Files->SavedRecord(theirTile).Name == DefaultName(theirTile), theirTile == 5);
            QCOMPARE(window->TileData()->ListLine(9).startsWith(QLatin1String("0x9 - T")), theirTile == 9);
        }
        if (!answer.isEmpty())
            QCOMPARE(seen,
                     QStringList({QStringLiteral("tiledata.mul has changed on disk since it was last loaded or saved. Overwrite it?\n\n")
                                      + (theirTile == 5 ? QStringLiteral("0x5 was also changed by the other program; "
                                                                         "Overwrite replaces it with yours.")
                                                        : QStringLiteral("Overwrite writes only the tiles you edited; the "
                                                                         "other program's changes to other tiles stay.")),
                                  QStringLiteral("Cancel"), QStringLiteral("Overwrite")}));
        holder.kill();
        holder.waitForFinished();
    }
};

QTEST_MAIN(UnsavedEditsTest)
#include "tst_unsavededits.moc"
