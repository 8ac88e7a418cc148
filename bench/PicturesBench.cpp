// The Pictures window on a newer file of 65,536 item tiles, every one with a
// picture: the first screen of 64-pixel cells at 1000 x 800, and a page of
// the grid after Page Down, each against the bare work of decoding the
// pictures of those cells and drawing them scaled into one image; a click on
// a cell against one on a line of the main window's list; and, in fresh
// processes, the memory the window takes to page through the whole grid, on
// good art and on art whose every entry claims a picture of 65,535 x 2,560.

#include "bench/BenchFiles.h"
#include "bench/BenchMemory.h"
#include "bench/BenchPictures.h"
#include "bench/BenchRegistry.h"
#include "bench/BenchWidgets.h"

#include "app/document/TileDocument.h"
#include "app/form/Unit1.h"
#include "app/list/TileListModel.h"
#include "app/pictures/PictureGrid.h"
#include "app/pictures/PicturesWindow.h"
#include "art/PictureCache.h"
#include "art/ReadArtIDX.h"
#include "art/VellArtReader.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/ContainerWriter.h"
#include "tests/support/LayoutTileWriter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>
#include <memory>
#include <stdexcept>

namespace {

constexpr int Tiles = 65536;
constexpr int ArtBase = 0x4000;
constexpr int Shapes = 64;

// A folder with the newer tile data file and art.mul: 64 pictures of 30 x 40
// to 93 x 103 pixels, the index pointing every item tile at one of them, so
// each tile is its own entry to decode.
struct PictureFolder
{
    PictureFolder()
    {
        BenchFiles::RandomNewer().WriteTo(Dir.filePath(QStringLiteral("tiledata.mul")));
        ArtWriter writer;
        std::vector<std::pair<std::int32_t, std::int32_t>> places;
        for (int k = 0; k < Shapes; ++k) {
            const int width = 30 + k;
            const int height = 40 + k;
            const ArtWriter::Bytes entry = ArtWriter::RunLengthEntry(
                ArtWriter::RunsOf(width, height, ItemPicture(width, height, std::uint32_t(k)), 0));
            places.emplace_back(writer.AppendArtBytes(entry), std::int32_t(entry.size()));
        }
        writer.PadToEntry(ArtBase);
        for (int tile = 0; tile < Tiles; ++tile)
            writer.AddIndexRecord(places[std::size_t(tile % Shapes)].first, places[std::size_t(tile % Shapes)].second);
        writer.WriteTo(Dir.path());
    }
    QString Path() const { return Dir.filePath(QStringLiteral("tiledata.mul")); }

    QTemporaryDir Dir;
};

const PictureFolder &Folder()
{
    static const PictureFolder folder;
    return folder;
}

// The window with TileData open, and the art beside it.
std::shared_ptr<TForm1> OpenedWindow(const QString &TileData = Folder().Path())
{
    // The window's place and cell size go to a settings file of the tests,
    // not to the user's.
    QStandardPaths::setTestModeEnabled(true);
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&answer, &TileData] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        answer.stop();
        dialog->selectFile(TileData);
        static_cast<QDialog *>(dialog)->accept();
    });
    answer.start(0);
    auto window = std::make_shared<TForm1>();
    window->show();
    SettleWidgets();
    if (window->ListModel->rowCount() != Tiles || !window->VellArtReader1)
        throw std::logic_error("the window did not load the newer file and its art");
    return window;
}

void ShowGrid(TForm1 &Window)
{
    Window.OpenPictures();
    Window.Pictures->resize(1000, 800);
    Window.Pictures->Grid->SetCellSize(64);
    SettleWidgets();
}

// The rows of a list or grid in view from the top, those cut by its edge
// too unless Whole.
std::vector<int> RowsInView(const QAbstractItemView &View, bool Whole)
{
    const QRect area = View.viewport()->rect();
    std::vector<int> rows;
    for (int row = View.indexAt(QPoint(1, 1)).row(); row >= 0 && row < View.model()->rowCount(); ++row) {
        const QRect cell = View.visualRect(View.model()->index(row, 0));
        if (!area.intersects(cell))
            break;
        if (!Whole || area.contains(cell))
            rows.push_back(row);
    }
    return rows;
}

