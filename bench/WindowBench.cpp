// The main window: start-up to a filled, shown window, one selection with
// its picture, switching between the item and the land list, and one edit,
// its undo and a copy of every tile of a newer file, against the least Qt
// (or the tool) can do for the same.

#include "bench/BenchFiles.h"
#include "bench/BenchPictures.h"
#include "bench/BenchRegistry.h"
#include "bench/BenchWidgets.h"

#include "app/document/TileClipboard.h"
#include "app/document/TileDocument.h"
#include "app/form/Unit1.h"
#include "art/ReadArtIDX.h"
#include "cli/ToolCommands.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/LayoutTileWriter.h"
#include "tiletext/TileDump.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileDialog>
#include "app/list/ListBox.h"
#include "app/list/TileListModel.h"
#include "app/list/TileSections.h"
#include <QMainWindow>
#include <QTimer>

#include <QUndoStack>

#include <memory>
#include <numeric>
#include <random>
#include <stdexcept>

namespace {

// Two tiles whose pictures are run-length items of a common size; the
// selection benchmark moves between them.
constexpr int PictureTiles[] = {0x10, 0x11};
constexpr int PictureWidth = 60;
constexpr int PictureHeight = 80;
constexpr int StaticArtBase = 0x4000;
constexpr int IndexEntries = StaticArtBase + 16384; // a full index of land and static art

// The art files beside the tile data file: every static tile has an index
// record, two of them pictures, the rest absent, the land tiles of the same
// numbers raw diamonds, and an empty patch file.
const QString &ArtFolder()
{
    static const QString folder = [] {
        ArtWriter writer;
        writer.PadToEntry(PictureTiles[0]);
        for (const int tile : PictureTiles)
            writer.AddRawPicture(ItemPicture(44, 44, std::uint32_t(tile)));
        for (const int tile : PictureTiles) {
            writer.PadToEntry(StaticArtBase + tile);
            writer.AddRunLength(PictureWidth, PictureHeight,
                                ItemPicture(PictureWidth, PictureHeight, std::uint32_t(tile)), 0);
        }
        writer.PadToEntry(IndexEntries);
        const QString made = BenchFiles::Instance().Folder();
        writer.WriteTo(made);
        return made;
    }();
    return folder;
}

// The tile data file, with the art beside it.
QString TileDataPath()
{
    ArtFolder();
    return BenchFiles::Instance().TileDataPath();
}

// Answers the start-up dialog with a path as soon as it is up: a timer of
// interval 0 fires whenever the dialog's event loop is idle.
class StartDialogAnswer
{
public:
    explicit StartDialogAnswer(const QString &path)
    {
        QObject::connect(&FTimer, &QTimer::timeout, [this, path] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible())
                return;
            FTimer.stop();
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept();
        });
        FTimer.start(0);
    }

private:
    QTimer FTimer;
};

std::unique_ptr<TForm1> OpenedWindow(const QString &path)
{
    std::unique_ptr<TForm1> window;
    {
        const StartDialogAnswer answer(path);
        window = std::make_unique<TForm1>();
    }
    window->show();
    SettleWidgets();
    return window;
}

BenchBody StartUpCase()
{
    const QString path = TileDataPath();
    return [path] {
        const std::unique_ptr<TForm1> window = OpenedWindow(path);
        if (window->ListModel->rowCount() != 16383 || !window->VellArtReader1)
            throw std::logic_error("the window did not load the file and its art");
    };
}

BenchBody EmptyMainWindowBaseline()
{
    return [] {
        QMainWindow window;
        window.resize(718, 535);
        window.show();
        SettleWidgets();
    };
}

// The same two, each in a fresh process: what a user waits for from
// launching the program, with the process start, the libraries' loading,
// the application object and the first show of any window counted in.
const BenchChildRegistration StartUpChild("startup", [](const std::vector<std::string> &arguments) {
    if (arguments.size() != 1)
        return 2;
    const std::unique_ptr<TForm1> window = OpenedWindow(QString::fromLocal8Bit(arguments[0].c_str()));
    return window->ListModel->rowCount() == 16383 ? 0 : 1;
});

const BenchChildRegistration EmptyWindowChild("emptywindow", [](const std::vector<std::string> &) {
    EmptyMainWindowBaseline()();
    return 0;
});

BenchBody ColdStartUpCase()
{
    const std::string path = LocalPath(TileDataPath());
    return [path] { RunChild("startup", {path}); };
}

BenchBody ColdEmptyMainWindowBaseline()
{
    return [] { RunChild("emptywindow", {}); };
}

