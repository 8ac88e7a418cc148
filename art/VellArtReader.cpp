#include "art/VellArtReader.h"

#include "art/ArtPaths.h"
#include "art/ReadArtIDX.h"
#include "art/huechooser.h"
#include "platform/FileSystem.h"
#include "platform/qt/AnsiString.h"

#include <QBitmap>
#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>

#include <algorithm>
#include <cstring>

namespace {

constexpr int InitialSide = 46;
constexpr std::uint32_t StaticArtBase = 0x4000;
constexpr int TintShade = 30;

// The art entry of static tile Index. The sum wraps rather than overflows;
// numbers that end up outside the index simply draw nothing.
std::int32_t ArtEntryOf(int Index)
{
    return std::int32_t(std::uint32_t(Index) + StaticArtBase);
}

// Removes leading and trailing spaces and control characters.
QString TrimSpacesAndControls(const QString &Text)
{
    const auto isTrimmed = [](QChar c) { return c.unicode() <= u' '; };
    qsizetype first = 0;
    qsizetype last = Text.size();
    while (first < last && isTrimmed(Text[first]))
        ++first;
    while (last > first && isTrimmed(Text[last - 1]))
        --last;
    return Text.mid(first, last - first);
}

bool FileExists(const QString &Path)
{
    return FileSystem::FileExists(AnsiString::ToPath(Path));
}

} // namespace

TVellArtReader::TVellArtReader(QWidget *Owner)
    : QFrame(Owner)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    resize(InitialSide, InitialSide);
    ImageView = new QLabel(this);
    ImageView->setAlignment(Qt::AlignCenter);
    // The view follows the component, never its picture.
    ImageView->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    ImageView->setGeometry(contentsRect());
}

// Defined here, where the owned types are complete.
TVellArtReader::~TVellArtReader() = default;

void TVellArtReader::SetArtMulPath(const QString &Path)
{
    FArtReader.reset();
    FArtMulPath = AddTrailingBackslash(Path);
    const QString artFile = FArtMulPath + QStringLiteral("art.mul");
    const QString indexFile = FArtMulPath + QStringLiteral("artidx.mul");
    if (!FileExists(artFile) || !FileExists(indexFile))
        return;
    FArtReader = std::make_unique<TArtReader>(artFile, indexFile, true);
    SetArtIndex(0);
}

void TVellArtReader::SetArtIndex(int Index)
{
    FImage = std::make_unique<QImage>();
    if (FArtReader) {
        QPoint size(0, 0);
        FArtReader->DrawArt(ArtEntryOf(Index), *FImage, size);
        FArtSize = size;
    }
    DrawImageIntoViewPicture();
    FArtIndex = Index;
    UpdateStretch();
    ShowViewPicture();
}

void TVellArtReader::SetCanStretch(bool Value)
{
    FCanStretch = Value;
    FViewStretch = Value && ArtExceedsView();
    ShowViewPicture();
}

void TVellArtReader::SetArtColor(const QString &Color)
{
    // Every change starts again from the untinted art, so tints never
    // accumulate.
    FViewPicture = FImage ? FImage->copy() : QImage();
    ShowViewPicture();
    const QString text = TrimSpacesAndControls(Color);
    ApplyHue(text, TintShade);
    FArtColor = text;
}

void TVellArtReader::ApplyHue(const QString &Text, int Shade)
{
    // The hue tint goes here: turn Text into a hue key, look up colour
    // Shade of that hue in the hue table (EnsureHueTable), multiply the view
    // picture by it and show it again. Until the hue table exists the view
    // keeps the untinted copy.
    Q_UNUSED(Text);
    Q_UNUSED(Shade);
}

void TVellArtReader::EnsureHueTable()
{
    // Loading ArtMulPath + "hues.mul" into the new table belongs here too.
    if (!FHueTable)
        FHueTable = std::make_unique<THUEColorChooser>();
}

void TVellArtReader::DrawArt(int EntryNumber, QImage &Target, QPoint &Size)
{
    if (FArtReader)
        FArtReader->DrawArt(EntryNumber, Target, Size);
}

bool TVellArtReader::ArtExceedsView() const
{
    const QSize view = ViewSize();
    return view.width() < FArtSize.x() || view.height() < FArtSize.y();
}

void TVellArtReader::UpdateStretch()
{
    if (!FCanStretch)
        return;
    FViewStretch = ArtExceedsView();
    FNeedsStretch = FViewStretch;
}

void TVellArtReader::DrawImageIntoViewPicture()
{
    // The working bitmap goes in at the top-left corner at its natural size;
    // the view picture keeps its own size and clips it. Both are 15-bit
    // bitmaps, so rows are copied as they are.
    if (!FImage || FImage->isNull() || FViewPicture.isNull()
        || FImage->format() != FViewPicture.format())
        return;
    const int rows = std::min(FImage->height(), FViewPicture.height());
    const int bytes = std::min(FImage->width(), FViewPicture.width()) * FImage->depth() / 8;
    for (int y = 0; y < rows; ++y)
        std::memcpy(FViewPicture.scanLine(y), FImage->constScanLine(y), std::size_t(bytes));
}

void TVellArtReader::ShowViewPicture()
{
    ImageView->setGeometry(contentsRect());
    if (FViewPicture.isNull()) {
        ImageView->clear();
        return;
    }
    QPixmap picture = QPixmap::fromImage(FViewPicture);
    // Transparent drawing: the colour of the bottom-left pixel is left out.
    const QRgb transparent = FViewPicture.pixel(0, FViewPicture.height() - 1);
    picture.setMask(QBitmap::fromImage(FViewPicture.createMaskFromColor(transparent, Qt::MaskInColor)));
    const QSize view = ViewSize();
    const bool larger = picture.width() > view.width() || picture.height() > view.height();
    if ((FViewStretch || larger) && !view.isEmpty())
        picture = picture.scaled(view, Qt::KeepAspectRatio, Qt::FastTransformation);
    ImageView->setPixmap(picture);
}

void TVellArtReader::resizeEvent(QResizeEvent *Event)
{
    QFrame::resizeEvent(Event);
    ShowViewPicture();
}
