// The art view component: binding a directory, its state rules and its
// pictures, driven as a real widget.

#include "art/VellArtReader.h"
#include "platform/FileSystem.h"
#include "tests/art/ArtTestSupport.h"
#include "tests/support/ArtWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ArtTestSupport;
using Pixels = ArtWriter::Pixels;

namespace {

constexpr int Base = ArtWriter::StaticArtBase;

// Tile pictures measured against the view, whose client area is 44 x 44.
const Sample Tall{30, 50, 0x001F};
const Sample Flat{44, 20, 0x03E0};
const Sample Wide{45, 10, 0x7C00};
const Sample Fitting{44, 44, 0x1234};

// The system's own separator: the one the art view adds.
const QString Separator = QString(QLatin1Char(FileSystem::PathSeparator));

} // namespace

class TestVellArtReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void addTrailingBackslash_data();
    void addTrailingBackslash();
    void construction();
    void bindingAFolder_data();
    void bindingAFolder();
    void folderWithoutBothArtFiles_data();
    void folderWithoutBothArtFiles();
    void emptyPathMeansTheRoot();
    void losingTheReaderKeepsIndexAndSize();
    void stretchFollowsTheArt_data();
    void stretchFollowsTheArt();
    void canStretchRules();
    void drawArtLeavesTheComponentAlone();
    void artColorCopiesTheUntintedArt();

private:
    QTemporaryDir FArt;
    QTemporaryDir FEmpty;
};

void TestVellArtReader::initTestCase()
{
    ArtWriter writer;
    writer.PadToEntry(Base);
    for (const Sample &sample : {Tall, Flat, Wide, Fitting})
        writer.AddRunLength(sample.Width, sample.Height, sample.Words(), White);
    writer.AddRaw(Pixels(ArtWriter::RawPixelCount, 0x0421));
    writer.WriteArtFilesTo(FArt.path());
}

void TestVellArtReader::addTrailingBackslash_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("empty is the root") << QString() << Separator;
    QTest::newRow("root") << Separator << Separator;
    QTest::newRow("without separator") << "data" << "data" + Separator;
    QTest::newRow("with separator") << "data" + Separator << "data" + Separator;
    QTest::newRow("nested") << "/a/b" << "/a/b" + Separator;
}

void TestVellArtReader::addTrailingBackslash()
{
    QFETCH(QString, directory);
    QFETCH(QString, prefix);
    QCOMPARE(AddTrailingBackslash(directory), prefix);
}

void TestVellArtReader::construction()
{
    QWidget owner;
    auto *view = new TVellArtReader(&owner);
    QCOMPARE(view->parentWidget(), &owner);
    QCOMPARE(view->size(), QSize(46, 46));
    QVERIFY(!view->Ready());
    QCOMPARE(view->ArtIndex(), 0);
    QVERIFY(view->CanStretch());
    QVERIFY(!view->NeedsStretch());
    QCOMPARE(view->image(), nullptr);
    QCOMPARE(view->ArtSize(), QPoint(0, 0));
    QVERIFY(view->ViewPicture().isNull());
}

void TestVellArtReader::bindingAFolder_data()
{
    QTest::addColumn<bool>("trailingSeparator");
    QTest::newRow("without separator") << false;
    QTest::newRow("with separator") << true;
}

void TestVellArtReader::bindingAFolder()
{
    QFETCH(bool, trailingSeparator);
    TVellArtReader view;
    view.SetArtIndex(3);
    view.SetArtMulPath(FArt.path() + (trailingSeparator ? Separator : QString()));
    QCOMPARE(view.ArtMulPath(), FArt.path() + Separator);
    QVERIFY(view.Ready());
    // Binding draws static tile 0.
    QCOMPARE(view.ArtIndex(), 0);
    QCOMPARE(*view.image(), Tall.Image());
    QCOMPARE(view.ArtSize(), QPoint(Tall.Width, Tall.Height));
    // The view picture has had no content yet, so it stays empty.
    QVERIFY(view.ViewPicture().isNull());
}

void TestVellArtReader::folderWithoutBothArtFiles_data()
{
    QTest::addColumn<QString>("present"); // the one art file there, if any
    QTest::newRow("neither") << QString();
    QTest::newRow("only art.mul") << "art.mul";
    QTest::newRow("only artidx.mul") << "artidx.mul";
}

void TestVellArtReader::folderWithoutBothArtFiles()
{
    QFETCH(QString, present);
    const QTemporaryDir dir;
    if (!present.isEmpty())
        QVERIFY(QFile::copy(FArt.filePath(present), dir.filePath(present)));
    TVellArtReader view;
    view.SetArtMulPath(dir.path());
    QVERIFY(!view.Ready());
    QCOMPARE(view.ArtMulPath(), dir.path() + Separator);
    QCOMPARE(view.image(), nullptr);
}

void TestVellArtReader::emptyPathMeansTheRoot()
{
    if (QFile::exists(QStringLiteral("/art.mul")) && QFile::exists(QStringLiteral("/artidx.mul")))
        QSKIP("this machine keeps art files in its root");
    TVellArtReader view;
    view.SetArtMulPath(QString());
    QCOMPARE(view.ArtMulPath(), Separator);
    QVERIFY(!view.Ready());
}

