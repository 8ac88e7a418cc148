// The art view's tint: how a hue text becomes a hue, how the picture is
// multiplied by shade 30 of it, and what happens when the hue file or the
// text is bad.

#include "art/VellArtReader.h"
#include "platform/Error.h"
#include "tests/art/ArtTestSupport.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/HueWriter.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <iterator>
#include <memory>

using namespace ArtTestSupport;
using Pixels = ArtWriter::Pixels;

namespace {

constexpr int Base = ArtWriter::StaticArtBase;
constexpr int Shade = 30;
constexpr int LastHue = 3000;

// Tile 0 is plain white, so a tint shows the hue colour itself.
const Sample WhiteTile{6, 4, White};

// Hue n's shade 30 is the colour word n, except for one hue with a colour
// whose channels differ; every other shade is white, so a wrong shade shows.
constexpr int MixedHue = 7;
constexpr std::uint16_t MixedColour = 0x7E01; // red 31, green 16, blue 1

std::uint16_t HueColour(int Hue)
{
    if (Hue == 0)
        return 0; // no such hue: black
    return Hue == MixedHue ? MixedColour : std::uint16_t(Hue);
}

// Tile 1, one row: each pixel with what the mixed hue (248, 128, 8) makes of
// it, worked out by hand from 8-bit channels (a 5-bit channel c reads as
// c * 8 + c / 4) and rounded to nearest before the write keeps 5 bits.
struct TintCase
{
    const char *Name;
    std::uint16_t Pixel;
    std::uint16_t Tinted;
};
const TintCase TintCases[] = {
    {"white takes the hue colour", 0x7FFF, MixedColour},
    {"black stays black", 0x0000, 0x0000},
    {"grey 16: 132 * (248, 128, 8)", 0x4210, 0x4100},
    {"grey 1: 7.78 rounds up to 8", 0x0421, 0x0400},
    {"grey 2: red 15.56 rounds up to 16", 0x0842, 0x0820},
    {"grey 30: blue 7.75 rounds up to 8", 0x7BDE, 0x79E1},
    {"pure red", 0x7C00, 0x7C00},
    {"cyan", 0x03FF, 0x0201},
    {"bit 15 plays no part", 0xFFFF, MixedColour},
};
constexpr std::uint16_t UnusedWord = 0x1234; // left out of the runs

// The white tile tinted with the given hue.
QImage WhiteTinted(int Hue)
{
    return Filled(WhiteTile.Width, WhiteTile.Height, HueColour(Hue));
}

const QString Hues = QStringLiteral("hues.mul");
const QStringList ArtFiles{QStringLiteral("art.mul"), QStringLiteral("artidx.mul")};

std::uint16_t WordAt(const QImage &Image, int X, int Y)
{
    return reinterpret_cast<const std::uint16_t *>(Image.constScanLine(Y))[X];
}

HueWriter NumberedHues()
{
    HueWriter writer(LastHue / HueWriter::HuesPerBlock);
    for (int hue = 1; hue <= LastHue; ++hue)
        for (int shade = 0; shade < HueWriter::Shades; ++shade)
            writer.SetColor(hue, shade, shade == Shade ? HueColour(hue) : White);
    return writer;
}

QString ErrorText(const std::function<void()> &Action)
{
    try {
        Action();
    } catch (const Error &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

QString MissingFileText(const QString &Path)
{
    return TestFiles::CannotOpenText(Path, TestFiles::OpenFailureReason(TestFiles::OpenFailure::NoFile));
}

} // namespace

class TestArtTint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void hueTexts_data();
    void hueTexts();
    void tintMultipliesEveryChannel_data();
    void tintMultipliesEveryChannel();
    void tintsDoNotAccumulate();
    void untintedTexts_data();
    void untintedTexts();
    void noWorkingBitmap_data();
    void noWorkingBitmap();
    void missingHueFile();
    void withoutFolderTheHueFileIsLookedForHere();
    void invalidNumbers_data();
    void invalidNumbers();
    void hueTableLoadsOnce();

private:
    // A fresh folder holding copies of the named fixture files.
    std::unique_ptr<QTemporaryDir> FolderWith(const QStringList &Names) const;

    QTemporaryDir FFixture; // art files and hues.mul
};

void TestArtTint::initTestCase()
{
    ArtWriter art;
    art.PadToEntry(Base);
    art.AddRunLength(WhiteTile.Width, WhiteTile.Height, WhiteTile.Words(), White);
    Pixels row;
    for (const TintCase &tint : TintCases)
        row.push_back(tint.Pixel);
    art.AddRunLength(int(row.size()), 1, row, UnusedWord);
    art.WriteArtFilesTo(FFixture.path());
    NumberedHues().WriteTo(FFixture.filePath(Hues));
}

std::unique_ptr<QTemporaryDir> TestArtTint::FolderWith(const QStringList &Names) const
{
    auto folder = std::make_unique<QTemporaryDir>();
    for (const QString &name : Names)
        QFile::copy(FFixture.filePath(name), folder->filePath(name));
    return folder;
}

void TestArtTint::hueTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("hue"); // 0: no hue has the key, the picture turns black