int CellsInView(const TPictureGrid &Grid)
{
    return int(RowsInView(Grid, false).size());
}

BenchBody FirstScreenCase()
{
    std::shared_ptr<TForm1> window = OpenedWindow();
    ShowGrid(*window);
    const QString art = Folder().Dir.path();
    BenchBody body = [window, art] {
        RunUntimed([&] {
            window->Pictures->hide();
            // A fresh cache: the art bound anew.
            window->VellArtReader1->SetArtMulPath(art);
            window->Pictures->Grid->scrollToTop();
            SettleWidgets();
        });
        window->OpenPictures();
        // The offscreen platform exposes the window at its own pace; the
        // grab paints the viewport as its first expose would.
        window->Pictures->Grid->viewport()->grab();
    };
    body();
    if (window->VellArtReader1->Pictures()->HeldBytes() < 100 * 30 * 40 * 2)
        throw std::logic_error("the first screen decoded no pictures");
    return body;
}

// Decodes the pictures of Count cells from tile First on and draws each,
// scaled as the grid would, into one image of the window's size.
void DrawCells(TArtReader &Reader, QImage &Screen, int First, int Count)
{
    QPainter painter(&Screen);
    painter.fillRect(Screen.rect(), Qt::white);
    const int columns = Screen.width() / 70;
    for (int k = 0; k < Count; ++k) {
        QImage picture;
        QPoint size;
        Reader.DrawArt(ArtBase + First + k, picture, size);
        const QRect cell((k % columns) * 70 + 3, (k / columns) * 83 + 3, 64, 64);
        QSize fit = picture.size();
        if (fit.width() > 64 || fit.height() > 64)
            fit.scale(64, 64, Qt::KeepAspectRatio);
        painter.drawImage(QRect(cell.topLeft(), fit), picture);
    }
}

// The bare work of a screen of cells: the next page of them each time
// while Paging, else the first screen again and again.
BenchBody DrawPagesBaseline(bool Paging)
{
    std::shared_ptr<TForm1> window = OpenedWindow();
    ShowGrid(*window);
    const int cells = CellsInView(*window->Pictures->Grid);
    const QString art = Folder().Dir.path();
    auto reader = std::make_shared<TArtReader>(art + QStringLiteral("/art.mul"), art + QStringLiteral("/artidx.mul"),
                                               false);
    auto screen = std::make_shared<QImage>(1000, 800, QImage::Format_RGB32);
    auto first = std::make_shared<int>(0);
    return [reader, screen, cells, first, Paging] {
        if (Paging)
            *first = *first + cells >= Tiles - cells ? 0 : *first + cells;
        DrawCells(*reader, *screen, *first, cells);
    };
}

// Page Down in the grid, and the page it brings painted at once.
void PressPageDown(TPictureGrid &Grid)
{
    QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(&Grid, &down);
    Grid.viewport()->repaint();
}

BenchBody PageDownCase()
{
    std::shared_ptr<TForm1> window = OpenedWindow();
    ShowGrid(*window);
    TPictureGrid *grid = window->Pictures->Grid;
    grid->setCurrentIndex(grid->model()->index(0, 0));
    return [window, grid] {
        if (grid->currentIndex().row() >= Tiles - 200)
            RunUntimed([&] {
                grid->setCurrentIndex(grid->model()->index(0, 0));
                SettleWidgets();
            });
        PressPageDown(*grid);
    };
}

