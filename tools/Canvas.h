#pragma once

#include <cstdint>
#include <vector>

// A small software canvas of 15-bit pixels (1-5-5-5) with a transparent
// value, for drawing the demo pictures without any windowing system.
class Canvas
{
public:
    static constexpr std::uint16_t Transparent = 0x8000; // never a drawn colour

    Canvas(int width, int height);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    const std::vector<std::uint16_t> &Pixels() const { return FPixels; }

    // A colour from 8-bit channels.
    static std::uint16_t Rgb(int red, int green, int blue);
    // The colour with every channel scaled by percent (0-200), clamped.
    static std::uint16_t Shade(std::uint16_t colour, int percent);

    void Set(int x, int y, std::uint16_t colour);
    std::uint16_t Get(int x, int y) const;
    void FillRect(int x, int y, int width, int height, std::uint16_t colour);
    void FillEllipse(int cx, int cy, int rx, int ry, std::uint16_t colour);
    // A convex polygon given by its corners in order.
    void FillPolygon(const std::vector<std::pair<int, int>> &corners, std::uint16_t colour);
    // Darkens or lightens drawn pixels at random, for texture.
    void Speckle(unsigned seed, int spread);
    // An upright isometric block standing on a diamond of the given width:
    // top face, left face and right face.
    void Block(int left, int top, int width, int height, std::uint16_t colour);

private:
    int FWidth;
    int FHeight;
    std::vector<std::uint16_t> FPixels;
};
