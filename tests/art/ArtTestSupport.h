#pragma once

#include "art/MessageBoxes.h"
#include "tests/support/ArtWriter.h"

#include <QImage>
#include <QList>
#include <QPair>
#include <QString>

// Helpers shared by the art tests.
namespace ArtTestSupport {

constexpr std::uint16_t White = 0x7FFF;

// A Width x Height 15-bit picture from row-major pixel words.
QImage Picture(int Width, int Height, const ArtWriter::Pixels &Words);
QImage Filled(int Width, int Height, std::uint16_t Word);

// A one-colour picture, told apart from others by size and colour.
struct Sample
{
    int Width;
    int Height;
    std::uint16_t Color;

    ArtWriter::Pixels Words() const;
    QImage Image() const;
    // The picture as run-length entry data.
    ArtWriter::Bytes Entry() const;
};

// Collects the message boxes shown while it lives instead of showing them.
class CapturedBoxes
{
public:
    CapturedBoxes();
    ~CapturedBoxes();
    CapturedBoxes(const CapturedBoxes &) = delete;
    CapturedBoxes &operator=(const CapturedBoxes &) = delete;

    QList<QPair<MessageBoxes::TBoxKind, QString>> Shown;

private:
    MessageBoxes::THandler FPrevious;
};

} // namespace ArtTestSupport
