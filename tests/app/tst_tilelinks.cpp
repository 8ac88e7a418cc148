// What a tile points to beside tiledata.mul, in the window: a land tile's
// texture as its TexID changes and changes back, an item's animation frames
// in order, "Used by" filtering the list to the tiles that share them, and
// the findings of the check of those files following an edit and its undo.

#include "app/check/FindingsLine.h"
#include "app/check/ProblemsFilter.h"
#include "app/check/ProblemsTools.h"
#include "app/check/TileProblems.h"
#include "app/document/TileDocument.h"
#include "app/form/Unit1.h"
#include "app/links/AnimationPlayer.h"
#include "app/links/TileLinks.h"
#include "app/list/TileListModel.h"
#include "app/pictures/PictureGrid.h"
#include "app/pictures/PicturesWindow.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/AnimationWriter.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/TextureWriter.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

namespace {

constexpr std::uint16_t Red = 0x7C00;
constexpr std::uint16_t Green = 0x03E0;
constexpr std::uint16_t Blue = 0x001F;

// Land tiles 0 to 3 have TexIDs 1 (64 x 64), 2 (128 x 128), 0 and 9 (an
// empty slot); every third land tile after them TexID 1 too.
int TexIdOf(int Tile)
{
    static const int first[] = {1, 2, 0, 9};
    return Tile < 4 ? first[Tile] : Tile % 3 == 0 ? 1 : 0x100 + Tile % 50;
}

void WriteLand(std::vector<unsigned char> &Bytes)
{
    LayoutTileWriter file = LayoutTileWriter::ShapeOf(Bytes.size());
    file.Bytes() = std::move(Bytes);
    for (int t = 0; t < LayoutTileWriter::LandTiles; ++t)
        file.SetLand(t, {0, std::uint16_t(TexIdOf(t)), "land"});
    Bytes = std::move(file.Bytes());
}

void WriteTextures(const QString &Folder)
{
    TextureWriter w;
    w.PadToEntry(1);
    w.AddTexture(64, [](int X, int) { return X < 32 ? Red : Green; });
    w.AddTexture(128, [](int, int) { return Blue; });
    w.PadToEntry(10);
    w.WriteTo(Folder);
}

// Items 0x10 to 0x12 have pictures, red, green and blue; 0x15 has none.
void WriteArt(const QString &Folder)
{
    ArtWriter art;
    art.PadToEntry(ArtWriter::StaticArtBase + 0x10);
    for (const std::uint16_t colour : {Red, Green, Blue})
        art.AddRunLength(8, 8, ArtWriter::Pixels(64, colour), 0);
    art.PadToEntry(ArtWriter::StaticArtBase + 0x40);
    art.WriteTo(Folder);
}

void WriteAnimations(const QString &Folder)
{
    AnimationWriter w;
    w.SetEntry(0x10, {0, 1, 2, 5, 1, -20}, 1, 0); // 0x15 and -0x4 cannot be shown
    w.SetEntry(0x30, {-0x1F}, 1, 0);             // item 0x11 is its only frame
    w.SetEntry(0x13, {-3}, 0, 0);                // an interval of 0 steps
    w.WriteTo(Folder);
}

QLineEdit *Texture(const TForm1 &Window)
{
    return Window.findChild<QLineEdit *>(QStringLiteral("edTexture"));
}

QRgb Colour(const QLabel *Label, int X, int Y)
{
    return Label->pixmap().toImage().pixel(X, Y);
}

} // namespace

class TileLinksTest : public WindowTest
{
    Q_OBJECT

    std::unique_ptr<TForm1> OpenLinked(bool Land, int Tile)
    {
        WriteLand(Files->Writer.Bytes());
        WriteTextures(Files->Folder());
        WriteArt(Files->Folder());
        WriteAnimations(Files->Folder());
        auto window = Open();
        if (Land)
            Shortcut(*window, Qt::CTRL | Qt::Key_Tab);
        ClickLine(*window, Tile);
        return window;
    }

private slots:
    void initTestCase()
    {
        // The Pictures window's switch goes to a settings file of the tests.
        QStandardPaths::setTestModeEnabled(true);
    }
    void landTexture_data();
    void landTexture();
    void animationFrames();
    void usedByFilters_data();
    void usedByFilters();
    void findingsFollowTheAnimationFlag();
};