// A press and release of the left button in the middle of Row's cell, as
// the window system delivers a click.
void ClickRow(QAbstractItemView &View, int Row)
{
    const QPoint at = View.visualRect(View.model()->index(Row, 0)).center();
    const QPoint global = View.viewport()->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(View.viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(View.viewport(), &release);
}

bool ShowsTile(const TForm1 &Window, int Tile)
{
    return Window.TileShown && Window.Document->CurrentTile() == Tile
           && Window.ListModel->TileAt(Window.ListBox1->currentIndex().row()) == Tile;
}

// Runs what the click set going, painting included, until the main
// window's list and controls show Tile.
void SettleUntilShown(const TForm1 &Window, int Tile)
{
    for (int round = 0; round < 1000; ++round) {
        SettleWidgets();
        if (ShowsTile(Window, Tile))
            return;
    }
    throw std::logic_error("the main window did not show the clicked tile");
}

// Clicks the rows wholly in view of View (the grid or the main window's
// list, both over the list's lines) one after another, so that every click
// selects another tile.
BenchBody ClickRowsInTurn(const std::shared_ptr<TForm1> &Window, QAbstractItemView &View)
{
    const std::vector<int> rows = RowsInView(View, true);
    if (rows.size() < 2)
        throw std::logic_error("fewer than two rows in view to click");
    auto next = std::make_shared<std::size_t>(0);
    QAbstractItemView *view = &View;
    BenchBody body = [Window, view, rows, next] {
        *next = (*next + 1) % rows.size();
        const int row = rows[*next];
        ClickRow(*view, row);
        SettleUntilShown(*Window, Window->ListModel->TileAt(row));
    };
    body();
    return body;
}

BenchBody CellClickCase()
{
    std::shared_ptr<TForm1> window = OpenedWindow();
    ShowGrid(*window);
    return ClickRowsInTurn(window, *window->Pictures->Grid);
}

// The cheapest selection a user makes: the list's line, with the Pictures
// window never opened.
BenchBody LineClickBaseline()
{
    std::shared_ptr<TForm1> window = OpenedWindow();
    return ClickRowsInTurn(window, *window->ListBox1);
}

// Page Down through the grid from its first cell, each page painted, until
// it moves no further or after Pages pages (0: no limit).
void PageThrough(TPictureGrid &Grid, int Pages)
{
    Grid.setCurrentIndex(Grid.model()->index(0, 0));
    SettleWidgets();
    for (int page = 0; Pages == 0 || page < Pages; ++page) {
        const int before = Grid.currentIndex().row();
        PressPageDown(Grid);
        SettleWidgets();
        if (Grid.currentIndex().row() <= before)
            return;
    }
}

// Opens the window on a tile data file and its art, shows the grid and
// pages through it; writes to the figures file the RSS once the grid first
// showed, the RSS after the paging and the peak RSS, in KiB.
// Arguments: the tile data file, the figures file, the pages (0: all).
const BenchChildRegistration ScrollMemoryChild("pictures-memory", [](const std::vector<std::string> &Arguments) {
    if (Arguments.size() != 3)
        return 2;
    std::shared_ptr<TForm1> window = OpenedWindow(QString::fromLocal8Bit(Arguments[0].c_str()));
    ShowGrid(*window);
    TPictureGrid &grid = *window->Pictures->Grid;
    grid.viewport()->repaint();
    const std::int64_t shown = ProcessStatusKiB("VmRSS");
    PageThrough(grid, std::stoi(Arguments[2]));
    std::ofstream figures(Arguments[1]);
    figures << shown << ' ' << ProcessStatusKiB("VmRSS") << ' ' << ProcessStatusKiB("VmHWM") << '\n';
    return figures ? 0 : 1;
});

struct ScrollFigures
{
    double ShownMiB = 0;
    double ScrolledMiB = 0;
    double PeakMiB = 0;
};

ScrollFigures MeasureScroll(const QString &TileData, const QString &FiguresFile, bool Quick)
{
    RunChild("pictures-memory", {LocalPath(TileData), LocalPath(FiguresFile), Quick ? "8" : "0"});
    std::ifstream in(LocalPath(FiguresFile));
    double kib[3] = {};
    if (!(in >> kib[0] >> kib[1] >> kib[2]))
        throw std::runtime_error("the paging's child process wrote no figures");
    return {kib[0] / 1024, kib[1] / 1024, kib[2] / 1024};
}

// A folder with the tile data file of Folder() and art whose every item
// entry claims 65,535 x 2,560 pixels, far more than any picture of the
// game: art.mul with its index, all records at the one entry, or (Packed)
// the packed container with the entry under every item's name.
QString HostileFolder(const QTemporaryDir &Work, const QString &Name, bool Packed)
{
    const QString folder = Work.filePath(Name);
    if (!QDir().mkpath(folder) || !QFile::copy(Folder().Path(), folder + QStringLiteral("/tiledata.mul")))
        throw std::runtime_error("cannot lay out the folder of hostile art");
    ArtWriter::RunLengthPicture claim;
    claim.Width = 65535;
    claim.Height = 2560;
    const ArtWriter::Bytes entry = ArtWriter::RunLengthEntry(claim);
    if (Packed) {
        ContainerWriter container;
        // Packed once for all, where AddArt would pack it for each entry;
        // compression 1 is zlib, as AddArt marks what it packs.
        const ContainerWriter::Bytes packed = ContainerWriter::Pack(entry);
        for (int tile = 0; tile < Tiles; ++tile)
            container.AddEntry(container.KeyOf(ContainerWriter::ArtName(ArtBase + tile)), packed,
                               std::uint32_t(entry.size()), 1);
        container.WriteTo(folder + QStringLiteral("/artLegacyMUL.uop"));
    } else {
        ArtWriter writer;
        const std::int32_t at = writer.AppendArtBytes(entry);
        writer.PadToEntry(ArtBase);
        for (int tile = 0; tile < Tiles; ++tile)
            writer.AddIndexRecord(at, std::int32_t(entry.size()));
        writer.WriteTo(folder);
    }
    return folder + QStringLiteral("/tiledata.mul");
}

std::vector<MemoryFigure> ScrollMemory(bool Quick)
{
    const QTemporaryDir work;
    const ScrollFigures good = MeasureScroll(Folder().Path(), work.filePath(QStringLiteral("good.txt")), Quick);
    const ScrollFigures mul = MeasureScroll(HostileFolder(work, QStringLiteral("mul"), false),
                                            work.filePath(QStringLiteral("mul.txt")), Quick);
    const ScrollFigures packed = MeasureScroll(HostileFolder(work, QStringLiteral("packed"), true),
                                               work.filePath(QStringLiteral("packed.txt")), Quick);
    const double cacheCap = double(TPictureCache::CapBytes) / (1024 * 1024);
    return {
        {"Pictures window, good art: RSS at the first screen", good.ShownMiB, 0},
        {"good art: RSS growth after Page Down through the whole grid", good.ScrolledMiB - good.ShownMiB,
         cacheCap + 10},
        {"good art: peak RSS (VmHWM)", good.PeakMiB, 0},
        {"hostile art.mul: RSS growth after the same", mul.ScrolledMiB - mul.ShownMiB, 0},
        {"hostile art.mul: peak RSS", mul.PeakMiB, 0},
        {"hostile art.mul: peak above good art's", mul.PeakMiB - good.PeakMiB, 100},
        {"hostile packed container: RSS growth after the same", packed.ScrolledMiB - packed.ShownMiB, 0},
        {"hostile packed container: peak RSS", packed.PeakMiB, 0},
        {"hostile packed container: peak above good art's", packed.PeakMiB - good.PeakMiB, 100},
    };
}

const BenchMemoryRegistration ScrollMemoryReport(ScrollMemory);

const BenchPairRegistration FirstScreen({"Pictures window: first screen of 64-px cells at 1000 x 800", "PicturesFirstScreen",
                                         "DecodeAndDrawFirstScreen", 1.5},
                                        FirstScreenCase, [] { return DrawPagesBaseline(false); });
const BenchPairRegistration PageDown({"Pictures window: one Page Down, painted", "PicturesPageDown",
                                      "DecodeAndDrawOnePage", 1.5},
                                     PageDownCase, [] { return DrawPagesBaseline(true); });
const BenchPairRegistration CellClick({"Pictures window: a click on a cell until the main window shows its tile",
                                       "PicturesCellClick", "TileListLineClick", 1.2},
                                      CellClickCase, LineClickBaseline);

} // namespace
