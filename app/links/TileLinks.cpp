#include "app/links/TileLinks.h"

#include "app/document/EditSteps.h"
#include "app/document/TileDocument.h"
#include "app/links/AnimationPlayer.h"
#include "app/links/TextureImage.h"
#include "app/links/UsedByFilter.h"

#include "art/PictureCache.h"
#include "platform/qt/AnsiString.h"
#include "tiledata/TileDataReader.h"
#include "tilelinks/LinkFiles.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int LineHeight = 16;
constexpr int Gap = 6;

QString TexIdText(int TexId)
{
    return QStringLiteral("TexID 0x") + QStringLiteral("%1").arg(TexId, 4, 16, QLatin1Char('0')).toUpper();
}

QString TileList(const std::vector<int> &Tiles)
{
    QStringList names;
    for (std::size_t k = 0; k < Tiles.size() && k < 3; ++k)
        names << TileHex(Tiles[k]);
    if (Tiles.size() > 3)
        names << QStringLiteral("%1 more").arg(Tiles.size() - 3);
    // Three names and a count fit the line beside "Show".
    return names.join(QStringLiteral(", "));
}

QLabel *NewLine(QWidget *Parent, const char *Name, int Top, int Width)
{
    auto *label = new QLabel(Parent);
    label->setObjectName(QString::fromLatin1(Name));
    label->setGeometry(0, Top, Width, LineHeight);
    return label;
}

} // namespace

TTileLinks::TTileLinks(TTileDocument &Document, const Anchors &Parts, PictureSource Pictures, QWidget &Window)
    : QObject(&Window)
    , FDocument(Document)
    , FParts(Parts)
    , FPictures(std::move(Pictures))
{
    TextureView = new QLabel(Parts.ArtPanel);
    TextureView->setObjectName(QStringLiteral("TextureView"));
    TextureView->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TextureView->hide();
    // Below the art view, above the window's buttons.
    const QRect art = Parts.ArtPanel->geometry();
    auto *strip = new QWidget(&Window);
    strip->setObjectName(QStringLiteral("TileLinks"));
    strip->setGeometry(art.x(), art.bottom() + 3, art.width(), 3 * LineHeight + 8);
    About = NewLine(strip, "LinkAbout", 0, art.width());
    Missing = NewLine(strip, "LinkMissing", LineHeight, art.width());
    UsedByText = NewLine(strip, "UsedByText", 2 * LineHeight + 6, art.width() - 52);
    UsedByButton = new QPushButton(QStringLiteral("Show"), strip);
    UsedByButton->setObjectName(QStringLiteral("UsedByButton"));
    UsedByButton->setGeometry(art.width() - 50, 2 * LineHeight + 3, 50, 22);
    UsedByButton->setToolTip(QStringLiteral("Filter the list to these tiles"));
    UsedByButton->setEnabled(false);
    Player = new TAnimationPlayer(*Parts.Picture);
    UsedBy = new TUsedByFilter(*Parts.Filter, this);
    connect(UsedByButton, &QPushButton::clicked, this, [this] {
        if (FShowUsers)
            FShowUsers();
    });
    connect(Player, &TAnimationPlayer::Changed, this, &TTileLinks::ShowPace);
    connect(&Document, &TTileDocument::Loaded, this, &TTileLinks::FollowLoad);
    connect(&Document, &TTileDocument::SelectionChanged, this, &TTileLinks::Show);
    connect(&Document, &TTileDocument::SectionChanged, this, &TTileLinks::Show);
    connect(&Document, &TTileDocument::TilesChanged, this, &TTileLinks::FollowTiles);
}

TTileLinks::~TTileLinks() = default;

TLinkFiles &TTileLinks::Files()
{
    if (!FFiles) {
        const TTileData *store = FDocument.Store();
        const std::string path = store ? AnsiString::ToPath(store->GetFileName()) : std::string();
        FFiles = std::make_unique<TLinkFiles>(TLinkFiles::FolderOf(path));
    }
    return *FFiles;
}

std::vector<int> TTileLinks::UsersOf(int Item)
{
    const TTileData *store = FDocument.Store();
    return store ? Files().Animations().UsersOf(Item, store->ItemCount()) : std::vector<int>();
}

QImage TTileLinks::CellTexture(int LandTile)
{
    const TTileData *store = FDocument.Store();
    const int texId = store ? store->GetTexture(LandTile) : 0;
    return texId == 0 || Files().Textures().Side(texId) == 0 ? QImage() : TextureOf(texId);
}

QImage TTileLinks::CellFrame(int Item) const
{
    if (FDocument.Section() != TTileKind::Item || Item != FDocument.CurrentTile())
        return QImage();
    const auto at = std::find(FFrameTiles.begin(), FFrameTiles.end(), Player->ShownTile());
    return at == FFrameTiles.end() ? QImage() : FFrames[std::size_t(at - FFrameTiles.begin())];
}

bool TTileLinks::HasAnimation(int Item)
{
    TAnimation animation;
    return FDocument.Store() && Files().Animations().Find(Item, animation);
}

// Another file, or the same one read again: its folder's files are read
// anew, when a tile needs them.
void TTileLinks::FollowLoad()
{
    FFiles.reset();
    ++FGeneration;
    Show();
}

// A TexID edit, or its undo, changes the land tile's texture and its
// sharers. Animations do not follow the tile data: the Animation flag
// changes nothing in animdata.mul.
void TTileLinks::FollowTiles(TTileKind Kind, const std::vector<int> &Tiles)
{
    if (Kind != TTileKind::Land || FDocument.Section() != Kind)
        return;
    const int current = FDocument.CurrentTile();
    if (Tiles.empty() || std::find(Tiles.begin(), Tiles.end(), current) != Tiles.end())
        Show();
}

