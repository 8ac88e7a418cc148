#include "art/PictureCache.h"

#include "art/ArtIndexEntry.h"
#include "art/ArtSource.h"

#include <memory>

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
    const qsizetype cost = Picture->Image.sizeInBytes() + EntryOverhead;
    FPictures.insert(Key, Picture.release(), cost);
    return result;
}
