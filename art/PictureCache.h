#pragma once

#include <QCache>
#include <QImage>
#include <QPoint>

#include <cstdint>
#include <functional>
#include <memory>

class TArtSource;

// A tile's picture as an art source decodes it. Missing: the entry holds
// no picture, or one that cannot be drawn (absent, unreadable, or claiming
// more pixels than any of the game's pictures has).
struct TPicture
{
    QImage Image;
    // The same picture with its white fill left out where its bottom-left
    // pixel shows the fill, as the art view draws it transparently: the
    // gaps between runs and the corners of a land diamond show what lies
    // behind. Null while Missing.
    QImage Shown;
    QPoint Size{0, 0};
    bool Missing = true;
};

// The decoded pictures of one art source, for everything in the window that
// shows them: the art view beside the controls and the pictures grid ask
// the same cache, so a tile decoded for one is never decoded again for the
// other. Pictures are decoded when asked for, one at a time; nothing is
// decoded ahead. The least recently used go first once their bytes pass
// the cap.
class TPictureCache
{
public:
    // 32 MB holds the pictures of many screens of cells, whatever their
    // size, and keeps the window's memory bounded while it scrolls through
    // 65,536 tiles.
    static constexpr qsizetype CapBytes = qsizetype(32) * 1024 * 1024;
    // What an entry takes beyond its pixels.
    static constexpr qsizetype EntryOverhead = 320;

    // Source must outlive the cache.
    explicit TPictureCache(TArtSource &Source);

    TPicture Item(int Tile);
    TPicture Land(int Tile);
    // A picture of another file the window shows beside the tiles' (a
    // texture), drawn by Draw when it is not held, and held under Key
    // within the same cap.
    TPicture Other(std::uint32_t Key, const std::function<void(TPicture &)> &Draw);
    // The bytes of the pictures held now.
    qsizetype HeldBytes() const { return FPictures.totalCost(); }

private:
    TPicture Decode(bool Land, std::int32_t EntryNumber);
    TPicture Hold(qint64 Key, std::unique_ptr<TPicture> Picture);

    TArtSource &FSource;
    QCache<qint64, TPicture> FPictures;
};
