#pragma once

#include <QFrame>
#include <QImage>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <memory>

class QLabel;
class QResizeEvent;
class TArtSource;
class TPictureCache;
class THUEColorChooser;

// A panel that binds one art directory to a picture.
//
// It owns the art reader of that directory (the packed container of newer
// clients when the directory holds one, else art.mul with its index), draws the art of one static tile
// (ArtIndex) into its working bitmap `image`, and shows it in an inner image
// view that may scale a picture that does not fit. The editor keeps one
// hidden instance only as the keeper of the art reader and asks it, through
// DrawArt, to draw into its own picture.
class TVellArtReader : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(bool NeedsStretch READ NeedsStretch)
    Q_PROPERTY(QString ArtMulPath READ ArtMulPath WRITE SetArtMulPath)
    Q_PROPERTY(int ArtIndex READ ArtIndex WRITE SetArtIndex)
    Q_PROPERTY(QString ArtColor READ ArtColor WRITE SetArtColor)
    Q_PROPERTY(bool Ready READ Ready)
    Q_PROPERTY(bool CanStretch READ CanStretch WRITE SetCanStretch)

public:
    explicit TVellArtReader(QWidget *Owner = nullptr);
    ~TVellArtReader() override;

    bool NeedsStretch() const { return FNeedsStretch; }

    QString ArtMulPath() const { return FArtMulPath; }
    // Binds the art of directory Path: artLegacyMUL.uop when it lies there,
    // as the game itself then reads it, otherwise art.mul and artidx.mul;
    // with neither, the component is not Ready.
    void SetArtMulPath(const QString &Path);

    // True when Directory holds art that SetArtMulPath can bind.
    static bool HasArtIn(const QString &Directory);

    // The file the pictures come from ("artLegacyMUL.uop" or "art.mul");
    // empty while not Ready.
    QString ArtSourceName() const;

    int ArtIndex() const { return FArtIndex; }
    void SetArtIndex(int Index);

    QString ArtColor() const { return FArtColor; }
    void SetArtColor(const QString &Color);

    bool Ready() const { return FArtReader != nullptr; }

    bool CanStretch() const { return FCanStretch; }
    void SetCanStretch(bool Value);

    // The working bitmap drawn by the last ArtIndex change; null before it.
    const QImage *image() const { return FImage.get(); }

    // The size the reader reported at the last ArtIndex change made while
    // Ready; (0, 0) after construction.
    QPoint ArtSize() const { return FArtSize; }

    // The picture the inner view shows, and whether it stretches it.
    const QImage &ViewPicture() const { return FViewPicture; }
    bool ViewStretch() const { return FViewStretch; }

    // Draws raw art entry EntryNumber (a caller showing static tile t passes
    // t + 0x4000) into Target and reports the picture's size. Touches none
    // of the component's own state; without a reader it does nothing.
    void DrawArt(int EntryNumber, QImage &Target, QPoint &Size);
    // The same for land tile EntryNumber's picture (TArtSource::DrawLandArt).
    void DrawLandArt(int EntryNumber, QImage &Target, QPoint &Size);
    // The decoded pictures of the bound art, which every view of the
    // window's pictures shares; null while not Ready.
    TPictureCache *Pictures() const { return FPictures.get(); }

private:
    void resizeEvent(QResizeEvent *Event) override;

    // The view fills the client area; its size is known even while the
    // component is hidden and its layout has not run.
    QSize ViewSize() const { return contentsRect().size(); }
    bool ArtExceedsView() const;
    void UpdateStretch();
    void DrawImageIntoViewPicture();
    void ShowViewPicture();

    // Hue tint; see SetArtColor.
    void ApplyHue(const QString &Text, int Shade);
    void EnsureHueTable();
    // True when the text holds a character that no number can: "-", "_" or
    // a letter from G to Z in either case.
    static bool IsNamedColor(const QString &Text);
    // Multiplies every pixel by the RGB colour (red in the lowest byte).
    static void TintBitmap(QImage &Bitmap, std::uint32_t Colour);

    bool FNeedsStretch = false;
    QString FArtMulPath;
    int FArtIndex = 0;
    QString FArtColor;
    bool FCanStretch = true;
    QPoint FArtSize{0, 0};

    std::unique_ptr<TArtSource> FArtReader;
    // Decodes through FArtReader, so it goes first.
    std::unique_ptr<TPictureCache> FPictures;
    std::unique_ptr<THUEColorChooser> FHueTable;
    std::unique_ptr<QImage> FImage;

    QImage FViewPicture;
    bool FViewStretch = false;
    QLabel *ImageView = nullptr; // child widget, owned through Qt parenting
};

// Turns a directory text into a prefix for file names: an empty text gives
// a single separator (the root), any other text gets the separator appended
// unless it already ends in one.
QString AddTrailingBackslash(const QString &Directory);
