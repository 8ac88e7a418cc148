// What a tile points to beside tiledata.mul, in the main window: a land
// tile shown with its texture against the same tile shown from a folder
// without texture files, and one frame of an item's animation against
// drawing that frame's picture alone.

#include "bench/BenchFiles.h"
#include "bench/BenchPictures.h"
#include "bench/BenchRegistry.h"
#include "bench/BenchWidgets.h"

#include "app/form/Unit1.h"
#include "app/links/AnimationPlayer.h"
#include "app/links/TileLinks.h"
#include "app/list/ListBox.h"
#include "app/list/TileListModel.h"
#include "app/list/TileSections.h"
#include "tests/support/AnimationWriter.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TextureWriter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QTimer>

#include <memory>
#include <stdexcept>

namespace {

// Two land tiles with pictures, each TexID naming a 128 x 128 texture; item
// 0x20 animates through the pictures of 0x20 to 0x23, 60 x 80 each.
constexpr int LandTiles[] = {0x10, 0x11};
constexpr int Animated = 0x20;
constexpr int Frames = 4;

// A folder with the tile data file and the art, and with the texture and
// animation files when Linked.
QString Folder(bool Linked)
{
    const QString folder = BenchFiles::Instance().Folder() + (Linked ? "links/" : "nolinks/");
    if (QDir(folder).exists())
        return folder;
    QDir().mkpath(folder);
    LayoutTileWriter tiles = LayoutTileWriter::ShapeOf(BenchFiles::Instance().TileDataBytes().size());
    tiles.Bytes() = BenchFiles::Instance().TileDataBytes();
    for (const int tile : LandTiles)
        tiles.SetLand(tile, {0, std::uint16_t(tile), "grass"});
    tiles.WriteTo(folder + "tiledata.mul");
    ArtWriter art;
    art.PadToEntry(LandTiles[0]);
    for (const int tile : LandTiles)
        art.AddRawPicture(ItemPicture(44, 44, std::uint32_t(tile)));
    art.PadToEntry(ArtWriter::StaticArtBase + Animated);
    for (int k = 0; k < Frames; ++k)
        art.AddRunLength(60, 80, ItemPicture(60, 80, std::uint32_t(k + 1)), 0);
    art.PadToEntry(ArtWriter::StaticArtBase + 16384);
    art.WriteTo(folder);
    if (Linked) {
        TextureWriter textures;
        for (const int tile : LandTiles) {
            textures.PadToEntry(tile);
            textures.AddTexture(128, [tile](int X, int Y) { return std::uint16_t((X * 31 + Y * tile) & 0x7FFF); });
        }
        textures.WriteTo(folder);
        AnimationWriter animations;
        animations.SetEntry(Animated, {0, 1, 2, 3}, 1, 0);
        animations.SetBlockCount(2048);
        animations.WriteTo(folder);
    }
    return folder;
}

std::shared_ptr<TForm1> OpenedWindow(const QString &Path)
{
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible())
            return;
        answer.stop();
        dialog->selectFile(Path);
        static_cast<QDialog *>(dialog)->accept();
    });
    answer.start(0);
    auto window = std::make_shared<TForm1>();
    answer.stop();
    window->show();
    SettleWidgets();
    return window;
}

// Selecting a land tile: its name, flags, picture, texture and the count of
// the tiles sharing its TexID, painted; the selection moves between two.
BenchSetup LandTileSetup(bool Linked)
{
    return [Linked] {
        std::shared_ptr<TForm1> window = OpenedWindow(Folder(Linked) + "tiledata.mul");
        window->findChild<TTileSections *>()->Toggle();
        auto next = std::make_shared<std::size_t>(0);
        BenchBody body = [window, next] {
            window->ListBox1->setCurrentIndex(window->ListModel->index(LandTiles[*next]));
            *next = 1 - *next;
            SettleWidgets();
        };
        body();
        body();
        if (window->Links->TextureView->isVisible() != Linked || window->Image1Bitmap.size() != QSize(44, 44))
            throw std::logic_error("the land tile is not shown as it should be");
        return body;
    };
}

// The next frame of the animation playing, painted, its timer stopped so
// that only the measured frames are drawn.
BenchBody AnimationFrameCase()
{
    std::shared_ptr<TForm1> window = OpenedWindow(Folder(true) + "tiledata.mul");
    window->ListBox1->setCurrentIndex(window->ListModel->index(Animated));
    TAnimationPlayer *player = window->Links->Player;
    player->TogglePause();
    player->ShowNextFrame();
    SettleWidgets();
    if (!player->IsPlaying() || player->ShownTile() != Animated)
        throw std::logic_error("the animation does not play");
    return [window, player] {
        player->ShowNextFrame();
        SettleWidgets();
    };
}

// The same frames' pictures, already decoded, put into the art view and
// painted.
BenchBody FramePictureBaseline()
{
    std::shared_ptr<TForm1> window = OpenedWindow(Folder(false) + "tiledata.mul");
    window->ListBox1->setCurrentIndex(window->ListModel->index(Animated));
    SettleWidgets();
    auto frames = std::make_shared<std::vector<QImage>>();
    for (int k = 0; k < Frames; ++k) {
        window->ListBox1->setCurrentIndex(window->ListModel->index(Animated + k));
        frames->push_back(window->Image1Bitmap);
    }
    auto next = std::make_shared<std::size_t>(0);
    return [window, frames, next] {
        window->Image1->setPixmap(QPixmap::fromImage((*frames)[*next]));
        *next = (*next + 1) % frames->size();
        SettleWidgets();
    };
}

const BenchPairRegistration LandWithTexture({"one land tile selected with its 128 x 128 texture, painted",
                                             "ShowLandWithTexture", "ShowLandWithoutTexture", 1.2},
                                            LandTileSetup(true), LandTileSetup(false));
const BenchPairRegistration AnimationFrame({"one frame of an item's animation (60 x 80), painted",
                                            "AnimationFrame", "DrawFramePicture", 1.5},
                                           AnimationFrameCase, FramePictureBaseline);

} // namespace