void TileLinksTest::landTexture_data()
{
    QTest::addColumn<int>("Tile");
    QTest::addColumn<QString>("About");
    QTest::addColumn<QRgb>("TopLeft"); // 0: no texture shown

    QTest::newRow("64 x 64") << 0 << "TexID 0x0001: 64 × 64 texture" << qRgb(255, 0, 0);
    QTest::newRow("128 x 128") << 1 << "TexID 0x0002: 128 × 128 texture" << qRgb(0, 0, 255);
    QTest::newRow("TexID 0") << 2 << "(no texture)" << QRgb(0);
    QTest::newRow("empty slot") << 3 << "(TexID 0x0009: no such texture)" << QRgb(0);
}

void TileLinksTest::landTexture()
{
    QFETCH(int, Tile);
    QFETCH(QString, About);
    QFETCH(QRgb, TopLeft);

    auto window = OpenLinked(true, Tile);
    TTileLinks &links = *window->Links;
    QCOMPARE(links.About->text(), About);
    QCOMPARE(links.TextureView->isVisible(), TopLeft != 0);
    if (TopLeft != 0) {
        QCOMPARE(Colour(links.TextureView, 0, 0), TopLeft);
        // Beside the land's picture, not over it.
        QVERIFY(links.TextureView->x() >= 44);
    }
    // A TexID edit shows the new texture at once; undo brings the old view.
    TypeInto(Texture(*window), QStringLiteral("1"));
    QTest::keyClick(Texture(*window), Qt::Key_Return);
    QCOMPARE(links.About->text(), QStringLiteral("TexID 0x0001: 64 × 64 texture"));
    QCOMPARE(Colour(links.TextureView, 40, 0), qRgb(0, 255, 0));
    Shortcut(*window, Qt::CTRL | Qt::Key_Z);
    QCOMPARE(links.About->text(), About);
    QCOMPARE(links.TextureView->isVisible(), TopLeft != 0);
    // The Pictures window's land cells show textures with its switch on.
    window->findChild<QAction *>(QStringLiteral("PicturesAction"))->trigger();
    TPicturesWindow &pictures = *window->Pictures;
    pictures.TexturesSwitch->setChecked(true);
    const QImage shown = pictures.Grid->viewport()->grab().toImage();
    const QRect cell = pictures.Grid->visualRect(pictures.Grid->model()->index(Tile, 0));
    const QRgb drawn = shown.pixel(cell.center().x() - 10, cell.top() + 13);
    QCOMPARE(drawn == TopLeft, TopLeft != 0);
}

void TileLinksTest::animationFrames()
{
    auto window = OpenLinked(false, 0x10);
    TTileLinks &links = *window->Links;
    QCOMPARE(links.About->text(), QStringLiteral("6 frames, every 50 ms, delay 0 ms"));
    QCOMPARE(links.Missing->text(), QStringLiteral("Missing frames: 0x15 -0x4"));
    // The frames that have pictures, in the entry's order, looping.
    std::vector<int> shown;
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    connect(links.Player, &TAnimationPlayer::Changed, this, [&] {
        shown.push_back(links.Player->ShownTile());
        QCOMPARE(Colour(window->Image1, 2, 2), colours[links.Player->ShownTile() - 0x10]);
    });
    QTRY_VERIFY_WITH_TIMEOUT(shown.size() >= 6, 5000);
    shown.resize(6);
    QCOMPARE(shown, (std::vector<int>{0x10, 0x11, 0x12, 0x11, 0x10, 0x11}));
    // A click pauses it, another resumes it.
    QTest::mouseClick(window->Image1, Qt::LeftButton);
    QVERIFY(links.Player->IsPaused());
    QVERIFY(links.About->text().endsWith(QStringLiteral(", paused")));
    const std::size_t paused = shown.size();
    QTest::qWait(200);
    QCOMPARE(shown.size(), paused);
    QTest::mouseClick(window->Image1, Qt::LeftButton);
    QTRY_VERIFY(shown.size() > paused + 1);
    // A tile without an entry stops it and shows its own picture.
    ClickLine(*window, 0x12);
    QVERIFY(!links.Player->IsPlaying());
    QCOMPARE(links.About->text(), QString());
    // An interval of 0 would redraw as fast as the window can: one step.
    ClickLine(*window, 0x13);
    QCOMPARE(links.About->text(), QStringLiteral("1 frame, every 50 ms, delay 0 ms"));
    QCOMPARE(links.Player->IntervalMs(), TAnimationPlayer::StepMilliseconds);
}

