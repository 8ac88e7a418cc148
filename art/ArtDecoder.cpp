#include "art/ArtDecoder.h"

#include "art/ArtBytes.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int PixelSize = 2;
constexpr int RawSide = 44;
constexpr int RawPixelCount = 1012;
constexpr int MaxRunLengthHeight = 2560;
// The game's pictures are far smaller. An entry of a few bytes may claim
// 65,535 x 2,560 pixels, a bitmap of 335 MB that the decode would fill
// white before finding the rows missing; with such an entry in every cell
// of the pictures grid the window would need gigabytes.
constexpr std::int64_t MaxRunLengthPixels = 2048 * 2048;
constexpr std::int64_t MaxRunLength = 5120;
// White as a 1-5-5-5 pixel. Filling with the raw pixel is a plain memory
// fill; filling with a QColor goes through a painter and costs more than
// decoding a small picture.
constexpr uint WhitePixel = 0x7FFF;

std::uint16_t Word(const unsigned char *Bytes)
{
    return qFromLittleEndian<std::uint16_t>(Bytes);
}

// First column and width of row Row of the raw diamond: rows widen by two
// pixels per row down to rows 21 and 22, which span all 44 columns.
int RawRowFirstColumn(int Row)
{
    return Row < RawSide / 2 ? RawSide / 2 - 1 - Row : Row - RawSide / 2;
}

int RawRowWidth(int Row)
{
    return Row < RawSide / 2 ? 2 * (Row + 1) : 2 * (RawSide - Row);
}

QRgb ToQRgb(std::uint32_t Color)
{
    return qRgb(Color & 0xFF, (Color >> 8) & 0xFF, (Color >> 16) & 0xFF);
}

enum class TRowEnd { Done, StopDecode };

// Reads Count pixels of a run straight into a row of the target, RowPixels,
// from column Column on. A short read leaves the missing pixels white.
bool ReadRunIntoRow(TArtBytes &Bytes, std::int64_t Position, std::uint16_t *RowPixels, std::int64_t Column,
                    std::int64_t Count)
{
    std::uint16_t *pixels = RowPixels + Column;
    const std::size_t wanted = static_cast<std::size_t>(Count) * PixelSize;
    const std::size_t got = Bytes.ReadAt(Position, pixels, wanted);
    // The file's words are little-endian, as the bitmap's are on
    // little-endian machines; elsewhere they are swapped in place.
    qFromLittleEndian<std::uint16_t>(pixels, qsizetype(got / PixelSize), pixels);
    if (got % PixelSize != 0)
        pixels[got / PixelSize] = 0x7FFF; // half a pixel is no pixel: back to white
    return got == wanted;
}

// Draws one row: a chain of (gap, count) pairs, each followed by count
// pixels, ended by a pair with count 0 or by a run that does not fit.
// Every run either moves the column on by at least one pixel or ends the
// row, so a row never takes more runs than the target is wide.
TRowEnd DrawRunLengthRow(TArtBytes &Bytes, std::int64_t Position, QImage &Target, int Row)
{
    const std::int64_t width = Target.width();
    // Asked once per row: every scanLine call also checks whether the image
    // must be copied before it is written, which per run adds up.
    auto *rowPixels = reinterpret_cast<std::uint16_t *>(Target.scanLine(Row));
    std::int64_t column = 0;
    for (;;) {
        std::array<unsigned char, 4> pair{};
        if (Bytes.ReadAt(Position, pair.data(), pair.size()) != pair.size())
            return TRowEnd::StopDecode;
        Position += std::int64_t(pair.size());
        const std::int64_t count = Word(pair.data() + 2);
        if (count == 0)
            return TRowEnd::Done;
        column += Word(pair.data());
        if (count > MaxRunLength)
            return TRowEnd::StopDecode;
        const std::int64_t inside = std::clamp<std::int64_t>(width - column, 0, count);
        if (inside > 0 && !ReadRunIntoRow(Bytes, Position, rowPixels, column, inside))
            return TRowEnd::StopDecode;
        if (inside < count)
            return TRowEnd::Done;
        column += count;
        Position += count * PixelSize;
    }
}

} // namespace

TArtKind TArtDecoder::KindAt(TArtBytes &Bytes, std::int64_t At)
{
    std::array<unsigned char, HeaderSize> header{};
    if (At < 0 || Bytes.ReadAt(At, header.data(), header.size()) != header.size())
        return TArtKind::Unreadable;
    return IsRunLengthHeader(qFromLittleEndian<std::int32_t>(header.data())) ? TArtKind::RunLength : TArtKind::Raw;
}

