// The window's land tiles: switching between the item and the land list,
// what a land tile shows, its edits as they reach the file, names in one
// section only, and undo going back to the land list.

#include "app/form/Unit1.h"
#include "app/form/UpperFlagBoxes.h"
#include "app/list/TileListModel.h"
#include "app/list/TileSections.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/TestFiles.h"
#include "tiledata/TileDataReader.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <QTest>

namespace {

constexpr int LandTiles = 16384;
constexpr std::uint32_t Wall = 0x10;

// Writes a land record into the bytes of a file of either layout.
void SetLand(std::vector<unsigned char> &Bytes, int Tile, std::uint64_t Flags, std::uint16_t Texture,
             const std::string &Name)
{
    LayoutTileWriter file = LayoutTileWriter::ShapeOf(Bytes.size());
    file.Bytes() = std::move(Bytes);
    file.SetLand(Tile, {Flags, Texture, Name});
    Bytes = std::move(file.Bytes());
}

void SetItemName(TileDataWriter &Writer, int Tile, const std::string &Name)
{
    TileDataWriter::Record record = Writer.ReadRecord(Tile);
    record.Name = Name;
    Writer.SetRecord(Tile, record);
}

QTabBar *Tabs(const TForm1 &Window)
{
    return Window.findChild<QTabBar *>(QStringLiteral("SectionTabs"));
}

QLineEdit *Texture(const TForm1 &Window)
{
    return Window.findChild<QLineEdit *>(QStringLiteral("edTexture"));
}

// Switches the list the way the user chose, leaving the focus where it is.
void SwitchBy(TForm1 &Window, const QString &Way)
{
    QTabBar *tabs = Tabs(Window);
    QWidget *focus = QApplication::focusWidget();
    if (Way == QLatin1String("tab"))
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(1 - tabs->currentIndex()).center());
    else if (Way == QLatin1String("menu"))
        Window.findChild<QAction *>(QStringLiteral("SwitchSectionAction"))->trigger();
    else
        QTest::keyClick(focus ? focus : &Window, Way == QLatin1String("Ctrl+Tab") ? Qt::Key_Tab : Qt::Key_Backtab,
                        Way == QLatin1String("Ctrl+Tab") ? Qt::ControlModifier
                                                         : Qt::ControlModifier | Qt::ShiftModifier);
}

} // namespace

