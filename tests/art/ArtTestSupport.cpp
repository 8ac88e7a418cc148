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

ArtWriter::Pixels Sample::Words() const
{
    return ArtWriter::Pixels(std::size_t(Width) * std::size_t(Height), Color);
}

QImage Sample::Image() const
{
    return Picture(Width, Height, Words());
}

ArtWriter::Bytes Sample::Entry() const
{
    return ArtWriter::RunLengthEntry(ArtWriter::RunsOf(Width, Height, Words(), White));
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
