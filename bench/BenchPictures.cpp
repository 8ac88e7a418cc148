#include "bench/BenchPictures.h"

#include <cmath>
#include <cstddef>
#include <random>

ArtWriter::Pixels ItemPicture(int width, int height, std::uint32_t seed)
{
    constexpr double MaxPixels = 50000;
    std::mt19937 random(seed);
    ArtWriter::Pixels pixels(std::size_t(width) * height, 0);
    const double centreX = (width - 1) / 2.0;
    const double centreY = (height - 1) / 2.0;
    const double ovalArea = 3.14159 * 0.45 * 0.5 * width * height;
    const double inner = ovalArea <= MaxPixels ? 0.0 : std::sqrt(1.0 - MaxPixels / ovalArea);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = (x - centreX) / (width * 0.45);
            const double dy = (y - centreY) / (height * 0.5);
            const double r2 = dx * dx + dy * dy;
            const bool inside = r2 <= 1.0 && r2 >= inner * inner;
            const bool hole = y > height / 3 && y < 2 * height / 3 && (x % (width / 4 + 1)) < width / 16;
            if (inside && !hole)
                pixels[std::size_t(y) * width + x] = std::uint16_t(1 + random() % 0x7FFE);
        }
    }
    return pixels;
}
