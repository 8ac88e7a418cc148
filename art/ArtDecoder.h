#pragma once

#include <QImage>
#include <QPoint>

#include <cstdint>

class TArtBytes;

// What the header word of an art entry says about the data behind it.
enum class TArtKind {
    Raw,        // a 44 x 44 diamond of 1012 pixels
    RunLength,  // a width x height picture made of runs
    Unreadable, // the header word is not in the file: nothing to decode
};

// Decodes one art entry into a 15-bit bitmap, from whatever holds its
// bytes: the art file, or an entry unpacked from the packed container.
// Every source is untrusted: a decode stops where the bytes end, and
// nothing is read from outside them.
//
// Targets are QImage::Format_RGB555, whose memory layout is the file's
// 16-bit little-endian 1-5-5-5 pixel, so run-length pixels are copied in
// unchanged.
class TArtDecoder
{
public:
    // Classifies the header word at byte At.
    static TArtKind KindAt(TArtBytes &Bytes, std::int64_t At);

    // Blanks Target (see MakeBlank), sets Size to (0, 0) and draws the
    // entry that starts at byte At, whichever its kind.
    static void DrawEntry(TArtBytes &Bytes, std::int64_t At, QImage &Target, QPoint &Size);

    // Decodes the run-length entry whose header word lies at byte At. A
    // header with width 0, height 0, height above 2560 or more than
    // 4,194,304 pixels (2,048 x 2,048) leaves Target untouched. Size is set only when every row decoded; a run above 5120
    // pixels or data ending early stops the decode with the rest of Target
    // white.
    static void DrawRunLength(TArtBytes &Bytes, std::int64_t At, QImage &Target, QPoint &Size);

    // Decodes the raw diamond whose pixels start at byte PixelsAt (-1: none)
    // into a 44 x 44 Target, white outside the diamond and wherever the
    // bytes end early.
    static void DrawRawPixels(TArtBytes &Bytes, std::int64_t PixelsAt, QImage &Target);

    // Where the pixels of a land entry of Length bytes start: an entry of
    // 2,024 bytes is the bare diamond, one of 2,028 has a header word
    // before it. -1 for any other length, which is drawn as DrawEntry does.
    static std::int64_t LandPixelsStart(std::int64_t Length);

    // The target keeps its size, so that a picture that cannot be drawn
    // never makes it grow from one draw to the next; it becomes 15-bit and
    // white (a new, empty target 1 x 1).
    static void MakeBlank(QImage &Target);

    static bool IsRunLengthHeader(std::int32_t Header);

    // Raw pixel to an RGB colour value, red in the low byte: each 5-bit
    // channel scaled to 8 bits and rounded.
    static std::uint32_t PixelToColor(std::uint16_t Pixel);

    static constexpr int HeaderSize = 4;
};
