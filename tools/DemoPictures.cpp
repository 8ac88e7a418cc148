#include "tools/DemoPictures.h"

namespace {

Canvas Floor(const DemoTile &t)
{
    Canvas c(44, 44);
    c.FillPolygon({{21, 0}, {43, 21}, {22, 43}, {0, 22}}, t.Colour);
    // A pattern of lines across the diamond sets the variants apart.
    for (int k = 0; k < 44; k += 6 + t.Variant % 4)
        for (int x = 0; x < 44; ++x)
            if (c.Get(x, (x / 2 + k) % 44) != Canvas::Transparent)
                c.Set(x, (x / 2 + k) % 44, Canvas::Shade(t.Colour, 75));
    c.Speckle(unsigned(t.Index), 8);
    return c;
}

Canvas Wall(const DemoTile &t)
{
    Canvas c(44, 90);
    c.Block(0, 0, 44, 68, t.Colour);
    for (int y = 24; y < 88; y += 8) // mortar lines
        for (int x = 0; x < 44; ++x)
            if (c.Get(x, y) != Canvas::Transparent)
                c.Set(x, y, Canvas::Shade(t.Colour, 50));
    c.Speckle(unsigned(t.Index), 6);
    return c;
}

Canvas Door(const DemoTile &t)
{
    Canvas c(44, 90);
    c.Block(0, 0, 44, 68, Canvas::Rgb(150, 150, 150));
    c.FillPolygon({{6, 36}, {20, 43}, {20, 86}, {6, 79}}, t.Colour);
    c.FillEllipse(17, 62, 2, 2, Canvas::Rgb(230, 200, 60));
    return c;
}

Canvas Window(const DemoTile &t)
{
    Canvas c(44, 90);
    c.Block(0, 0, 44, 68, t.Colour);
    c.FillPolygon({{26, 40}, {38, 34}, {38, 58}, {26, 64}}, Canvas::Rgb(150, 200, 240));
    c.FillPolygon({{6, 34}, {18, 40}, {18, 64}, {6, 58}}, Canvas::Rgb(120, 170, 220));
    return c;
}

Canvas Tree(const DemoTile &t)
{
    // Some trees are taller than the picture area of the editor.
    const int height = 120 + t.Variant * 25;
    const int width = 70 + (t.Variant % 3) * 20;
    Canvas c(width, height);
    c.FillRect(width / 2 - 4, height / 3, 9, height - height / 3, Canvas::Rgb(100, 65, 30));
    for (int k = 0; k < 4; ++k)
        c.FillEllipse(width / 2 + (k % 2 ? 8 : -8), height / 4 + k * height / 10, width / 2 - 4, height / 6,
                      Canvas::Shade(t.Colour, 80 + k * 10));
    c.Speckle(unsigned(t.Index), 15);
    return c;
}

Canvas Barrel(const DemoTile &t)
{
    Canvas c(30, 38);
    c.FillRect(2, 6, 26, 26, t.Colour);
    c.FillEllipse(14, 32, 13, 5, Canvas::Shade(t.Colour, 80));
    c.FillEllipse(14, 6, 13, 5, Canvas::Shade(t.Colour, 120));
    c.FillRect(2, 12, 26, 2, Canvas::Rgb(70, 70, 70));
    c.FillRect(2, 26, 26, 2, Canvas::Rgb(70, 70, 70));
    return c;
}

Canvas Crate(const DemoTile &t)
{
    Canvas c(44, 50);
    c.Block(2, 2, 40, 24, t.Colour);
    c.Speckle(unsigned(t.Index), 10);
    return c;
}

Canvas Lamp(const DemoTile &t)
{
    const int height = t.Variant % 2 ? 40 : 110;
    Canvas c(24, height);
    c.FillRect(10, 10, 4, height - 10, t.Colour);
    c.FillEllipse(12, 8, 8, 8, Canvas::Rgb(255, 230, 120));
    return c;
}

Canvas Stairs(const DemoTile &t)
{
    Canvas c(44, 60);
    for (int step = 0; step < 4; ++step)
        c.Block(0, 30 - step * 8, 44, 8 + step * 8, Canvas::Shade(t.Colour, 85 + step * 8));
    return c;
}

Canvas Fence(const DemoTile &t)
{
    Canvas c(44, 50);
    for (int x = 4; x < 44; x += 12)
        c.FillRect(x, 10 + x / 4, 4, 30, t.Colour);
    c.FillPolygon({{0, 20}, {43, 40}, {43, 44}, {0, 24}}, Canvas::Shade(t.Colour, 80));
    return c;
}

Canvas Rock(const DemoTile &t)
{
    Canvas c(40 + t.Variant * 2, 30);
    c.FillEllipse(c.Width() / 2, 17, c.Width() / 2 - 2, 12, t.Colour);
    c.Speckle(unsigned(t.Index), 20);
    return c;
}

Canvas Bush(const DemoTile &t)
{
    Canvas c(40, 36);
    c.FillEllipse(14, 20, 12, 12, t.Colour);
    c.FillEllipse(26, 18, 12, 14, Canvas::Shade(t.Colour, 115));
    c.Speckle(unsigned(t.Index), 18);
    return c;
}

Canvas Column(const DemoTile &t)
{
    Canvas c(30, 140);
    c.FillRect(7, 10, 16, 120, t.Colour);
    c.FillRect(3, 2, 24, 8, Canvas::Shade(t.Colour, 110));
    c.FillRect(3, 130, 24, 8, Canvas::Shade(t.Colour, 90));
    return c;
}

} // namespace

Canvas DrawDemoPicture(const DemoTile &tile)
{
    switch (tile.Kind) {
    case DemoKind::Floor: return Floor(tile);
    case DemoKind::Wall: return Wall(tile);
    case DemoKind::Door: return Door(tile);
    case DemoKind::Window: return Window(tile);
    case DemoKind::Tree: return Tree(tile);
    case DemoKind::Barrel: return Barrel(tile);
    case DemoKind::Crate: return Crate(tile);
    case DemoKind::Lamp: return Lamp(tile);
    case DemoKind::Stairs: return Stairs(tile);
    case DemoKind::Fence: return Fence(tile);
    case DemoKind::Rock: return Rock(tile);
    case DemoKind::Bush: return Bush(tile);
    case DemoKind::Column: return Column(tile);
    }
    return Canvas(1, 1);
}