BenchBody SelectionCase()
{
    std::shared_ptr<TForm1> window = OpenedWindow(TileDataPath());
    auto next = std::make_shared<std::size_t>(0);
    BenchBody body = [window, next] {
        // The handler runs inside setCurrentRow, as it does when the user
        // clicks; painting what it changed is left out of the count.
        window->ListBox1->setCurrentIndex(window->ListModel->index(PictureTiles[*next]));
        *next = 1 - *next;
        RunUntimed(SettleWidgets);
    };
    body();
    if (window->Image1Bitmap.size() != QSize(PictureWidth, PictureHeight))
        throw std::logic_error("the selection did not draw the tile's picture");
    return body;
}

BenchBody DecodeBaseline()
{
    const QString folder = ArtFolder();
    auto reader = std::make_shared<TArtReader>(folder + QStringLiteral("art.mul"),
                                               folder + QStringLiteral("artidx.mul"), false);
    auto target = std::make_shared<QImage>();
    auto next = std::make_shared<std::size_t>(0);
    return [reader, target, next] {
        QPoint size;
        reader->DrawRunLengthArt(reader->Entry(StaticArtBase + PictureTiles[*next]).Offset, *target, size);
        *next = 1 - *next;
    };
}

// A shown window whose item list and land list each have a tile with a
// picture selected, the item list showing.
std::shared_ptr<TForm1> WindowWithBothLists()
{
    std::shared_ptr<TForm1> window = OpenedWindow(TileDataPath());
    auto *sections = window->findChild<TTileSections *>();
    for (int k = 0; k < 2; ++k) {
        window->ListBox1->setCurrentIndex(window->ListModel->index(PictureTiles[0]));
        sections->Toggle();
    }
    SettleWidgets();
    if (sections->Shown() != TTileKind::Item || window->Image1Bitmap.size() != QSize(PictureWidth, PictureHeight))
        throw std::logic_error("the window does not show the item tile");
    return window;
}

// Switching is a fill of the list of the other section and the showing of
// its selected tile, painted.
BenchBody SwitchCase()
{
    std::shared_ptr<TForm1> window = WindowWithBothLists();
    auto *sections = window->findChild<TTileSections *>();
    return [window, sections] {
        sections->Toggle();
        SettleWidgets();
    };
}

// Filling the shown list again from the store, painted: what the window
// does after a save.
BenchBody FillListBaseline()
{
    std::shared_ptr<TForm1> window = WindowWithBothLists();
    return [window] {
        window->ListModel->Refill();
        SettleWidgets();
    };
}

// Selecting a land tile: its name, flags and texture, and its 44 x 44
// picture, painted; the selection moves between two land tiles.
BenchBody LandSelectionCase()
{
    std::shared_ptr<TForm1> window = WindowWithBothLists();
    window->findChild<TTileSections *>()->Toggle();
    auto next = std::make_shared<std::size_t>(0);
    BenchBody body = [window, next] {
        window->ListBox1->setCurrentIndex(window->ListModel->index(PictureTiles[*next]));
        *next = 1 - *next;
        SettleWidgets();
    };
    body();
    if (window->Image1Bitmap.size() != QSize(44, 44))
        throw std::logic_error("the selection did not draw the land tile's picture");
    return body;
}

BenchBody FillLandListBaseline()
{
    std::shared_ptr<TForm1> window = WindowWithBothLists();
    window->findChild<TTileSections *>()->Toggle();
    return [window] {
        window->ListModel->Refill();
        SettleWidgets();
    };
}

// A newer file as the real ones are: 65,536 item tiles with random records
// and names of 0 to 20 letters, beside the art files.
constexpr int NewerTiles = 65536;
constexpr int EditedBit = 40;

struct NewerFile
{
    QString Path;
    std::vector<unsigned char> Bytes;
    std::vector<std::size_t> FlagOffsets; // of each item tile's flags
};

const NewerFile &NewerTileData()
{
    static const NewerFile file = [] {
        LayoutTileWriter writer = BenchFiles::RandomNewer();
        NewerFile made{ArtFolder() + QStringLiteral("newer.mul"), writer.Bytes(), {}};
        writer.WriteTo(made.Path);
        for (int i = 0; i < writer.Items(); ++i)
            made.FlagOffsets.push_back(writer.ItemOffset(i));
        return made;
    }();
    return file;
}

// A window on the newer file with every item tile selected, as Ctrl+A does.
std::shared_ptr<TForm1> WindowWithAllSelected()
{
    std::shared_ptr<TForm1> window = OpenedWindow(NewerTileData().Path);
    if (window->ListModel->rowCount() != NewerTiles)
        throw std::logic_error("the window did not load the newer file");
    window->ListBox1->setFocus();
    window->ListBox1->selectAll();
    SettleWidgets();
    if (window->Document->SelectedTiles().size() != std::size_t(NewerTiles))
        throw std::logic_error("Ctrl+A did not select every tile");
    return window;
}

