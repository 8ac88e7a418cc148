#include "tests/art/ArtTestSupport.h"

#include <cstring>

namespace ArtTestSupport {

QImage Picture(int Width, int Height, const ArtWriter::Pixels &Words)
{
    QImage image(Width, Height, QImage::Format_RGB555);
    for (int y = 0; y < Height; ++y)
        std::memcpy(image.scanLine(y), &Words[std::size_t(y) * std::size_t(Width)], std::size_t(Width) * 2);
    return image;
}

QImage Filled(int Width, int Height, std::uint16_t Word)
{
    return Picture(Width, Height, ArtWriter::Pixels(std::size_t(Width) * std::size_t(Height), Word));
}

CapturedBoxes::CapturedBoxes()
{
    FPrevious = MessageBoxes::SetHandler([this](MessageBoxes::TBoxKind Kind, const QString &Text) {
        Shown.append({Kind, Text});
    });
}

CapturedBoxes::~CapturedBoxes()
{
    MessageBoxes::SetHandler(std::move(FPrevious));
}

} // namespace ArtTestSupport