    // Hue numbers.
    QTest::newRow("1161 -> 00489") << "1161" << 1161;
    QTest::newRow("0489 -> 00489") << "0489" << 1161;
    QTest::newRow("$489 -> 00489") << "$489" << 1161;
    QTest::newRow("489 -> 001E9") << "489" << 489;
    QTest::newRow("5 -> 005") << "5" << 5;
    QTest::newRow("0a -> 00A") << "0a" << 10;
    QTest::newRow("01 -> 001") << "01" << 1;
    QTest::newRow("001 stays") << "001" << 1;
    QTest::newRow("000489 has a zero too many") << "000489" << 0;
    QTest::newRow("plus sign") << "+12" << 12;
    QTest::newRow("trimmed") << " \t1161\r\n" << 1161;
    QTest::newRow("last hue 3000 -> 00BB8") << "3000" << LastHue;
    QTest::newRow("$BB8") << "$BB8" << LastHue;
    QTest::newRow("past the last hue") << "3001" << 0;
    QTest::newRow("$0 -> 00") << "$0" << 0;
    QTest::newRow("largest integer") << "2147483647" << 0;
    QTest::newRow("inner space after a 0") << "0 5" << 0;
    QTest::newRow("shade 30 of the mixed hue") << "7" << MixedHue;

    // Named texts: the first run of hexadecimal digits, with a "0x" or "$"
    // right in front of it, read as an integer.
    QTest::newRow("0x489") << "0x489" << 1161;
    QTest::newRow("0X4b0") << "0X4b0" << 0x4B0;
    QTest::newRow("g$1F") << "g$1F" << 31;
    QTest::newRow("x is no prefix: x489 is decimal") << "x489" << 489;
    QTest::newRow("-5") << "-5" << 5;
    QTest::newRow("-0001") << "-0001" << 1;
    QTest::newRow("0x1_2 stops at the _") << "0x1_2" << 1;
    QTest::newRow("_1a is no integer, so hex") << "_1a" << 26;
    QTest::newRow("hue_1161: the e of hue comes first") << "hue_1161" << 14;
    QTest::newRow("no digits: 000") << "zz" << 0;
    QTest::newRow("0xZZ: the 0 alone") << "0xZZ" << 0;
    QTest::newRow("_0") << "_0" << 0;
}

void TestArtTint::hueTexts()
{
    QFETCH(QString, text);
    QFETCH(int, hue);
    TVellArtReader view;
    view.SetArtMulPath(FFixture.path());
    view.SetArtColor(text);
    QCOMPARE(view.ArtColor(), text.trimmed());
    QCOMPARE(view.ViewPicture(), WhiteTinted(hue));
    QCOMPARE(*view.image(), WhiteTile.Image()); // the working bitmap stays untinted
}