class LandTilesTest : public WindowTest
{
    Q_OBJECT

private slots:
    void eachListKeepsItsSelection_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("tab bar") << "tab";
        QTest::newRow("Ctrl+Tab") << "Ctrl+Tab";
        QTest::newRow("Ctrl+Shift+Tab") << "Ctrl+Shift+Tab";
        QTest::newRow("View menu") << "menu";
    }

    void eachListKeepsItsSelection()
    {
        QFETCH(QString, way);
        SetLand(Files->Writer.Bytes(), 3, 0, 0, "grass");
        auto window = Open();
        QCOMPARE(Tabs(*window)->currentIndex(), 0);
        QCOMPARE(Tabs(*window)->tabText(1), QStringLiteral("Land"));
        ClickLine(*window, 5);
        const QByteArray land5 = window->TileData()->GetRecordBytes(TTileKind::Land, 5);
        // A weight typed and not yet committed goes into item 5, never into
        // a land tile.
        TypeInto(window->edWeight, QStringLiteral("42"));
        SwitchBy(*window, way);
        QCOMPARE(window->TileData()->GetWeight(5), 42);
        QCOMPARE(window->TileData()->GetRecordBytes(TTileKind::Land, 5), land5);
        QCOMPARE(Tabs(*window)->currentIndex(), 1);
        QCOMPARE(ListCount(*window), LandTiles);
        QCOMPARE(ListLine(*window, 3), QStringLiteral("0x3 - grass"));
        QCOMPARE(SelectedRow(*window), -1);
        QVERIFY(window->Edit1->text().isEmpty());

        ClickLine(*window, 3);
        QCOMPARE(window->Edit1->text(), QStringLiteral("grass"));
        SwitchBy(*window, way);
        QCOMPARE(ListCount(*window), TileCount);
        QCOMPARE(SelectedRow(*window), 5);
        QCOMPARE(window->Edit1->text(), QStringLiteral("n5"));
        QCOMPARE(window->edWeight->text(), QStringLiteral("42"));
        SwitchBy(*window, way);
        QCOMPARE(SelectedRow(*window), 3);
        QCOMPARE(window->Edit1->text(), QStringLiteral("grass"));
    }

    void aLandTileShowsItsFields_data()
    {
        QTest::addColumn<int>("tile");
        QTest::addColumn<quint32>("flags");
        QTest::addColumn<int>("texture");
        QTest::addColumn<QString>("name");
        QTest::newRow("grass") << 3 << 0xC0u << 3 << "grass";
        QTest::newRow("20-byte name before a group header") << 31 << 0xFFFFFFFFu << 65535 << "abcdefghijklmnopqrst";
        QTest::newRow("the last land tile") << 0x3FFF << 0x80000001u << 1000 << "last";
    }

    void aLandTileShowsItsFields()
    {
        QFETCH(int, tile);
        QFETCH(quint32, flags);
        QFETCH(int, texture);
        QFETCH(QString, name);
        SetLand(Files->Writer.Bytes(), tile, flags, std::uint16_t(texture), name.toStdString());
        // Land tile t's picture is art entry t; entry 0x4000 + t is absent.
        ArtWriter art;
        art.PadToEntry(tile);
        art.AddRawPicture(ArtWriter::Pixels(44 * 44, 0x03E0));
        art.PadToEntry(0x4000 + tile + 1);
        art.WriteTo(Files->Folder());
        auto window = Open();
        ClickLine(*window, 1);
        Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
        Answers->Then(Type(QString::number(tile, 16)));
        Shortcut(*window, Qt::CTRL | Qt::Key_G); // go to reaches every land tile

        QCOMPARE(SelectedRow(*window), tile);
        QCOMPARE(window->Edit1->text(), name);
        QCOMPARE(Texture(*window)->text(), QString::number(texture));
        const std::pair<QCheckBox *, int> boxes[] = {
            {window->cbBackground, 0}, {window->cbImpassable, 6}, {window->cbWet, 7}, {window->cbStairRight, 31}};
        for (const auto &[box, bit] : boxes)
            QCOMPARE(box->isChecked(), bool((flags >> bit) & 1u));
        QCOMPARE(window->Image1Bitmap.size(), QSize(44, 44));
        QCOMPARE(reinterpret_cast<const quint16 *>(window->Image1Bitmap.constScanLine(22))[22] & 0x7FFF, 0x03E0);
        // The boxes only items have are disabled, the land's own enabled.
        QVERIFY(Texture(*window)->isEnabled());
        QVERIFY(window->Edit1->isEnabled());
        QVERIFY(window->cbWall->isEnabled());
        for (QLineEdit *box : {window->edWeight, window->edAnim, window->edUnknown4})
            QVERIFY(!box->isEnabled());
        Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
        QVERIFY(!Texture(*window)->isEnabled());
        QVERIFY(window->edWeight->isEnabled());
    }

    void aLandEditWritesOnlyItsField_data()
    {
        QTest::addColumn<bool>("newer");
        QTest::addColumn<int>("tile");
        QTest::addColumn<QString>("edit");
        QTest::newRow("texture") << false << 3 << "texture";
        QTest::newRow("flag, last record of a group") << false << 31 << "flag";
        QTest::newRow("name, last land record") << false << 0x3FFF << "name";
        QTest::newRow("newer: texture, last land record") << true << 0x3FFF << "texture";
        QTest::newRow("newer: bit 32, last record of a group") << true << 31 << "bit 32";
        QTest::newRow("newer: name") << true << 3 << "name";
    }

    void aLandEditWritesOnlyItsField()
    {
        QFETCH(bool, newer);
        QFETCH(int, tile);
        QFETCH(QString, edit);
        LayoutTileWriter file = newer ? LayoutTileWriter::Newer(2) : LayoutTileWriter::Classic();
        LayoutTileWriter::Land land{0x40, 3, "grass"};
        file.SetLand(tile, land);
        file.WriteTo(Files->Path());
        auto window = OpenWindow(*Answers, Files->Path());
        Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
        Answers->Then(Type(QString::number(tile, 16)));
        Shortcut(*window, Qt::CTRL | Qt::Key_G);
        // The offscreen platform leaves the window inactive after a dialog.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        if (edit == QLatin1String("texture")) {
            TypeInto(Texture(*window), QStringLiteral("4660"));
            QTest::keyClick(Texture(*window), Qt::Key_Return);
            land.Texture = 4660;
        } else if (edit == QLatin1String("flag")) {
            QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
            land.Flags |= Wall;
        } else if (edit == QLatin1String("bit 32")) {
            window->UpperFlags->PageButton()->click();
            QTest::mouseClick(window->UpperFlags->Box(0), Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
            land.Flags |= std::uint64_t(1) << 32;
        } else {
            TypeInto(window->Edit1, QStringLiteral("swamp"));
            QTest::keyClick(window->Edit1, Qt::Key_Return);
            land.Name = "swamp";
            // The line shows the bare new name until the list is filled
            // again, as an item's does.
            QCOMPARE(ListLine(*window, tile), QStringLiteral("swamp"));
        }
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        file.SetLand(tile, land);
        QVERIFY(TestFiles::ReadBytes(Files->Path()) == file.Bytes());
    }

    void namesActOnTheListShown_data()
    {
        QTest::addColumn<bool>("land");
        QTest::newRow("land list") << true;
        QTest::newRow("item list") << false;
    }

    void namesActOnTheListShown()
    {
        QFETCH(bool, land);
        for (const int tile : {7, 9})
            SetItemName(Files->Writer, tile, tile == 7 ? "grass" : "GRASS");
        for (const int tile : {3, 9})
            SetLand(Files->Writer.Bytes(), tile, 0, 0, tile == 3 ? "grass" : "Grass");
        auto window = Open();
        if (land)
            Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
        const int first = land ? 3 : 7;
        Answers->Then(Type(QStringLiteral("gras")));
        Shortcut(*window, Qt::CTRL | Qt::Key_F);
        QCOMPARE(SelectedRow(*window), first);
        Shortcut(*window, Qt::Key_F3);
        QCOMPARE(SelectedRow(*window), 9);
        Shortcut(*window, Qt::Key_F3);
        QCOMPARE(SelectedRow(*window), first);

        TypeInto(window->Edit2, QStringLiteral("meadow"));
        QTest::mouseClick(window->Button1, Qt::LeftButton);
        const TTileKind shown = land ? TTileKind::Land : TTileKind::Item;
        const TTileKind other = land ? TTileKind::Item : TTileKind::Land;
        QCOMPARE(window->TileData()->GetName(shown, first), QStringLiteral("meadow"));
        QCOMPARE(window->TileData()->GetName(shown, 9), QStringLiteral("meadow"));
        QVERIFY(window->TileData()->GetName(other, 9).compare(QStringLiteral("grass"), Qt::CaseInsensitive) == 0);
        QCOMPARE(window->TileData()->GetName(other, land ? 7 : 3), QStringLiteral("grass"));
        QCOMPARE(ListLine(*window, 9), QStringLiteral("0x9 - meadow"));
    }

    void undoSwitchesToTheListOfItsTile_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("undoText");
        QTest::newRow("texture") << "texture" << "Undo Texture land 0x3";
        QTest::newRow("flag") << "flag" << "Undo Set Wall land 0x3";
        QTest::newRow("rename") << "rename" << "Undo Rename land 0x3";
        QTest::newRow("replace") << "replace" << "Undo Replace land grass";
    }

    void undoSwitchesToTheListOfItsTile()
    {
        QFETCH(QString, edit);
        QFETCH(QString, undoText);
        SetLand(Files->Writer.Bytes(), 3, 0, 3, "grass");
        auto window = Open();
        Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
        ClickLine(*window, 3);
        const QByteArray before = window->TileData()->GetRecordBytes(TTileKind::Land, 3);
        if (edit == QLatin1String("texture")) {
            TypeInto(Texture(*window), QStringLiteral("7"));
            QTest::keyClick(Texture(*window), Qt::Key_Return);
        } else if (edit == QLatin1String("flag")) {
            QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        } else if (edit == QLatin1String("rename")) {
            TypeInto(window->Edit1, QStringLiteral("swamp"));
            QTest::keyClick(window->Edit1, Qt::Key_Return);
        } else {
            TypeInto(window->Edit2, QStringLiteral("swamp"));
            QTest::mouseClick(window->Button1, Qt::LeftButton);
        }
        const QByteArray after = window->TileData()->GetRecordBytes(TTileKind::Land, 3);
        QVERIFY(after != before);
        QCOMPARE(window->findChild<QAction *>(QStringLiteral("UndoAction"))->text(), undoText);

        Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
        ClickLine(*window, 5);
        Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        QCOMPARE(window->TileData()->GetRecordBytes(TTileKind::Land, 3), before);
        QCOMPARE(Tabs(*window)->currentIndex(), 1);
        QCOMPARE(SelectedRow(*window), 3);
        QCOMPARE(window->Edit1->text(), QStringLiteral("grass"));
        QCOMPARE(Texture(*window)->text(), QStringLiteral("3"));
        QCOMPARE(ListLine(*window, 3), QStringLiteral("0x3 - grass"));

        Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
        Shortcut(*window, Qt::CTRL | Qt::Key_Y);
        QCOMPARE(window->TileData()->GetRecordBytes(TTileKind::Land, 3), after);
        QCOMPARE(Tabs(*window)->currentIndex(), 1);
        Shortcut(*window, Qt::CTRL | Qt::Key_Z);
        // Back at the bytes on disk: closing asks nothing.
        window->close();
        QVERIFY(!window->isVisible());
        QVERIFY(Answers->Boxes.isEmpty());
    }
};

QTEST_MAIN(LandTilesTest)
#include "tst_landtiles.moc"
