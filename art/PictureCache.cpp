#include "art/PictureCache.h"

#include "art/ArtIndexEntry.h"
#include "art/ArtSource.h"

#include <algorithm>
#include <memory>

namespace {

// The white no run covers is left out where the bottom-left pixel shows
// it, as the art view's transparent drawing leaves out that pixel's colour;
// a picture that covers its corner, of whatever colour, stays whole.
QImage Transparent(const QImage &Image)
{
    QImage shown = Image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb fill = qRgb(255, 255, 255);
    if (shown.pixel(0, shown.height() - 1) != fill)
        return shown;
    for (int y = 0; y < shown.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(shown.scanLine(y));
        std::replace(line, line + shown.width(), fill, QRgb(0));
    }
    return shown;
}

} // namespace

TPictureCache::TPictureCache(TArtSource &Source)
    : FSource(Source)
    , FPictures(CapBytes)
{
}

TPicture TPictureCache::Item(int Tile)
{
    return Decode(false, std::int32_t(std::uint32_t(Tile) + StaticArtBase));
}

TPicture TPictureCache::Land(int Tile)
{
    return Decode(true, Tile);
}

TPicture TPictureCache::Decode(bool Land, std::int32_t EntryNumber)
{
    const qint64 key = (qint64(Land) << 32) | std::uint32_t(EntryNumber);
    if (const TPicture *held = FPictures.object(key))
        return *held;
    auto picture = std::make_unique<TPicture>();
    if (Land)
        FSource.DrawLandArt(EntryNumber, picture->Image, picture->Size);
    else
        FSource.DrawArt(EntryNumber, picture->Image, picture->Size);
    // A run-length picture reports its size; a raw diamond is always 44 x
    // 44. What the decoder could not draw is left null or blanked to 1 x 1.
    picture->Missing = picture->Size == QPoint(0, 0)
                       && (picture->Image.isNull() || picture->Image.size() == QSize(1, 1));
    if (!picture->Missing && !picture->Image.isNull())
        picture->Shown = Transparent(picture->Image);
    const TPicture result = *picture;
    // Beside its pixels every entry holds the picture's record, the image's
    // header and the cache's node, about 300 bytes measured: counted too, so
    // that the cap bounds what the cache really holds, missing pictures and
    // all.
    const qsizetype cost = picture->Image.sizeInBytes() + picture->Shown.sizeInBytes() + EntryOverhead;
    FPictures.insert(key, picture.release(), cost);
    return result;
}