void TestArtTint::tintMultipliesEveryChannel_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("tinted");
    for (int x = 0; x < int(std::size(TintCases)); ++x)
        QTest::newRow(TintCases[x].Name) << x << int(TintCases[x].Tinted);
}

void TestArtTint::tintMultipliesEveryChannel()
{
    QFETCH(int, x);
    QFETCH(int, tinted);
    TVellArtReader view;
    view.SetArtMulPath(FFixture.path());
    view.SetArtIndex(1);
    view.SetArtColor(QString::number(MixedHue));
    QCOMPARE(view.ViewPicture().size(), QSize(int(std::size(TintCases)), 1));
    QCOMPARE(WordAt(view.ViewPicture(), x, 0), std::uint16_t(tinted));
}

void TestArtTint::tintsDoNotAccumulate()
{
    TVellArtReader once;
    once.SetArtMulPath(FFixture.path());
    once.SetArtIndex(1);
    once.SetArtColor(QStringLiteral("7"));

    TVellArtReader twice;
    twice.SetArtMulPath(FFixture.path());
    twice.SetArtIndex(1);
    twice.SetArtColor(QStringLiteral("7"));
    twice.SetArtColor(QStringLiteral("7"));
    QCOMPARE(twice.ViewPicture(), once.ViewPicture());

    // Another hue starts from the untinted art too.
    TVellArtReader other;
    other.SetArtMulPath(FFixture.path());
    other.SetArtIndex(1);
    other.SetArtColor(QStringLiteral("1161"));
    twice.SetArtColor(QStringLiteral("1161"));
    QCOMPARE(twice.ViewPicture(), other.ViewPicture());
}

void TestArtTint::untintedTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("blanks") << " \t " << "";
    QTest::newRow("0") << "0" << "0";
    QTest::newRow("00") << "00" << "00";
    QTest::newRow("spaces around 0") << "  0 " << "0";
    QTest::newRow("controls around 00") << "\t00\r\n" << "00";
}

void TestArtTint::untintedTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    // Without a hue file: these texts must not even try to load one.
    const auto folder = FolderWith(ArtFiles);
    TVellArtReader view;
    view.SetArtMulPath(folder->path());
    view.SetArtColor(QStringLiteral("0"));
    view.SetArtIndex(1);
    view.SetArtColor(text);
    QCOMPARE(view.ArtColor(), stored);
    QCOMPARE(view.ViewPicture(), *view.image());

    // The table was never created, so a hue file that turns up now is read.
    QVERIFY(QFile::copy(FFixture.filePath(Hues), folder->filePath(Hues)));
    view.SetArtIndex(0);
    view.SetArtColor(QStringLiteral("5"));
    QCOMPARE(view.ViewPicture(), WhiteTinted(5));
}

void TestArtTint::noWorkingBitmap_data()
{
    QTest::addColumn<bool>("indexChanged"); // an ArtIndex change without a reader
    QTest::addColumn<QString>("text");
    for (const bool changed : {false, true}) {
        const QByteArray when = changed ? "after an index change: " : "never drawn: ";
        for (const char *text : {"1161", "0", "0x489", "", "000489"})
            QTest::newRow((when + text).constData()) << changed << QString::fromLatin1(text);
    }
}

void TestArtTint::noWorkingBitmap()
{
    QFETCH(bool, indexChanged);
    QFETCH(QString, text);
    const auto folder = FolderWith({Hues});
    TVellArtReader view;
    view.SetArtMulPath(folder->path());
    QVERIFY(!view.Ready());
    if (indexChanged)
        view.SetArtIndex(0);
    view.SetArtColor(text);
    QVERIFY(view.ViewPicture().isNull());
    QCOMPARE(view.ArtColor(), text);
}

