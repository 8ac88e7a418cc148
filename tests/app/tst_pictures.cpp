// The Pictures window: its grid shows the list's tiles under the list's
// filters, shares the document's selection both ways with its anchor, edits
// reach exactly the grid's selection, hostile art draws as missing, and the
// decoded pictures stay within the cache's cap.

#include "app/compare/CompareTools.h"
#include "app/compare/DifferenceDelegate.h"
#include "app/document/TileDocument.h"
#include "app/form/Unit1.h"
#include "app/list/TileListModel.h"
#include "app/pictures/PictureGrid.h"
#include "app/pictures/PicturesWindow.h"
#include "art/PictureCache.h"
#include "art/VellArtReader.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/ContainerWriter.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/TestFiles.h"
#include "tiledata/TileDataReader.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

std::vector<int> GridTiles(const TPictureGrid &Grid)
{
    const auto *lines = qobject_cast<const TTileListModel *>(Grid.model());
    std::vector<int> tiles;
    for (int row = 0; row < lines->rowCount(); ++row)
        tiles.push_back(lines->TileAt(row));
    return tiles;
}

std::vector<int> ListTiles(const TForm1 &Window)
{
    std::vector<int> tiles;
    for (int row = 0; row < Window.ListModel->rowCount(); ++row)
        tiles.push_back(Window.ListModel->TileAt(row));
    return tiles;
}

std::vector<int> Selected(const QAbstractItemView &View)
{
    const auto *lines = qobject_cast<const TTileListModel *>(View.model());
    std::vector<int> tiles;
    for (const QModelIndex &row : View.selectionModel()->selectedRows())
        tiles.push_back(lines->TileAt(row.row()));
    std::sort(tiles.begin(), tiles.end());
    return tiles;
}

std::vector<int> Range(int First, int Last)
{
    std::vector<int> tiles;
    for (int tile = First; tile <= Last; ++tile)
        tiles.push_back(tile);
    return tiles;
}

void ClickCell(TPictureGrid &Grid, int Tile, Qt::KeyboardModifiers Keys = Qt::NoModifier)
{
    const auto *lines = qobject_cast<const TTileListModel *>(Grid.model());
    const QModelIndex cell = lines->index(lines->RowOf(Tile));
    Grid.scrollTo(cell);
    QTest::mouseClick(Grid.viewport(), Qt::LeftButton, Keys, Grid.visualRect(cell).center());
}

// Pixels of the picture's red within Area.
int RedPixels(const QImage &Image, const QRect &Area)
{
    int red = 0;
    for (int y = Area.top(); y <= Area.bottom(); ++y) {
        for (int x = Area.left(); x <= Area.right(); ++x) {
            const QRgb pixel = Image.pixel(x, y);
            red += qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
        }
    }
    return red;
}

} // namespace

class PicturesTest : public WindowTest
{
    Q_OBJECT

    TPictureGrid &OpenGrid(TForm1 &Window)
    {
        Window.findChild<QAction *>(QStringLiteral("PicturesAction"))->trigger();
        TPicturesWindow &pictures = *Window.Pictures;
        pictures.resize(640, 480);
        [&] { QVERIFY(QTest::qWaitForWindowActive(&pictures)); }();
        return *pictures.Grid;
    }

    void ClearWall(int First, int Last)
    {
        for (int tile = First; tile <= Last; ++tile) {
            TileDataWriter::Record record = Files->Writer.ReadRecord(tile);
            record.Flags &= ~0x10u;
            Files->Writer.SetRecord(tile, record);
        }
    }

    // The main window's shortcuts work while it is the active window.
    static void Activate(TForm1 &Window)
    {
        Window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Window));
    }