void RepaintList(TForm1 &Window)
{
    Window.ListBox1->viewport()->repaint();
}

// One flag set on every tile (cleared on the next pass), one undo step,
// with the list repainted. The steps are dropped outside the count.
BenchBody FlagOnEveryTileCase()
{
    std::shared_ptr<TForm1> window = WindowWithAllSelected();
    auto set = std::make_shared<bool>(true);
    return [window, set] {
        window->Document->SetFlag(EditedBit, *set);
        RepaintList(*window);
        *set = !*set;
        RunUntimed([&] { window->Document->UndoStack().clear(); });
    };
}

// Its undo: the edit, and the selection of every tile again, outside the
// count.
BenchBody UndoFlagOnEveryTileCase()
{
    std::shared_ptr<TForm1> window = WindowWithAllSelected();
    auto set = std::make_shared<bool>(true);
    return [window, set] {
        RunUntimed([&] {
            window->ListBox1->selectAll();
            window->Document->SetFlag(EditedBit, *set);
            RepaintList(*window);
            *set = !*set;
        });
        window->Document->UndoStack().undo();
        RepaintList(*window);
        RunUntimed([&] { window->Document->UndoStack().clear(); });
    };
}

// The bit toggled in 65,536 records of a byte copy of the file, plus one
// repaint of the list: the least an edit of every tile can do.
BenchBody BareFlagLoopBaseline()
{
    std::shared_ptr<TForm1> window = WindowWithAllSelected();
    auto bytes = std::make_shared<std::vector<unsigned char>>(NewerTileData().Bytes);
    return [window, bytes] {
        for (const std::size_t offset : NewerTileData().FlagOffsets)
            (*bytes)[offset + EditedBit / 8] ^= std::uint8_t(1u << (EditedBit % 8));
        benchmark::DoNotOptimize(bytes->data());
        RepaintList(*window);
    };
}

BenchBody CopyEveryTileCase()
{
    std::shared_ptr<TForm1> window = WindowWithAllSelected();
    auto *clipboard = window->findChild<TTileClipboard *>();
    return [window, clipboard] { clipboard->Copy(); };
}

BenchBody ToolDumpBaseline()
{
    const std::string path = LocalPath(NewerTileData().Path);
    return [path] {
        const CommandResult result = ToolCommands::Dump(path, DumpOptions());
        benchmark::DoNotOptimize(result.Output.data());
    };
}

const BenchPairRegistration StartUp({"start-up to a shown window with the list filled (dialog answered)", "StartUp",
                                     "EmptyMainWindow", 1.5},
                                    StartUpCase, EmptyMainWindowBaseline);
const BenchPairRegistration ColdStartUp({"start-up in a fresh process (dialog answered)", "ColdStartUp",
                                         "ColdEmptyMainWindow", 1.5},
                                        ColdStartUpCase, ColdEmptyMainWindowBaseline);
const BenchPairRegistration Selection({"one selection, ListBox1Click with a run-length picture", "ListBox1Click",
                                       "DecodePicture", 1.5},
                                      SelectionCase, DecodeBaseline);

const BenchPairRegistration SwitchLists({"switch between the item and the land list (fill, select, show, paint)",
                                         "SwitchLists", "FillList", 0},
                                        SwitchCase, FillListBaseline);
const BenchPairRegistration LandSelection({"one land tile selected, with its 44 x 44 picture, painted",
                                           "ShowLandTile", "FillLandList", 0},
                                          LandSelectionCase, FillLandListBaseline);

const BenchPairRegistration FlagOnEveryTile({"Ctrl+A then one flag on 65,536 tiles of a newer file, list repainted",
                                             "FlagOnEveryTile", "BareFlagLoop", 1.5},
                                            FlagOnEveryTileCase, BareFlagLoopBaseline);
const BenchPairRegistration UndoFlagOnEveryTile({"undo of one flag on 65,536 tiles, list repainted",
                                                 "UndoFlagOnEveryTile", "BareFlagLoopForUndo", 1.5},
                                                UndoFlagOnEveryTileCase, BareFlagLoopBaseline);
const BenchPairRegistration CopyEveryTile({"copy of 65,536 tiles of a newer file (Ctrl+A, Ctrl+C)", "CopyEveryTile",
                                           "ToolDumpNewer", 1.5},
                                          CopyEveryTileCase, ToolDumpBaseline);

} // namespace
