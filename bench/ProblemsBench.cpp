// The findings following an edit: the Animation flag of one item toggled
// in a newer file of 65,536 items, with the art, animdata.mul, the textures
// and radarcol.mul beside it, while the "Problems" switch is on and every
// tile's findings were worked out; against the same edit in a window whose
// findings were never worked out and do not follow the document. And what
// the switch costs the first time: the files beside read and every tile
// checked, against `quorvane-tool dump` of the same tile data file.

#include "bench/BenchFiles.h"
#include "bench/BenchPictures.h"
#include "bench/BenchRegistry.h"
#include "bench/BenchWidgets.h"

#include "app/check/FindingsLine.h"
#include "app/check/ProblemsFilter.h"
#include "app/check/ProblemsTools.h"
#include "app/check/TileProblems.h"
#include "app/document/TileDocument.h"
#include "app/form/Unit1.h"
#include "app/list/ListBox.h"
#include "app/list/TileListModel.h"
#include "cli/ToolCommands.h"
#include "tiletext/TileDump.h"
#include "tests/support/AnimationWriter.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TextureWriter.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QToolButton>

#include <memory>
#include <stdexcept>

namespace {

constexpr int AnimationBit = 24;
// Every 16th item has an animation entry of four frames; the edited one
// starts without the flag, so that it has a finding.
constexpr int Edited = 0x100;
constexpr int RadarEntries = 0x13FDC;

QString Folder()
{
    const QString folder = BenchFiles::Instance().Folder() + "problems/";
    if (QDir(folder).exists())
        return folder;
    QDir().mkpath(folder);
    LayoutTileWriter tiles = BenchFiles::RandomNewer();
    LayoutTileWriter::Item edited = tiles.ReadItem(Edited);
    // Its only finding: no flag bit without a name either.
    edited.Flags &= ~(std::uint64_t(1) << AnimationBit) & ((std::uint64_t(1) << 40) - 1);
    tiles.SetItem(Edited, edited);
    tiles.WriteTo(folder + "tiledata.mul");
    ArtWriter art;
    art.PadToEntry(ArtWriter::StaticArtBase + Edited);
    for (int k = 0; k < 4; ++k)
        art.AddRunLength(44, 60, ItemPicture(44, 60, std::uint32_t(k + 1)), 0);
    art.PadToEntry(ArtWriter::StaticArtBase + tiles.Items());
    art.WriteTo(folder);
    AnimationWriter animations;
    for (int item = 0; item < tiles.Items(); item += 16)
        animations.SetEntry(item, {0, 1, 2, 3}, 1, 0);
    animations.SetBlockCount(tiles.Items() / 8);
    animations.WriteTo(folder);
    TextureWriter textures;
    textures.AddTexture(64, [](int X, int Y) { return std::uint16_t((X * 31 + Y) & 0x7FFF); });
    textures.WriteTo(folder);
    std::vector<unsigned char> radar(std::size_t(RadarEntries) * 2, 0x21);
    TestFiles::WriteBytes(folder + "radarcol.mul", radar);
    return folder;
}

// The window as a file named on the command line opens it.
std::shared_ptr<TForm1> OpenedWindow(const QString &Path)
{
    auto window = std::make_shared<TForm1>(nullptr, Path);
    window->show();
    SettleWidgets();
    return window;
}

// The flag set on the edited item, cleared on the next pass, painted; the
// steps are dropped outside the count.
BenchSetup EditSetup(bool Problems)
{
    return [Problems] {
        std::shared_ptr<TForm1> window = OpenedWindow(Folder() + "tiledata.mul");
        TProblemsTools &checks = *window->Checks;
        if (Problems) {
            checks.Filter->Switch->click();
            SettleWidgets();
        } else {
            window->Document->disconnect(checks.Problems);
            window->Document->disconnect(checks.Line);
        }
        window->ListBox1->setCurrentIndex(window->ListModel->index(window->ListModel->RowOf(Edited)));
        SettleWidgets();
        if (window->Document->CurrentTile() != Edited || checks.Line->Line().isEmpty() == Problems
            || window->ListModel->IsFiltered() != Problems)
            throw std::logic_error("the edited item is not shown as it should be");
        auto set = std::make_shared<bool>(true);
        BenchBody body = [window, set] {
            window->Document->SetFlag(AnimationBit, *set);
            *set = !*set;
            SettleWidgets();
            RunUntimed([&] { window->Document->UndoStack().clear(); });
        };
        if (Problems) {
            body();
            if (!checks.Line->Line().isEmpty() || checks.Problems->Has(TTileKind::Item, Edited))
                throw std::logic_error("the edit did not mend the item's finding");
            body();
        }
        return body;
    };
}

// A document on the file, and a fresh view of its findings each time, asked
// whether the first tile has any: every tile of the section is checked.
BenchBody AllFindingsCase()
{
    auto document = std::make_shared<TTileDocument>(nullptr);
    document->Load(Folder() + "tiledata.mul", TLoadKind::Open);
    return [document] {
        TTileProblems problems(*document, nullptr);
        benchmark::DoNotOptimize(problems.Has(TTileKind::Item, 0));
        benchmark::DoNotOptimize(problems.Has(TTileKind::Land, 0));
    };
}

BenchBody ToolDumpBaseline()
{
    const std::string path = LocalPath(Folder() + "tiledata.mul");
    return [path] {
        const CommandResult result = ToolCommands::Dump(path, DumpOptions());
        benchmark::DoNotOptimize(result.Output.data());
    };
}

const BenchPairRegistration AllFindings({"every finding of 65,536 items and 16,384 land tiles, files beside read",
                                         "AllFindings", "ToolDumpNewerClient", 1.5},
                                        AllFindingsCase, ToolDumpBaseline);
const BenchPairRegistration EditWithProblems({"one item's Animation flag toggled, findings of 65,536 items followed",
                                              "EditWithProblems", "EditWithoutProblems", 1.2},
                                             EditSetup(true), EditSetup(false));

} // namespace