private slots:
    void faultsStayMended_data()
    {
        QTest::addColumn<QString>("fault");
        for (const char *fault : {"release of the press opening Flags", "edit keeps the grid's scroll place",
                                  "End with no current tile", "undo selects the step's tiles", "free"})
            QTest::newRow(fault) << QString::fromLatin1(fault);
    }

    // Tiles 4 to 0x18 have Wall set but tile 6; tile 3 is all zero, tile 2
    // all zero but its weight, tile 1 but its height, and no art lies beside
    // the file.
    void faultsStayMended()
    {
        QFETCH(QString, fault);
        for (int tile = 1; tile <= 0x18; ++tile) {
            TileDataWriter::Record record = Files->Writer.ReadRecord(tile);
            if (tile <= 3)
                record = {};
            record.Weight = tile == 2 ? 5 : tile >= 4 ? 1 : record.Weight;
            record.Height = tile == 1 ? 7 : record.Height;
            if (tile >= 4)
                record.Flags = tile == 6 ? record.Flags & ~0x10u : record.Flags | 0x10u;
            Files->Writer.SetRecord(tile, record);
        }
        auto window = Open();
        TPictureGrid &grid = OpenGrid(*window);
        const auto status = [&] { return window->StatusBar1->currentMessage(); };
        if (fault.startsWith(QLatin1String("release"))) {
            ClickCell(grid, 4);
            ClickCell(grid, 8, Qt::ShiftModifier);
            auto *button = window->findChild<QToolButton *>(QStringLiteral("FilterFlags"));
            QMenu *menu = button->menu();
            menu->popup(button->mapToGlobal(QPoint(0, 0)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            const QList<QAction *> entries = menu->actions();
            QAction *wall = *std::find_if(entries.begin(), entries.end(),
                                          [](QAction *Entry) { return Entry->data() == QVariant(4); });
            const QPoint at = menu->actionGeometry(wall).center();
            QTest::mouseRelease(menu, Qt::LeftButton, Qt::NoModifier, at);
            QCOMPARE(button->text(), QStringLiteral("Flags"));
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, at);
            QCOMPARE(button->text(), QStringLiteral("Flags 1"));
            menu->close();
            QCOMPARE(window->Document->SelectedTiles(), (std::vector<int>{4, 5, 7, 8}));
            QVERIFY2(status().contains(QLatin1String("1 of 5 selected tiles is hidden")), qPrintable(status()));
        } else if (fault.startsWith(QLatin1String("edit"))) {
            ClickCell(grid, 5);
            grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum() / 2);
            const int top = grid.indexAt(QPoint(1, 1)).row();
            window->cbWall->click();
            window->Edit2->setText(QStringLiteral("seven"));
            QTest::mouseClick(window->Button1, Qt::LeftButton);
            QVERIFY(window->StatusBar1->currentMessage().startsWith(QLatin1String("Replaced n5 with seven")));
            QCOMPARE(grid.indexAt(QPoint(1, 1)).row(), top);
        } else if (fault.startsWith(QLatin1String("End"))) {
            ClickCell(grid, 5);
            QTest::keyClicks(window->findChild<QLineEdit *>(QStringLiteral("FilterBox")), QStringLiteral("n1"));
            QCOMPARE(window->Document->CurrentTile(), -1);
            grid.setFocus();
            QTest::keyClick(&grid, Qt::Key_End);
            QCOMPARE(window->Document->CurrentTile(), ListTiles(*window).back());
        } else if (fault.startsWith(QLatin1String("undo"))) {
            ClickCell(grid, 4);
            ClickCell(grid, 0x18, Qt::ShiftModifier);
            ClickCell(grid, 0x10, Qt::ControlModifier);
            ClickCell(grid, 0x10, Qt::ControlModifier);
            TypeInto(window->edWeight, QStringLiteral("42"));
            grid.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&grid));
            // Ctrl+Z takes the typed weight in as a step of its own, and undoes it.
            for (const Qt::Key key : {Qt::Key_Z, Qt::Key_Y}) {
                QTest::keyClick(&grid, key, Qt::ControlModifier);
                QCOMPARE(window->Document->SelectedTiles().size(), std::size_t(21));
                QCOMPARE(window->Document->CurrentTile(), 0x10);
                QCOMPARE(Selected(grid), Range(4, 0x18));
            }
        } else {
            window->findChild<QToolButton *>(QStringLiteral("FreeOnly"))->click();
            QCOMPARE(ListTiles(*window), std::vector<int>{3});
            QVERIFY2(status().startsWith(QLatin1String("1 tile matches; pictures were not checked: no art was found")),
                     qPrintable(status()));
        }
    }

    void gridShowsTheListsTiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("differencesOnly");
        QTest::addColumn<bool>("free");
        QTest::newRow("name filter") << "n1" << false << false;
        QTest::newRow("differences only") << "" << true << false;
        QTest::newRow("both") << "n1" << true << false;
        QTest::newRow("free") << "" << false << true;
    }

    // Tiles 3 and 4 are all zero, and only tile 4 has a picture: tile 3 is
    // the one free slot.
    void gridShowsTheListsTiles()
    {
        QFETCH(QString, name);
        QFETCH(bool, differencesOnly);
        QFETCH(bool, free);
        for (const int tile : {3, 4})
            Files->Writer.SetRecord(tile, {});
        ArtWriter art;
        art.PadToEntry(ArtWriter::StaticArtBase + 4);
        art.AddRunLength(2, 2, ArtWriter::Pixels(4, 0x001F), 0xFFFF);
        art.WriteTo(Files->Folder());
        auto window = Open();
        TPictureGrid &grid = OpenGrid(*window);
        QCOMPARE(window->Pictures->windowTitle(), QStringLiteral("Pictures - Items - tiledata.mul[*] - Quorvane"));
        std::vector<unsigned char> other = Files->Writer.Bytes();
        for (const int tile : {1, 5, 0x10, 0x100})
            other[TileDataWriter::OffsetOf(tile) + 4] ^= 1;
        TestFiles::WriteBytes(Files->Folder() + QStringLiteral("/other.mul"), other);
        window->findChild<TCompareTools *>()->CompareWith(Files->Folder() + QStringLiteral("/other.mul"));
        if (differencesOnly)
            window->findChild<QToolButton *>(QStringLiteral("DifferencesOnly"))->click();
        if (free)
            window->findChild<QToolButton *>(QStringLiteral("FreeOnly"))->click();
        QTest::keyClicks(window->findChild<QLineEdit *>(QStringLiteral("FilterBox")), name);
        QVERIFY(ListTiles(*window).size() < std::size_t(TileDataWriter::Tiles));
        if (free)
            QCOMPARE(ListTiles(*window), std::vector<int>{3});
        QCOMPARE(GridTiles(grid), ListTiles(*window));
    }

    // The grid and the list show one selection, whichever of them the user
    // selected in, and a Shift-click in the grid extends from a tile that Go
    // to made current.
    void selectionIsShared()
    {
        auto window = Open();
        TPictureGrid &grid = OpenGrid(*window);
        ClickLine(*window, 3);
        QCOMPARE(Selected(grid), std::vector<int>{3});
        QCOMPARE(grid.currentIndex().row(), 3);

        ClickCell(grid, 7);
        QCOMPARE(Selected(*window->ListBox1), std::vector<int>{7});
        QCOMPARE(window->Document->CurrentTile(), 7);
        QCOMPARE(window->Edit1->text(), QStringLiteral("n7"));

        Answers->Then(Type(QStringLiteral("20")));
        Activate(*window);
        Shortcut(*window, Qt::CTRL | Qt::Key_G);
        QCOMPARE(Selected(grid), std::vector<int>{0x20});
        ClickCell(grid, 0x23, Qt::ShiftModifier);
        QCOMPARE(Selected(*window->ListBox1), Range(0x20, 0x23));
        QCOMPARE(window->Document->SelectedTiles(), Range(0x20, 0x23));

        // And back: a Shift-click in the list extends from the grid's anchor.
        ClickCell(grid, 0x30);
        QTest::mouseClick(window->ListBox1->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          LineRect(*window, 0x2E).center());
        QCOMPARE(Selected(grid), Range(0x2E, 0x30));
    }

    void shiftKeyWithinTheSelectionMovesTheCurrentTile_data()
    {
        QTest::addColumn<bool>("inGrid");
        QTest::newRow("grid, Shift+Left") << true;
        QTest::newRow("list, Shift+Up") << false;
    }

    // Tiles 1 and 2 selected with 2 current and anchoring: Shift and the key
    // towards 1 selects the same two tiles, and makes 1 current.
    void shiftKeyWithinTheSelectionMovesTheCurrentTile()
    {
        QFETCH(bool, inGrid);
        auto window = Open();
        TPictureGrid &grid = OpenGrid(*window);
        ClickCell(grid, 1);
        ClickCell(grid, 2, Qt::ControlModifier);
        if (inGrid) {
            QTest::keyClick(&grid, Qt::Key_Left, Qt::ShiftModifier);
        } else {
            Activate(*window);
            Shortcut(*window, Qt::SHIFT | Qt::Key_Up);
        }
        QCOMPARE(window->Document->SelectedTiles(), Range(1, 2));
        QCOMPARE(window->Document->CurrentTile(), 1);
        QCOMPARE(window->Edit1->text(), QStringLiteral("n1"));
    }

    // A flag set on five tiles selected in the grid changes those tiles'
    // flags, and no other byte of the file.
    void flagClickEditsTheGridSelection()
    {
        ClearWall(3, 9);
        auto window = Open();
        TPictureGrid &grid = OpenGrid(*window);
        ClickCell(grid, 4);
        ClickCell(grid, 8, Qt::ShiftModifier);
        QCOMPARE(window->Document->SelectedTiles(), Range(4, 8));
        window->cbWall->click();
        Activate(*window);
        Shortcut(*window, Qt::CTRL | Qt::Key_S);

        std::vector<unsigned char> expected = Files->Writer.Bytes();
        for (int tile = 4; tile <= 8; ++tile)
            expected[TileDataWriter::OffsetOf(tile)] |= 0x10;
        QVERIFY(TestFiles::ReadBytes(Files->Path()) == expected);
    }

    // Tile 1 claims 65,535 x 2,560 pixels in a few bytes; tile 2 is a
    // real picture. Every tile of the first screen is decoded for the
    // grid, within the cache's cap.
    void hostileArtDrawsAsMissing()
    {
        ArtWriter art;
        art.PadToEntry(ArtWriter::StaticArtBase + 1);
        ArtWriter::RunLengthPicture giant;
        giant.Width = 65535;
        giant.Height = 2560;
        const std::int32_t at = art.AppendArtBytes(ArtWriter::RunLengthEntry(giant));
        art.AddIndexRecord(at, std::int32_t(ArtWriter::RunLengthEntry(giant).size()));
        art.AddRunLength(30, 20, ArtWriter::Pixels(30 * 20, 0x001F), 0xFFFF);
        art.WriteTo(Files->Folder());
        auto window = Open();
        TPictureGrid &grid = OpenGrid(*window);
        grid.grab();
        TPictureCache *pictures = window->VellArtReader1->Pictures();
        QVERIFY(pictures->Item(1).Missing);
        QVERIFY(!pictures->Item(2).Missing);
        QVERIFY(pictures->HeldBytes() < 1024 * 1024);
        ClickCell(grid, 1);
        QCOMPARE(window->Image1Bitmap.size(), QSize(1, 1));
    }

    // Forty pictures of 2,048 x 2,048, 8 MB each, all in view at once, then
    // 600 of 1,024 x 1,024 paged through to the end: the cache holds many
    // pictures, never more than its cap.
    void cacheStaysWithinItsCap()
    {
        ArtWriter art;
        art.PadToEntry(ArtWriter::StaticArtBase);
        for (const auto &[side, tiles] : {std::pair{2048, 40}, std::pair{1024, 600}}) {
            ArtWriter::RunLengthPicture large;
            large.Width = std::uint16_t(side);
            large.Height = std::uint16_t(side);
            const ArtWriter::Bytes entry = ArtWriter::RunLengthEntry(large);
            const std::int32_t at = art.AppendArtBytes(entry);
            for (int tile = 0; tile < tiles; ++tile)
                art.AddIndexRecord(at, std::int32_t(entry.size()));
        }
        art.WriteTo(Files->Folder());
        auto window = Open();
        TPictureGrid &grid = OpenGrid(*window);
        grid.SetCellSize(32);
        const TPictureCache &pictures = *window->VellArtReader1->Pictures();
        grid.grab();
        QVERIFY(pictures.HeldBytes() >= 2048 * 2048 * 2);
        QVERIFY(pictures.HeldBytes() <= TPictureCache::CapBytes);
        grid.setCurrentIndex(grid.model()->index(0, 0));
        while (grid.currentIndex().row() < 640) {
            QTest::keyClick(&grid, Qt::Key_PageDown);
            grid.grab();
            QVERIFY(pictures.HeldBytes() <= TPictureCache::CapBytes);
        }
        QVERIFY(pictures.HeldBytes() >= TPictureCache::CapBytes / 2);
    }

    // Undo, Copy Tiles and Go to, pressed in the Pictures window, act on the
    // grid's selection as they do from the list.
    void menuKeysWorkInTheGrid()
    {
        ClearWall(4, 6);
        auto window = Open();
        TPictureGrid &grid = OpenGrid(*window);
        ClickCell(grid, 4);
        ClickCell(grid, 6, Qt::ShiftModifier);
        QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text().count(QLatin1Char('\n')), 4);
        window->cbWall->click();
        QVERIFY(window->Document->IsModified());
        QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!window->Document->IsModified());
        Answers->Then(Type(QStringLiteral("20")));
        QTest::keyClick(&grid, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(Selected(grid), std::vector<int>{0x20});
        QCOMPARE(Selected(*window->ListBox1), std::vector<int>{0x20});
    }

    void typedValueGoesInBeforeGoTo_data()
    {
        QTest::addColumn<bool>("fromGrid");
        QTest::addColumn<int>("weight");
        QTest::newRow("Ctrl+G in the box") << false << 42;
        QTest::newRow("Ctrl+G in the Pictures window") << true << 42;
        QTest::newRow("refused, in the box") << false << 300;
        QTest::newRow("refused, in the Pictures window") << true << 300;
    }

    // A weight typed for tile 3, not yet committed by leaving its box, is
    // the tile's when Go to moves on; one that is refused stops Go to before
    // it asks.
    void typedValueGoesInBeforeGoTo()
    {
        QFETCH(bool, fromGrid);
        QFETCH(int, weight);
        auto window = Open();
        TPictureGrid &grid = OpenGrid(*window);
        Activate(*window);
        ClickLine(*window, 3);
        const int before = window->TileData()->GetWeight(3);
        TypeInto(window->edWeight, QString::number(weight));
        const bool refused = weight > 255;
        if (!refused)
            Answers->Then(Type(QStringLiteral("20")));
        if (fromGrid) {
            grid.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&grid));
        }
        QTest::keyClick(fromGrid ? static_cast<QWidget *>(&grid) : window->edWeight, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(window->Document->CurrentTile(), refused ? 3 : 0x20);
        QCOMPARE(window->TileData()->GetWeight(3), refused ? before : weight);
        QCOMPARE(Answers->Boxes.size(), refused ? 1 : 0);
    }

    void picturesComeFromEachSource_data()
    {
        QTest::addColumn<bool>("land");
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("newer");
        QTest::newRow("items, art.mul") << false << "art.mul" << false;
        QTest::newRow("land, art.mul") << true << "art.mul" << false;
        QTest::newRow("items beyond the classic end, container") << false << "container" << true;
        QTest::newRow("land, container, newer") << true << "container" << true;
    }

    // One tile has a red picture; its cell shows it, the cell of a tile with
    // none does not, and the art view shows the same picture. (Patches are
    // read once a process, from beside its first art, so verdata.mul has
    // its tests of its own.)
    void picturesComeFromEachSource()
    {
        QFETCH(bool, land);
        QFETCH(QString, source);
        QFETCH(bool, newer);
        const int tile = newer && !land ? 0x8002 : 2;
        const int entry = land ? tile : ArtWriter::StaticArtBase + tile;
        const ArtWriter::Bytes red =
            land ? ArtWriter::RawEntry(ArtWriter::DiamondOf(ArtWriter::Pixels(44 * 44, 0x7C00)))
                 : ArtWriter::RunLengthEntry(ArtWriter::RunsOf(20, 30, ArtWriter::Pixels(20 * 30, 0x7C00), 0));
        if (source == QLatin1String("container")) {
            ContainerWriter container;
            container.AddArt(entry, red, true);
            container.WriteTo(Files->Folder() + QStringLiteral("/artLegacyMUL.uop"));
        } else {
            ArtWriter art;
            art.PadToEntry(entry);
            art.AddEntry(red);
            art.WriteTo(Files->Folder());
        }
        std::unique_ptr<TForm1> window;
        if (newer) {
            LayoutTileWriter::Newer(2048, 5).WriteTo(Files->Path());
            window = OpenWindow(*Answers, Files->Path());
        } else {
            window = Open();
        }
        if (land)
            Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
        TPictureGrid &grid = OpenGrid(*window);
        ClickCell(grid, tile);
        const QImage shown = grid.viewport()->grab().toImage();
        const auto cell = [&](int Tile) { return grid.visualRect(grid.model()->index(Tile, 0)); };
        QVERIFY(RedPixels(shown, cell(tile)) > 100);
        QCOMPARE(RedPixels(shown, cell(tile + 1)), 0);
        QVERIFY(RedPixels(window->Image1Bitmap, window->Image1Bitmap.rect()) > 100);
    }

    // At 32 pixels, the cell of the last of 131,072 tiles, differing from
    // the file compared with, holds its whole bold label and its mark: its
    // border columns, and everything around it, stay unpainted.
    void labelAndMarkStayInTheirCell()
    {
        LayoutTileWriter::Newer(4096, 5).WriteTo(Files->Path());
        LayoutTileWriter::Newer(4096, 6).WriteTo(Files->Folder() + QStringLiteral("/other.mul"));
        auto window = OpenWindow(*Answers, Files->Path());
        TPictureGrid &grid = OpenGrid(*window);
        window->findChild<TCompareTools *>()->CompareWith(Files->Folder() + QStringLiteral("/other.mul"));
        grid.SetCellSize(32);
        const QModelIndex index = grid.model()->index(0x1FFFF, 0);
        QStyleOptionViewItem option;
        option.font = grid.font();
        option.palette = grid.palette();
        option.state = QStyle::State_Enabled | QStyle::State_Active;
        option.rect = QRect(QPoint(8, 8), grid.itemDelegate()->sizeHint(option, index));
        QImage image(option.rect.size() + QSize(16, 16), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            grid.itemDelegate()->paint(&painter, option, index);
        }
        const QRect inner = option.rect.adjusted(1, 0, -1, 0);
        int marked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) != 0 && !inner.contains(x, y))
                    QFAIL(qPrintable(QStringLiteral("painted at %1, %2, outside %3 x %4 at 8, 8")
                                         .arg(x).arg(y).arg(option.rect.width()).arg(option.rect.height())));
                marked += pixel == TDifferenceDelegate::MarkColor().rgba();
            }
        }
        QVERIFY(marked > 10);
    }

    // The window's title, count and notice follow the document; Go to
    // asked from the grid stands over it and leaves the arrows to the grid;
    // the bar of a file changed on disk shows in it too.
    void windowSpeaksForItself()
    {
        auto window = Open();
        TPictureGrid &grid = OpenGrid(*window);
        TPicturesWindow &pictures = *window->Pictures;
        const auto count = [&] { return pictures.findChild<QLabel *>(QStringLiteral("PicturesCount"))->text(); };
        ClickCell(grid, 4);
        ClickCell(grid, 6, Qt::ShiftModifier);
        QCOMPARE(count(), QStringLiteral("16,383 tiles, 3 selected"));
        window->cbWall->click();
        QVERIFY(pictures.isWindowModified());
        Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
        QCOMPARE(pictures.windowTitle(), QStringLiteral("Pictures - Land - tiledata.mul[*] - Quorvane"));
        Shortcut(*window, Qt::CTRL | Qt::Key_Tab);

        auto *notice = pictures.findChild<QLabel *>(QStringLiteral("PicturesNotice"));
        QCOMPARE(notice->text(), QStringLiteral("No art was found beside the file: the tiles have no pictures"));
        QTest::keyClicks(window->findChild<QLineEdit *>(QStringLiteral("FilterBox")), QStringLiteral("zzz"));
        QCOMPARE(notice->text(), QStringLiteral("No tile matches the filter"));
        QVERIFY(notice->isVisible());
        window->findChild<QLineEdit *>(QStringLiteral("FilterBox"))->clear();

        pictures.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&pictures));
        grid.setFocus();
        QWidget *over = nullptr;
        Answers->Then([&](QWidget *Dialog) {
            over = Dialog->parentWidget();
            Type(QStringLiteral("20"))(Dialog);
        });
        QTest::keyClick(&grid, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(over, &pictures);
        QTRY_COMPARE(QApplication::focusWidget(), &grid);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(window->Document->CurrentTile(), 0x21);

        QVERIFY(TestFiles::WriteByteElsewhere(Files->Path(), TileDataWriter::OffsetOf(9) + 2, '!'));
        QTRY_VERIFY(pictures.findChild<QWidget *>(QStringLiteral("PicturesFileWatchBar"))->isVisible());
    }

    // A hex index typed in the grid goes to its tile, Escape back; Space
    // previews the picture with the tip's text; Ctrl+0 resets the cell
    // size, and the columns fill the width; Alt+S saves; the cell menu
    // offers what acts on the selection, and Show in List.
    void browserKeys()
    {
        ClearWall(4, 4);
        auto window = Open();
        TPictureGrid &grid = OpenGrid(*window);
        ClickCell(grid, 4);
        grid.setFocus();
        QTest::keyClicks(&grid, QStringLiteral("1a"));
        QCOMPARE(window->Document->CurrentTile(), 0x1A);
        QTest::keyClick(&grid, Qt::Key_Escape);
        QCOMPARE(window->Document->CurrentTile(), 4);

        QTest::keyClick(&grid, Qt::Key_Space);
        auto *preview = grid.findChild<QWidget *>(QStringLiteral("PicturePreview"));
        QVERIFY(preview && preview->isVisible());
        QVERIFY(preview->findChildren<QLabel *>().back()->text().startsWith(QLatin1String("0x0004 n4")));
        QTest::keyClick(&grid, Qt::Key_Space);
        QVERIFY(!preview->isVisible());

        grid.SetCellSize(128);
        QTest::keyClick(&grid, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(grid.CellSize(), 64);
        for (const int width : {500, 640, 777}) {
            window->Pictures->resize(width, 400);
            const auto strip = [&] {
                int right = 0;
                for (int row = 0; grid.visualRect(grid.model()->index(row, 0)).top() <= 0; ++row)
                    right = grid.visualRect(grid.model()->index(row, 0)).right();
                return grid.viewport()->width() - 1 - right;
            };
            QTRY_VERIFY2(strip() < 16, qPrintable(QString::number(strip())));
        }

        window->cbWall->click();
        QTest::keyClick(&grid, Qt::Key_S, Qt::AltModifier);
        QVERIFY(!window->Document->IsModified());

        QStringList entries;
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            for (QAction *entry : menu->actions())
                entries << entry->text();
            menu->setActiveAction(menu->actions().back());
            QTest::keyClick(menu, Qt::Key_Return);
        });
        const QPoint at = grid.visualRect(grid.model()->index(7, 0)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid.viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid.viewport(), &event);
        QCOMPARE(entries, (QStringList{"&Copy Tiles", "&Paste Tiles", "&Go to Tile...", "", "Show in &List"}));
        QCOMPARE(window->Document->SelectedTiles(), std::vector<int>{7});
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(QApplication::focusWidget(), window->ListBox1);
    }

    // The cell size chosen is the next window's; it is kept in a settings
    // file of the tests' own, never in the user's.
    void cellSizeIsRemembered()
    {
        {
            auto window = Open();
            TPictureGrid &grid = OpenGrid(*window);
            grid.SetCellSize(64);
            grid.setFocus();
            QTest::keyClick(&grid, Qt::Key_Minus, Qt::ControlModifier);
            QCOMPARE(grid.CellSize(), 44);
        }
        auto window = Open();
        QCOMPARE(OpenGrid(*window).CellSize(), 44);
        OpenGrid(*window).SetCellSize(64);
        const QSettings settings(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Quorvane"),
                                 QStringLiteral("Quorvane"));
        QVERIFY2(settings.fileName().startsWith(QDir::tempPath()), qPrintable(settings.fileName()));
        QVERIFY(QFile::exists(settings.fileName()));
    }
};

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"
