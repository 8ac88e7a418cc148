#include "tools/DemoTextures.h"

#include "tests/support/AnimationWriter.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/RadarWriter.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TextureWriter.h"
#include "tools/Canvas.h"
#include "tools/DemoCatalogue.h"

#include <algorithm>
#include <cmath>

namespace {

// The demo's named land tiles run 3 + kind * 0x40 + 0 to 23, kinds grass,
// water, rock and cave floor.
constexpr int LandKinds = 4;
constexpr int LandPerKind = 24;

int FirstLand(int Kind)
{
    return 3 + Kind * 0x40;
}

std::uint16_t GrassPixel(int X, int Y)
{
    const int blade = ((X * 7 + Y * 13) ^ (X * Y)) % 23;
    return Canvas::Rgb(60 + blade * 2, 130 + blade * 3, 40 + blade);
}

std::uint16_t WaterPixel(int X, int Y)
{
    const double wave = std::sin(X * 0.2 + std::sin(Y * 0.15) * 2.0) * 0.5 + 0.5;
    return Canvas::Rgb(30 + int(wave * 40), 70 + int(wave * 60), 170 + int(wave * 70));
}

std::uint16_t RockPixel(int X, int Y)
{
    const int crack = (X + Y * 3) % 17 == 0 || (X * 5 - Y) % 29 == 0 ? 40 : 0;
    const int grain = ((X * 31 + Y * 17) ^ (X + Y)) % 30;
    return Canvas::Rgb(130 + grain - crack, 125 + grain - crack, 118 + grain - crack);
}

int FirstNamed(const std::vector<DemoTile> &Tiles, const std::string &Name)
{
    for (const DemoTile &tile : Tiles) {
        if (tile.Name == Name)
            return tile.Index;
    }
    return 0;
}

} // namespace

std::uint16_t DemoTexId(int Tile)
{
    const int rockZero = FirstLand(2) + 20;
    return Tile >= rockZero && Tile < FirstLand(2) + LandPerKind ? 0 : std::uint16_t(Tile);
}

void WriteDemoTextures(const QString &Folder)
{
    TextureWriter writer;
    for (int kind = 0; kind < LandKinds; ++kind) {
        for (int t = 0; t < LandPerKind; ++t) {
            const int tile = FirstLand(kind) + t;
            writer.PadToEntry(tile);
            // Each texture shifted by its tile, so that neighbours differ.
            if (kind == 0)
                writer.AddTexture(64, [t](int X, int Y) { return GrassPixel(X + t * 5, Y); });
            else if (kind == 1)
                writer.AddTexture(128, [t](int X, int Y) { return WaterPixel(X + t * 3, Y); });
            else if (kind == 2)
                writer.AddTexture(64, [t](int X, int Y) { return RockPixel(X + t * 9, Y); });
        }
    }
    writer.PadToEntry(FirstLand(LandKinds));
    writer.WriteTo(Folder);
}

void WriteDemoAnimations(const QString &Folder, int Items)
{
    const std::vector<DemoTile> tiles = DemoCatalogue();
    const int water = FirstNamed(tiles, "water");
    const int lantern = FirstNamed(tiles, "lantern");
    AnimationWriter writer;
    writer.SetEntry(water, {0, 1, 2, 3, 4, 5}, 3, 0);
    writer.SetEntry(water + 6, {0, 1, 2, 3}, 6, 4);
    // water + 10 keeps its Animation flag with no entry; water + 11 runs into
    // the empty tiles after the family, which have no picture.
    writer.SetEntry(water + 11, {0, 1, 2}, 4, 0);
    writer.SetEntry(lantern, {0, 1, 2, 1}, 5, 0);
    writer.SetEntry(Items - 1, {0, 1, 2}, 2, 0);
    writer.WriteTo(Folder);
}

void WriteDemoRadar(const QString &Folder)
{
    const std::vector<DemoTile> tiles = DemoCatalogue();
    int last = 0;
    for (const DemoTile &tile : tiles)
        last = std::max(last, tile.Index);
    RadarWriter writer(RadarWriter::ItemBase + last - 1);
    for (const DemoTile &tile : tiles) {
        if (tile.Index < last - 1)
            writer.SetItem(tile.Index, tile.Colour == 0 ? 0x0421 : tile.Colour);
    }
    writer.SetItem(FirstNamed(tiles, "lantern"), 0);
    writer.WriteTo(Folder);
}

void SetClassicDemoLand(const QString &Path, void (*Set)(LayoutTileWriter &))
{
    LayoutTileWriter writer = LayoutTileWriter::ShapeOf(LayoutTileWriter::ClassicFileSize);
    writer.Bytes() = TestFiles::ReadBytes(Path);
    for (int t = 0; t < LayoutTileWriter::LandTiles; ++t)
        writer.SetLand(t, LayoutTileWriter::Land());
    Set(writer);
    writer.WriteTo(Path);
}