void TileLinksTest::usedByFilters_data()
{
    QTest::addColumn<bool>("Land");
    QTest::addColumn<int>("Tile");
    QTest::addColumn<QString>("Text");
    QTest::addColumn<QStringList>("FirstLines"); // of the filtered list
    QTest::addColumn<int>("Count");

    int sharing = 0;
    for (int t = 0; t < LayoutTileWriter::LandTiles; ++t)
        sharing += TexIdOf(t) == 1 ? 1 : 0;
    QTest::newRow("a TexID") << true << 0 << QStringLiteral("Used by: %1 land tiles").arg(sharing)
                             << QStringList{"0x0", "0x6"} << sharing;
    QTest::newRow("a frame") << false << 0x11 << "Used by: 0x10, 0x30"
                             << QStringList{"0x10", "0x30"} << 2;
    QTest::newRow("no animation's") << false << 0x20 << "Used by: no animation" << QStringList{} << 16383;
}

void TileLinksTest::usedByFilters()
{
    QFETCH(bool, Land);
    QFETCH(int, Tile);
    QFETCH(QString, Text);
    QFETCH(QStringList, FirstLines);
    QFETCH(int, Count);

    auto window = OpenLinked(Land, Tile);
    TTileLinks &links = *window->Links;
    QCOMPARE(links.UsedByText->text(), Text);
    QCOMPARE(links.UsedByButton->isEnabled(), !FirstLines.isEmpty());
    QTest::mouseClick(links.UsedByButton, Qt::LeftButton);
    QCOMPARE(ListCount(*window), Count);
    for (int row = 0; row < FirstLines.size(); ++row)
        QVERIFY2(ListLine(*window, row).startsWith(FirstLines[row]), qPrintable(ListLine(*window, row)));
}

// Item 0x30 has an animation entry but not the Animation flag; 0x31 has
// neither. Setting the flag mends 0x30 at once, and undo breaks it again.
void TileLinksTest::findingsFollowTheAnimationFlag()
{
    Files->Writer.SetRecord(0x30, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "animated"});
    Files->Writer.SetRecord(0x31, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "still"});
    auto window = OpenLinked(false, 0x30);
    TProblemsTools &checks = *window->Checks;
    const QString finding
        = QStringLiteral("warning entry-without-animation: has an animation of 1 frame in animdata.mul, but not the "
                         "Animation flag");
    const auto listed = [&](int Tile) { return window->ListModel->RowOf(Tile) >= 0; };
    const auto refilter = [&] {
        checks.Filter->Switch->setChecked(false);
        checks.Filter->Switch->setChecked(true);
    };
    QCOMPARE(checks.Line->Line(), finding);
    QVERIFY(checks.Line->isVisible());
    window->findChild<QAction *>(QStringLiteral("PicturesAction"))->trigger();
    QCOMPARE(window->Pictures->findChild<TFindingsLine *>(QStringLiteral("PicturesFindings"))->Line(), finding);
    refilter();
    QVERIFY(listed(0x30));
    QVERIFY(!listed(0x31));

    QTest::mouseClick(window->cbAnimated, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
    QCOMPARE(checks.Line->Line(), QString());
    QVERIFY(!checks.Problems->Has(TTileKind::Item, 0x30));
    refilter();
    QVERIFY(!listed(0x30));

    Shortcut(*window, Qt::CTRL | Qt::Key_Z);
    QCOMPARE(window->Document->CurrentTile(), 0x30);
    QCOMPARE(checks.Line->Line(), finding);
    QVERIFY(checks.Problems->Has(TTileKind::Item, 0x30));
    refilter();
    QVERIFY(listed(0x30));
}

QTEST_MAIN(TileLinksTest)
#include "tst_tilelinks.moc"