void TestVellArtReader::losingTheReaderKeepsIndexAndSize()
{
    TVellArtReader view;
    view.SetArtMulPath(FArt.path());
    view.SetArtIndex(2);
    QCOMPARE(view.ArtSize(), QPoint(Wide.Width, Wide.Height));

    view.SetArtMulPath(FEmpty.path());
    QVERIFY(!view.Ready());
    QCOMPARE(view.ArtIndex(), 2);

    view.SetArtIndex(1);
    QCOMPARE(view.ArtIndex(), 1);
    QVERIFY(view.image() != nullptr);
    QVERIFY(view.image()->isNull());
    QCOMPARE(view.ArtSize(), QPoint(Wide.Width, Wide.Height));

    QImage target = Filled(3, 3, 0x0001);
    QPoint size(4, 5);
    view.DrawArt(Base, target, size);
    QCOMPARE(target, Filled(3, 3, 0x0001));
    QCOMPARE(size, QPoint(4, 5));
}

void TestVellArtReader::stretchFollowsTheArt_data()
{
    QTest::addColumn<int>("tile");
    QTest::addColumn<bool>("stretch");
    QTest::newRow("taller but narrower") << 0 << true;
    QTest::newRow("as wide, lower") << 1 << false;
    QTest::newRow("wider but lower") << 2 << true;
    QTest::newRow("as large") << 3 << false;
    QTest::newRow("raw art reports no size") << 4 << false;
    QTest::newRow("beyond the index") << 99 << false;
}

void TestVellArtReader::stretchFollowsTheArt()
{
    QFETCH(int, tile);
    QFETCH(bool, stretch);
    TVellArtReader view;
    view.SetArtMulPath(FArt.path());
    // Start from the opposite setting, so that a change has to happen.
    view.SetArtIndex(stretch ? 3 : 0);
    view.SetArtIndex(tile);
    QCOMPARE(view.ViewStretch(), stretch);
    QCOMPARE(view.NeedsStretch(), stretch);
}

void TestVellArtReader::canStretchRules()
{
    TVellArtReader view;
    view.SetArtMulPath(FArt.path()); // tile 0: taller than the view
    QVERIFY(view.ViewStretch() && view.NeedsStretch());

    view.SetCanStretch(false);
    QVERIFY(!view.ViewStretch());
    QVERIFY(view.NeedsStretch());

    view.SetArtIndex(3); // fits, but stretching may not change now
    QVERIFY(!view.ViewStretch());
    QVERIFY(view.NeedsStretch());

    view.SetArtIndex(0);
    view.SetCanStretch(true);
    QVERIFY(view.ViewStretch());
    view.SetArtIndex(3);
    QVERIFY(!view.ViewStretch() && !view.NeedsStretch());

    // Allowing stretching again recomputes it from the art, but does not
    // touch NeedsStretch.
    view.SetCanStretch(false);
    view.SetArtIndex(0);
    view.SetCanStretch(true);
    QVERIFY(view.ViewStretch());
    QVERIFY(!view.NeedsStretch());
}

void TestVellArtReader::drawArtLeavesTheComponentAlone()
{
    TVellArtReader view;
    view.SetArtMulPath(FArt.path());
    view.SetArtColor(QStringLiteral("0"));
    const QImage picture = view.ViewPicture();

    QImage target;
    QPoint size;
    view.DrawArt(Base + 1, target, size);
    QCOMPARE(target, Flat.Image());
    QCOMPARE(size, QPoint(Flat.Width, Flat.Height));

    QCOMPARE(view.ArtIndex(), 0);
    QCOMPARE(*view.image(), Tall.Image());
    QCOMPARE(view.ArtSize(), QPoint(Tall.Width, Tall.Height));
    QCOMPARE(view.ViewPicture(), picture);
    QVERIFY(view.ViewStretch());
}

void TestVellArtReader::artColorCopiesTheUntintedArt()
{
    TVellArtReader view;
    view.SetArtColor(QStringLiteral(" \t00\r\n"));
    QCOMPARE(view.ArtColor(), QStringLiteral("00"));
    QVERIFY(view.ViewPicture().isNull());

    view.SetArtMulPath(FArt.path());
    view.SetArtColor(QStringLiteral("  0 "));
    QCOMPARE(view.ArtColor(), QStringLiteral("0"));
    QCOMPARE(view.ViewPicture(), Tall.Image());

    // A later tile is drawn into the view picture at its top-left corner,
    // clipped to the picture's own size.
    view.SetArtIndex(1);
    QImage expected = Tall.Image();
    for (int y = 0; y < Flat.Height; ++y)
        for (int x = 0; x < Tall.Width; ++x)
            expected.setPixel(x, y, Flat.Image().pixel(0, 0));
    QCOMPARE(view.ViewPicture(), expected);
    QCOMPARE(*view.image(), Flat.Image());
}

QTEST_MAIN(TestVellArtReader)
#include "test_vellartreader.moc"
