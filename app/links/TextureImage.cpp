#include "app/links/TextureImage.h"

#include "tilelinks/Texture.h"

#include <cstring>

QImage TextureImage(const TTexture &Texture)
{
    if (Texture.Side <= 0 || Texture.Pixels.size() != std::size_t(Texture.Side) * std::size_t(Texture.Side))
        return QImage();
    QImage image(Texture.Side, Texture.Side, QImage::Format_RGB555);
    for (int y = 0; y < Texture.Side; ++y) {
        auto *row = reinterpret_cast<std::uint16_t *>(image.scanLine(y));
        const std::uint16_t *from = Texture.Pixels.data() + std::size_t(y) * std::size_t(Texture.Side);
        for (int x = 0; x < Texture.Side; ++x)
            row[x] = from[x] & 0x7FFF;
    }
    return image;
}

QImage FitWithoutBlur(const QImage &Image, int Side)
{
    if (Image.width() <= Side && Image.height() <= Side)
        return Image;
    return Image.scaled(Side, Side, Qt::KeepAspectRatio, Qt::FastTransformation);
}
