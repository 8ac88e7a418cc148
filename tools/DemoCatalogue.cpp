#include "tools/DemoCatalogue.h"

#include "tools/Canvas.h"

namespace {

// Flag bits of the tile data file.
constexpr std::uint32_t Background = 0x00000001;
constexpr std::uint32_t Wall = 0x00000010;
constexpr std::uint32_t Impassable = 0x00000040;
constexpr std::uint32_t Wet = 0x00000080;
constexpr std::uint32_t Surface = 0x00000200;
constexpr std::uint32_t Generic = 0x00000800;
constexpr std::uint32_t Window = 0x00001000;
constexpr std::uint32_t NoShoot = 0x00002000;
constexpr std::uint32_t ArticleA = 0x00004000;
constexpr std::uint32_t ArticleAn = 0x00008000;
constexpr std::uint32_t Foliage = 0x00020000;
constexpr std::uint32_t PartialHue = 0x00040000;
constexpr std::uint32_t Container = 0x00200000;
constexpr std::uint32_t LightSource = 0x00800000;
constexpr std::uint32_t Animated = 0x01000000;
constexpr std::uint32_t Door = 0x20000000;
constexpr std::uint32_t StairsBack = 0x40000000;
constexpr std::uint32_t StairRight = 0x80000000;

struct Family
{
    const char *Name;
    DemoKind Kind;
    std::uint16_t Colour;
    std::uint32_t Flags;
    int Weight;
    int Height;
};

const char *const Directions[] = {"north", "east", "south", "west", "corner", "post"};

std::uint32_t Article(const std::string &name)
{
    return std::string("aeiou").find(name[0]) != std::string::npos ? ArticleAn : ArticleA;
}

} // namespace

std::vector<DemoTile> DemoCatalogue()
{
    const Family families[] = {
        {"stone wall", DemoKind::Wall, Canvas::Rgb(140, 140, 150), Wall | Impassable | NoShoot, 255, 20},
        {"marble floor", DemoKind::Floor, Canvas::Rgb(220, 216, 208), Background | Surface, 255, 0},
        {"wooden floor", DemoKind::Floor, Canvas::Rgb(150, 100, 55), Background | Surface, 255, 0},
        {"cobblestone", DemoKind::Floor, Canvas::Rgb(128, 128, 136), Background | Surface, 255, 0},
        {"sandstone floor", DemoKind::Floor, Canvas::Rgb(214, 184, 128), Background | Surface, 255, 0},
        {"grass", DemoKind::Floor, Canvas::Rgb(80, 150, 60), Background | Surface, 255, 0},
        {"water", DemoKind::Floor, Canvas::Rgb(50, 90, 200), Background | Wet | Impassable | Animated, 255, 0},
        {"brick wall", DemoKind::Wall, Canvas::Rgb(170, 70, 50), Wall | Impassable | NoShoot, 255, 20},
        {"wooden wall", DemoKind::Wall, Canvas::Rgb(130, 85, 45), Wall | Impassable | NoShoot, 255, 20},
        {"plaster wall", DemoKind::Wall, Canvas::Rgb(230, 225, 200), Wall | Impassable | NoShoot, 255, 20},
        {"wooden door", DemoKind::Door, Canvas::Rgb(120, 75, 35), Door | Impassable, 255, 20},
        {"iron door", DemoKind::Door, Canvas::Rgb(110, 115, 125), Door | Impassable, 255, 20},
        {"glass window", DemoKind::Window, Canvas::Rgb(150, 150, 160), Window | Wall | Impassable, 255, 20},
        {"stained window", DemoKind::Window, Canvas::Rgb(130, 60, 140), Window | Wall | Impassable | PartialHue, 255, 20},
        {"oak tree", DemoKind::Tree, Canvas::Rgb(40, 120, 40), Foliage | Impassable, 255, 20},
        {"pine tree", DemoKind::Tree, Canvas::Rgb(20, 90, 50), Foliage | Impassable, 255, 20},
        {"willow tree", DemoKind::Tree, Canvas::Rgb(110, 160, 70), Foliage | Impassable, 255, 20},
        {"barrel", DemoKind::Barrel, Canvas::Rgb(140, 90, 40), Container | Generic, 50, 5},
        {"keg", DemoKind::Barrel, Canvas::Rgb(110, 70, 30), Container | Generic, 30, 4},
        {"crate", DemoKind::Crate, Canvas::Rgb(190, 150, 90), Container | Generic, 40, 5},
        {"chest", DemoKind::Crate, Canvas::Rgb(150, 60, 30), Container | PartialHue, 25, 4},
        {"lamp post", DemoKind::Lamp, Canvas::Rgb(60, 60, 70), LightSource | Impassable, 255, 20},
        {"lantern", DemoKind::Lamp, Canvas::Rgb(200, 160, 40), LightSource, 3, 2},
        {"stone stairs", DemoKind::Stairs, Canvas::Rgb(150, 150, 150), Surface | StairRight, 255, 5},
        {"wooden stairs", DemoKind::Stairs, Canvas::Rgb(140, 95, 50), Surface | StairsBack, 255, 5},
        {"wooden fence", DemoKind::Fence, Canvas::Rgb(150, 110, 60), Impassable, 255, 10},
        {"rock", DemoKind::Rock, Canvas::Rgb(120, 115, 110), Impassable, 255, 8},
        {"bush", DemoKind::Bush, Canvas::Rgb(50, 130, 45), Foliage, 255, 6},
        {"marble column", DemoKind::Column, Canvas::Rgb(225, 220, 215), Impassable | NoShoot, 255, 20},
    };

    std::vector<DemoTile> tiles;
    int index = 2;
    int familyNumber = 0;
    for (const Family &family : families) {
        const int variants = family.Kind == DemoKind::Floor || family.Kind == DemoKind::Wall ? 12 : 8;
        for (int v = 0; v < variants; ++v) {
            DemoTile tile;
            tile.Index = index++;
            tile.Name = family.Name;
            if (family.Kind == DemoKind::Wall || family.Kind == DemoKind::Door || family.Kind == DemoKind::Window
                || family.Kind == DemoKind::Fence)
                tile.Name += std::string(" ") + Directions[v % 6];
            tile.Kind = family.Kind;
            tile.Colour = Canvas::Shade(family.Colour, 85 + (v % 4) * 10);
            tile.Variant = v;
            tile.Flags = family.Flags | Article(family.Name);
            tile.Weight = family.Weight;
            tile.Height = family.Height + (family.Kind == DemoKind::Tree ? v * 2 : 0);
            tile.Quality = family.Kind == DemoKind::Lamp ? 1 : 0;
            tile.Quantity = family.Kind == DemoKind::Barrel || family.Kind == DemoKind::Crate ? 12 + v : 0;
            tile.Hue = (familyNumber * 7 + v) % 16;
            tile.Anim = family.Kind == DemoKind::Lamp ? 0x3E8 + v : 0;
            // A few pictures live only in the patch file.
            tile.Patched = family.Kind != DemoKind::Floor && v == 7;
            tiles.push_back(tile);
        }
        index += 6; // a few empty tiles between the families, as in real files
        ++familyNumber;
    }
    return tiles;
}