void TTileLinks::Show()
{
    Player->Stop();
    FFrames.clear();
    FFrameTiles.clear();
    TextureView->hide();
    for (QLabel *label : {About, Missing, UsedByText})
        label->clear();
    UsedByText->setToolTip(QString());
    FPace.clear();
    FShowUsers = nullptr;
    UsedByButton->setEnabled(false);
    const TTileData *store = FDocument.Store();
    const int tile = FDocument.CurrentTile();
    if (!store || tile < 0 || tile >= store->Count(FDocument.Section()))
        return;
    if (FDocument.Section() == TTileKind::Land) {
        ShowTexture(*store, tile);
        ShowLandUsers(*store, tile);
    } else {
        ShowAnimation(*store, tile);
        ShowItemUsers(tile);
    }
}

QImage TTileLinks::TextureOf(int TexId)
{
    TTextureReader &textures = Files().Textures();
    const auto draw = [&](TPicture &Picture) {
        TTexture texture;
        textures.Read(TexId, texture);
        Picture.Image = TextureImage(texture);
        Picture.Size = QPoint(texture.Side, texture.Side);
        Picture.Missing = Picture.Image.isNull();
    };
    // Through the art's picture cache, within its cap; without art there is
    // no cache, and the one texture on view is drawn each time.
    if (TPictureCache *cache = FPictures ? FPictures() : nullptr)
        return cache->Other((FGeneration << 16) | std::uint32_t(TexId & 0xFFFF), draw).Image;
    TPicture picture;
    draw(picture);
    return picture.Image;
}

void TTileLinks::ShowTexture(const TTileData &Store, int Tile)
{
    const int texId = Store.GetTexture(Tile);
    if (texId == 0)
        return About->setText(QStringLiteral("(no texture)"));
    const QImage image = Files().Textures().Side(texId) == 0 ? QImage() : TextureOf(texId);
    if (image.isNull())
        return About->setText(QStringLiteral("(%1: no such texture)").arg(TexIdText(texId)));
    About->setText(QStringLiteral("%1: %2 × %2 texture").arg(TexIdText(texId)).arg(image.width()));
    // Beside the land's own picture, as large as the area lets it be.
    const QRect area = FParts.Picture->geometry();
    const int left = std::max(FParts.Picture->pixmap().width(), 44) + Gap;
    const int side = std::min(area.width() - left, area.height()) - 2;
    const QImage shown = FitWithoutBlur(image, side);
    TextureView->setGeometry(area.x() + left, area.y(), shown.width(), shown.height());
    TextureView->setPixmap(QPixmap::fromImage(shown));
    TextureView->show();
}

void TTileLinks::ShowLandUsers(const TTileData &Store, int Tile)
{
    const int texId = Store.GetTexture(Tile);
    int sharing = 0;
    for (int t = 0; t < Store.LandCount(); ++t)
        sharing += Store.GetTexture(t) == texId ? 1 : 0;
    UsedByText->setText(QStringLiteral("Used by: %1 land tile%2").arg(sharing).arg(sharing == 1 ? "" : "s"));
    UsedByText->setToolTip(QStringLiteral("The land tiles with %1, this one among them").arg(TexIdText(texId)));
    UsedByButton->setEnabled(true);
    FShowUsers = [this, texId] {
        UsedBy->Show(
            TTileKind::Land,
            [this, texId](int T) { return FDocument.Store() && FDocument.Store()->GetTexture(T) == texId; },
            TexIdText(texId));
    };
}

void TTileLinks::ShowAnimation(const TTileData &Store, int Tile)
{
    TAnimation animation;
    if (!Files().Animations().Find(Tile, animation))
        return;
    TPictureCache *cache = FPictures ? FPictures() : nullptr;
    std::vector<QImage> frames;
    std::vector<int> tiles;
    QStringList missing;
    for (const int frame : animation.Frames) {
        const bool item = frame >= 0 && frame < Store.ItemCount();
        const TPicture picture = item && cache ? cache->Item(frame) : TPicture();
        if (!item || picture.Missing) {
            missing << (frame < 0 ? QStringLiteral("-") + TileHex(-frame) : TileHex(frame));
            continue;
        }
        frames.push_back(picture.Image);
        tiles.push_back(frame);
    }
    FPace = QStringLiteral("%1 frame%2, every %3 ms, delay %4 ms")
                .arg(animation.FrameCount)
                .arg(animation.FrameCount == 1 ? QString() : QStringLiteral("s"))
                .arg(std::max(animation.Interval, 1) * TAnimationPlayer::StepMilliseconds)
                .arg(animation.StartDelay * TAnimationPlayer::StepMilliseconds);
    if (!missing.isEmpty())
        Missing->setText(QStringLiteral("Missing frames: ") + missing.join(QLatin1Char(' ')));
    Player->Play(frames, tiles, animation.Interval, animation.StartDelay);
    FFrames = std::move(frames);
    FFrameTiles = std::move(tiles);
    ShowPace();
}

void TTileLinks::ShowPace()
{
    About->setText(Player->IsPaused() ? FPace + QStringLiteral(", paused") : FPace);
}

void TTileLinks::ShowItemUsers(int Tile)
{
    const std::vector<int> users = UsersOf(Tile);
    if (users.empty())
        return UsedByText->setText(QStringLiteral("Used by: no animation"));
    UsedByText->setText(QStringLiteral("Used by: ") + TileList(users));
    UsedByText->setToolTip(QStringLiteral("The items whose animations show this one as a frame"));
    UsedByButton->setEnabled(true);
    FShowUsers = [this, users, Tile] {
        UsedBy->Show(
            TTileKind::Item, [users](int T) { return std::binary_search(users.begin(), users.end(), T); },
            QStringLiteral("frame ") + TileHex(Tile));
    };
}
