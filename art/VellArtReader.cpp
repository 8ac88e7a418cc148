#include "art/VellArtReader.h"

#include "art/ArtPaths.h"
#include "art/PackedArtReader.h"
#include "art/PictureCache.h"
#include "art/ReadArtIDX.h"
#include "art/huechooser.h"
#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/qt/AnsiString.h"
#include "platform/qt/IntegerText.h"

#include <QBitmap>
#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>

#include <algorithm>
#include <cstring>

namespace {

constexpr int InitialSide = 46;
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

const QString PackedArtName = QStringLiteral("artLegacyMUL.uop");
const QString ArtName = QStringLiteral("art.mul");
const QString IndexName = QStringLiteral("artidx.mul");

// The art source of a directory that ends in a separator, or null.
std::unique_ptr<TArtSource> ArtSourceIn(const QString &Directory)
{
    if (FileExists(Directory + PackedArtName))
        return std::make_unique<TPackedArtReader>(Directory + PackedArtName, true);
    if (FileExists(Directory + ArtName) && FileExists(Directory + IndexName))
        return std::make_unique<TArtReader>(Directory + ArtName, Directory + IndexName, true);
    return nullptr;
}

// Texts that leave the picture untinted and never need the hue table.
bool IsUntintedText(const QString &Text)
{
    return Text.isEmpty() || Text == u"0" || Text == u"00";
}

bool IsHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

// Hue keys are "00" followed by the hue number in upper-case hexadecimal.
QString HexText(int Value)
{
    return QString::number(std::uint32_t(Value), 16).toUpper();
}

// The key of a text that names a hue by its number. A text that starts with
// "0" already is hexadecimal digits; any other is read as an integer
// (decimal, or hexadecimal after "$") and written in hexadecimal with at
// least two digits. Zeros in front then make the "00" of a key; a text that
// has more than two is left alone and matches no hue.
QString NumberHueKey(QString Text)
{
    if (!Text.startsWith(u'0'))
        Text = HexText(StrToInt(Text)).rightJustified(2, u'0');
    while (!Text.startsWith(QStringLiteral("00")))
        Text.prepend(u'0');
    return Text.toUpper();
}

// Length of a hexadecimal prefix ("$", "0x" or "0X") at Pos that is followed
// by a digit, else 0.
qsizetype HexPrefixAt(const QString &Text, qsizetype Pos)
{
    const auto digitAt = [&](qsizetype i) { return i < Text.size() && IsHexDigit(Text[i]); };
    if (Text[Pos] == u'$' && digitAt(Pos + 1))
        return 1;
    if (Text[Pos] == u'0' && Pos + 1 < Text.size() && (Text[Pos + 1] == u'x' || Text[Pos + 1] == u'X')
        && digitAt(Pos + 2))
        return 2;
    return 0;
}

// The number inside a named hue text such as "0x489": the first run of
// hexadecimal digits, together with a "0x" or "$" right in front of it so
// that the prefix keeps its meaning when the part is read as an integer.
// Any hexadecimal digit counts, also one inside a word: "hue_1161" gives
// "e". A text without hexadecimal digits has no number part.
QString NumberPartOf(const QString &Text)
{
    for (qsizetype start = 0; start < Text.size(); ++start) {
        const qsizetype prefix = HexPrefixAt(Text, start);
        if (prefix == 0 && !IsHexDigit(Text[start]))
            continue;
        qsizetype end = start + prefix;
        while (end < Text.size() && IsHexDigit(Text[end]))
            ++end;
        return Text.mid(start, end - start);
    }
    return QString();
}

// The key of a text that names a hue among other characters. Its number
// part is read as an integer, so plain digits are decimal ("-5" is hue 5)
// and "0x" or "$" make it hexadecimal; a part that does not read that way,
// such as "1a", is taken as hexadecimal digits. No number part means hue 0,
// which no hue carries.
QString NamedHueKey(const QString &Text)
{
    QString part = NumberPartOf(Text);
    if (part.isEmpty())
        part = QStringLiteral("0");
    int number = 0;
    try {
        number = StrToInt(part);
    } catch (const Error &) {
        number = StrToInt(QLatin1Char('$') + part);
    }
    return QStringLiteral("00") + HexText(number);
}

// One 8-bit channel multiplied by an 8-bit factor, rounded to the nearest
// integer. 255 is odd, so there are no halves to break ties on.
int Multiply(int Channel, int Factor)
{
    return (Channel * Factor + 127) / 255;
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
    FPictures.reset();
    FArtReader.reset();
    FArtMulPath = AddTrailingBackslash(Path);
    FArtReader = ArtSourceIn(FArtMulPath);
    if (FArtReader) {
        FPictures = std::make_unique<TPictureCache>(*FArtReader);
        SetArtIndex(0);
    }
}

bool TVellArtReader::HasArtIn(const QString &Directory)
{
    const QString folder = AddTrailingBackslash(Directory);
    return FileExists(folder + PackedArtName) || FileExists(folder + ArtName);
}

QString TVellArtReader::ArtSourceName() const
{
    return FArtReader ? FArtReader->SourceName() : QString();
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
    // A text that fails goes back to the caller as an Error; the view then
    // shows the untinted copy and ArtColor keeps its previous text.
    ApplyHue(text, TintShade);
    FArtColor = text;
}

void TVellArtReader::ApplyHue(const QString &Text, int Shade)
{
    if (IsUntintedText(Text))
        return;
    // The table is there before the text is read, also when the text then
    // turns out not to be a number.
    EnsureHueTable();
    const QString key = IsNamedColor(Text) ? NamedHueKey(Text) : NumberHueKey(Text);
    TintBitmap(FViewPicture, FHueTable->GetHueColor(key, Shade));
    ShowViewPicture();
}

void TVellArtReader::EnsureHueTable()
{
    if (FHueTable)
        return;
    // Kept before it loads: when the load fails, the empty table stays and
    // the file is never tried again, so every later hue tints black.
    FHueTable = std::make_unique<THUEColorChooser>();
    FHueTable->LoadHues(FArtMulPath + QStringLiteral("hues.mul"));
}

bool TVellArtReader::IsNamedColor(const QString &Text)
{
    return std::any_of(Text.begin(), Text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return u == u'-' || u == u'_' || (u >= u'G' && u <= u'Z') || (u >= u'g' && u <= u'z');
    });
}

void TVellArtReader::TintBitmap(QImage &Bitmap, std::uint32_t Colour)
{
    const int red = int(Colour & 0xFF);
    const int green = int((Colour >> 8) & 0xFF);
    const int blue = int((Colour >> 16) & 0xFF);
    // Every pixel alike, grey or coloured: white takes the colour itself and
    // black stays black.
    for (int x = 0; x < Bitmap.width(); ++x) {
        for (int y = 0; y < Bitmap.height(); ++y) {
            const QRgb pixel = Bitmap.pixel(x, y);
            Bitmap.setPixel(x, y, qRgb(Multiply(qRed(pixel), red), Multiply(qGreen(pixel), green),
                                       Multiply(qBlue(pixel), blue)));
        }
    }
}

void TVellArtReader::DrawArt(int EntryNumber, QImage &Target, QPoint &Size)
{
    if (FArtReader)
        FArtReader->DrawArt(EntryNumber, Target, Size);
}

void TVellArtReader::DrawLandArt(int EntryNumber, QImage &Target, QPoint &Size)
{
    if (FArtReader)
        FArtReader->DrawLandArt(EntryNumber, Target, Size);
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