void TestArtTint::missingHueFile()
{
    const auto folder = FolderWith(ArtFiles);
    // The reader joins folder and file with the system's separator.
    const QString hues = folder->path() + QDir::separator() + Hues;
    TVellArtReader view;
    view.SetArtMulPath(folder->path());
    view.SetArtColor(QStringLiteral("0"));

    QCOMPARE(ErrorText([&] { view.SetArtColor(QStringLiteral("1161")); }), MissingFileText(hues));
    QCOMPARE(view.ArtColor(), QStringLiteral("0"));
    QCOMPARE(view.ViewPicture(), WhiteTile.Image());

    // The empty table stays: the file is not tried again, and every hue
    // is black from now on.
    QVERIFY(QFile::copy(FFixture.filePath(Hues), hues));
    for (const QString &text : {QStringLiteral("1161"), QStringLiteral("0x489")}) {
        view.SetArtColor(text);
        QCOMPARE(view.ArtColor(), text);
        QCOMPARE(view.ViewPicture(), WhiteTinted(0));
    }
}

void TestArtTint::withoutFolderTheHueFileIsLookedForHere()
{
    const QTemporaryDir here;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(here.path()));
    TVellArtReader view;
    const QString message = ErrorText([&] { view.SetArtColor(QStringLiteral("5")); });
    QDir::setCurrent(previous);
    QCOMPARE(message, MissingFileText(Hues));
    QCOMPARE(view.ArtColor(), QString());
}

void TestArtTint::invalidNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString invalid = QStringLiteral("'%1' is not a valid integer value");
    for (const char *text : {"1A", "ff", "12 34", "2147483648", "$80000000", "$", "+", "1.5"})
        QTest::newRow(text) << QString::fromLatin1(text) << invalid.arg(QString::fromLatin1(text));
    // A named text whose number part reads neither as an integer nor as
    // hexadecimal digits.
    QTest::newRow("named, too large") << "_99999999999" << invalid.arg(QStringLiteral("$99999999999"));
}

void TestArtTint::invalidNumbers()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    const auto folder = FolderWith(ArtFiles + QStringList{Hues});
    TVellArtReader view;
    view.SetArtMulPath(folder->path());

    QCOMPARE(ErrorText([&] { view.SetArtColor(text); }), message);
    QCOMPARE(view.ArtColor(), QString());
    QCOMPARE(view.ViewPicture(), WhiteTile.Image());

    // The table was loaded before the text failed.
    QVERIFY(QFile::remove(folder->filePath(Hues)));
    view.SetArtColor(QStringLiteral("1161"));
    QCOMPARE(view.ViewPicture(), WhiteTinted(1161));

    // A failure after a tint leaves the text of that tint, but not its picture.
    QCOMPARE(ErrorText([&] { view.SetArtColor(text); }), message);
    QCOMPARE(view.ArtColor(), QStringLiteral("1161"));
    QCOMPARE(view.ViewPicture(), WhiteTile.Image());
}

void TestArtTint::hueTableLoadsOnce()
{
    const auto first = FolderWith(ArtFiles + QStringList{Hues});
    // A second folder whose hues are all black.
    const auto second = FolderWith(ArtFiles);
    HueWriter(LastHue / HueWriter::HuesPerBlock).WriteTo(second->filePath(Hues));

    TVellArtReader view;
    view.SetArtMulPath(first->path());
    view.SetArtColor(QStringLiteral("5"));
    QVERIFY(QFile::remove(first->filePath(Hues)));
    view.SetArtColor(QStringLiteral("6"));
    QCOMPARE(view.ViewPicture(), WhiteTinted(6));

    // The table outlives a change of folder.
    view.SetArtMulPath(second->path());
    view.SetArtColor(QStringLiteral("1161"));
    QCOMPARE(view.ViewPicture(), WhiteTinted(1161));
}

QTEST_MAIN(TestArtTint)
#include "test_arttint.moc"
