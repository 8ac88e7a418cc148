#include "art/PictureCache.h"

#include "art/ArtIndexEntry.h"
#include "art/ArtSource.h"

#include <memory>
#include <vector>

namespace {

// Every 15-bit colour as the picture's own conversion widens it, so that a
// picture is widened in one pass of lookups.
const std::vector<QRgb> &WideColours()
{
    static const std::vector<QRgb> colours = [] {
        QImage all(32768, 1, QImage::Format_RGB555);
        auto *in = reinterpret_cast<quint16 *>(all.scanLine(0));
        for (int value = 0; value < 32768; ++value)
            in[value] = quint16(value);
        const QImage wide = all.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const auto *out = reinterpret_cast<const QRgb *>(wide.constScanLine(0));
        return std::vector<QRgb>(out, out + 32768);
    }();
    return colours;
}

// The white no run covers is left out where the bottom-left pixel shows
// it, as the art view's transparent drawing leaves out that pixel's colour;
// a picture that covers its corner, of whatever colour, stays whole.
QImage Transparent(const QImage &Image)
{
    const QImage narrow = Image.format() == QImage::Format_RGB555 ? Image
                                                                  : Image.convertToFormat(QImage::Format_RGB555);
    QImage shown(narrow.size(), QImage::Format_ARGB32_Premultiplied);
    if (shown.isNull())
        return shown;
    constexpr quint16 White = 0x7FFF;
    const std::vector<QRgb> &colours = WideColours();
    const auto pixelAt = [&](int Y) { return reinterpret_cast<const quint16 *>(narrow.constScanLine(Y)); };
    const bool leaveOut = (pixelAt(narrow.height() - 1)[0] & White) == White;
    for (int y = 0; y < narrow.height(); ++y) {
        const quint16 *in = pixelAt(y);
        auto *out = reinterpret_cast<QRgb *>(shown.scanLine(y));
        for (int x = 0; x < narrow.width(); ++x) {
            const quint16 value = in[x] & White;
            out[x] = leaveOut && value == White ? QRgb(0) : colours[value];
        }
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
    return Hold(key, std::move(picture));
}

TPicture TPictureCache::Other(std::uint32_t Key, const std::function<void(TPicture &)> &Draw)
{
    const qint64 key = (qint64(2) << 32) | Key;
    if (const TPicture *held = FPictures.object(key))
        return *held;
    auto picture = std::make_unique<TPicture>();
    Draw(*picture);
    return Hold(key, std::move(picture));
}

TPicture TPictureCache::Hold(qint64 Key, std::unique_ptr<TPicture> Picture)
{
    const TPicture result = *Picture;
    // Beside its pixels every entry holds the picture's record, the image's
    // header and the cache's node, about 300 bytes measured: counted too, so
    // that the cap bounds what the cache really holds, missing pictures and
    // all.
    const qsizetype cost = Picture->Image.sizeInBytes() + Picture->Shown.sizeInBytes() + EntryOverhead;
    FPictures.insert(Key, Picture.release(), cost);
    return result;
}