void TArtDecoder::DrawEntry(TArtBytes &Bytes, std::int64_t At, QImage &Target, QPoint &Size)
{
    const TArtKind kind = KindAt(Bytes, At);
    Size = QPoint(0, 0);
    MakeBlank(Target);
    if (kind == TArtKind::RunLength)
        DrawRunLength(Bytes, At, Target, Size);
    else if (kind == TArtKind::Raw)
        DrawRawPixels(Bytes, At + HeaderSize, Target);
}

void TArtDecoder::MakeBlank(QImage &Target)
{
    if (Target.isNull())
        Target = QImage(1, 1, QImage::Format_RGB555);
    else if (Target.format() != QImage::Format_RGB555)
        Target = QImage(Target.size(), QImage::Format_RGB555);
    Target.fill(WhitePixel);
}

bool TArtDecoder::IsRunLengthHeader(std::int32_t Header)
{
    return Header != 0 && Header <= 0xFFFF;
}

std::uint32_t TArtDecoder::PixelToColor(std::uint16_t Pixel)
{
    const auto widen = [](std::uint32_t Channel) { return (Channel * 255 + 15) / 31; };
    const std::uint32_t red = widen((Pixel >> 10) & 31);
    const std::uint32_t green = widen((Pixel >> 5) & 31);
    const std::uint32_t blue = widen(Pixel & 31);
    return red | (green << 8) | (blue << 16);
}

std::int64_t TArtDecoder::LandPixelsStart(std::int64_t Length)
{
    constexpr std::int64_t BareLength = RawPixelCount * PixelSize;
    if (Length == BareLength)
        return 0;
    if (Length == BareLength + HeaderSize)
        return HeaderSize;
    return -1;
}

void TArtDecoder::DrawRawPixels(TArtBytes &Bytes, std::int64_t PixelsAt, QImage &Target)
{
    Target = QImage(RawSide, RawSide, QImage::Format_RGB555);
    Target.fill(Qt::white);
    std::array<unsigned char, RawPixelCount * PixelSize> data{};
    const std::size_t available = PixelsAt < 0 ? 0 : Bytes.ReadAt(PixelsAt, data.data(), data.size()) / PixelSize;
    std::size_t next = 0;
    for (int y = 0; y < RawSide; ++y) {
        const int first = RawRowFirstColumn(y);
        for (int x = first; x < first + RawRowWidth(y); ++x, ++next) {
            if (next >= available)
                return;
            Target.setPixel(x, y, ToQRgb(PixelToColor(Word(&data[next * PixelSize]))));
        }
    }
}

void TArtDecoder::DrawRunLength(TArtBytes &Bytes, std::int64_t At, QImage &Target, QPoint &Size)
{
    if (At < 0)
        return; // the header would lie before the first byte
    const std::int64_t start = At + HeaderSize;
    std::array<unsigned char, 4> dimensions{};
    if (Bytes.ReadAt(start, dimensions.data(), dimensions.size()) != dimensions.size())
        return;
    const int width = Word(dimensions.data());
    const int height = Word(dimensions.data() + 2);
    if (width == 0 || height == 0 || height > MaxRunLengthHeight
        || std::int64_t(width) * height > MaxRunLengthPixels)
        return;

    std::vector<unsigned char> lineTable(std::size_t(height) * PixelSize);
    const std::int64_t tableStart = start + std::int64_t(dimensions.size());
    const int rowsInTable = int(Bytes.ReadAt(tableStart, lineTable.data(), lineTable.size()) / PixelSize);

    // A target of the right size is filled anew rather than replaced: the
    // window draws picture after picture into the same bitmap.
    if (Target.width() != width || Target.height() != height || Target.format() != QImage::Format_RGB555)
        Target = QImage(width, height, QImage::Format_RGB555);
    if (Target.isNull())
        return; // not enough memory for the picture
    Target.fill(WhitePixel);

    const std::int64_t dataStart = tableStart + std::int64_t(lineTable.size());
    for (int y = 0; y < height && y < Target.height(); ++y) {
        if (y >= rowsInTable)
            return;
        const std::int64_t rowStart = dataStart + std::int64_t(Word(&lineTable[std::size_t(y) * PixelSize])) * PixelSize;
        if (DrawRunLengthRow(Bytes, rowStart, Target, y) == TRowEnd::StopDecode)
            return;
    }
    Size = QPoint(width, height);
}
