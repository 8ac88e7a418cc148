#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

#include <cstdint>

// Where the art view gets its pictures from: the art file with its index,
// or the packed container of newer clients. Both draw entries the same way
// and fall back on the shared patch list for the entries they lack.
class TArtSource
{
public:
    virtual ~TArtSource() = default;

    // Draws art entry EntryNumber (static tile t is entry t + 0x4000) into
    // Target and sets Size to the picture's width and height ((0, 0) for raw
    // and undrawable entries). Numbers the source cannot hold leave Target
    // and Size untouched; entries it lacks are drawn from the shared patch
    // list, or left white.
    virtual void DrawArt(std::int32_t EntryNumber, QImage &Target, QPoint &Size) = 0;

    // The same for a land tile's picture, whose bare or headed diamond the
    // entry's length tells apart.
    virtual void DrawLandArt(std::int32_t EntryNumber, QImage &Target, QPoint &Size) = 0;

    // The name of the file the pictures come from, without its folder.
    virtual QString SourceName() const = 0;
};
