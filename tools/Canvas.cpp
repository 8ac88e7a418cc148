#include "tools/Canvas.h"

#include <algorithm>
#include <random>

Canvas::Canvas(int width, int height)
    : FWidth(width)
    , FHeight(height)
    , FPixels(std::size_t(width) * std::size_t(height), Transparent)
{
}

std::uint16_t Canvas::Rgb(int red, int green, int blue)
{
    const auto five = [](int c) { return std::clamp(c, 0, 255) >> 3; };
    return std::uint16_t((five(red) << 10) | (five(green) << 5) | five(blue));
}

std::uint16_t Canvas::Shade(std::uint16_t colour, int percent)
{
    const auto scale = [percent](int c) { return std::clamp(c * percent / 100, 0, 31); };
    const int r = scale((colour >> 10) & 31);
    const int g = scale((colour >> 5) & 31);
    const int b = scale(colour & 31);
    return std::uint16_t((r << 10) | (g << 5) | b);
}

void Canvas::Set(int x, int y, std::uint16_t colour)
{
    if (x >= 0 && y >= 0 && x < FWidth && y < FHeight)
        FPixels[std::size_t(y) * std::size_t(FWidth) + std::size_t(x)] = colour;
}

std::uint16_t Canvas::Get(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return Transparent;
    return FPixels[std::size_t(y) * std::size_t(FWidth) + std::size_t(x)];
}

void Canvas::FillRect(int x, int y, int width, int height, std::uint16_t colour)
{
    for (int j = y; j < y + height; ++j)
        for (int i = x; i < x + width; ++i)
            Set(i, j, colour);
}

void Canvas::FillEllipse(int cx, int cy, int rx, int ry, std::uint16_t colour)
{
    for (int j = -ry; j <= ry; ++j)
        for (int i = -rx; i <= rx; ++i)
            if (double(i * i) / (rx * rx + 0.5) + double(j * j) / (ry * ry + 0.5) <= 1.0)
                Set(cx + i, cy + j, colour);
}

void Canvas::FillPolygon(const std::vector<std::pair<int, int>> &corners, std::uint16_t colour)
{
    int top = FHeight, bottom = -1;
    for (const auto &c : corners) {
        top = std::min(top, c.second);
        bottom = std::max(bottom, c.second);
    }
    for (int y = top; y <= bottom; ++y) {
        double from = 1e9, to = -1e9;
        for (std::size_t k = 0; k < corners.size(); ++k) {
            const auto a = corners[k];
            const auto b = corners[(k + 1) % corners.size()];
            if ((y < a.second && y < b.second) || (y > a.second && y > b.second))
                continue;
            if (a.second == b.second) {
                from = std::min({from, double(a.first), double(b.first)});
                to = std::max({to, double(a.first), double(b.first)});
                continue;
            }
            const double x = a.first + double(y - a.second) * (b.first - a.first) / double(b.second - a.second);
            from = std::min(from, x);
            to = std::max(to, x);
        }
        for (int x = int(from + 0.5); x <= int(to + 0.5); ++x)
            Set(x, y, colour);
    }
}

void Canvas::Speckle(unsigned seed, int spread)
{
    std::mt19937 random(seed);
    for (auto &p : FPixels) {
        const int percent = 100 + int(random() % unsigned(2 * spread + 1)) - spread;
        if (p != Transparent)
            p = Shade(p, percent);
    }
}

void Canvas::Block(int left, int top, int width, int height, std::uint16_t colour)
{
    const int half = width / 2;
    const int quarter = width / 4;
    const int mid = left + half;
    // Top face: a diamond; the faces below it hang down by height.
    FillPolygon({{left, top + quarter}, {mid, top + quarter * 2}, {mid, top + quarter * 2 + height},
                 {left, top + quarter + height}},
                Shade(colour, 80));
    FillPolygon({{mid, top + quarter * 2}, {left + width - 1, top + quarter},
                 {left + width - 1, top + quarter + height}, {mid, top + quarter * 2 + height}},
                Shade(colour, 60));
    FillPolygon({{mid, top}, {left + width - 1, top + quarter}, {mid, top + quarter * 2}, {left, top + quarter}},
                Shade(colour, 115));
}
