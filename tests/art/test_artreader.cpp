// Decoding of art entries by one reader without patches: the index, the
// header kinds, raw diamonds, run-length pictures and damaged files.

#include "art/ArtSource.h"
#include "art/PictureCache.h"
#include "art/ReadArtIDX.h"
#include "platform/Error.h"
#include "platform/FileProbe.h"
#include "tests/art/ArtTestSupport.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

using namespace ArtTestSupport;
using Pixels = ArtWriter::Pixels;
using Bytes = ArtWriter::Bytes;

Q_DECLARE_METATYPE(TArtKind)
Q_DECLARE_METATYPE(ArtWriter)
Q_DECLARE_METATYPE(ArtWriter::RunLengthPicture)

namespace {

// Some pixel words; none of them is white.
constexpr std::uint16_t A = 0x001F;
constexpr std::uint16_t B = 0x03E0;
constexpr std::uint16_t C = 0x7C00;
constexpr std::uint16_t D = 0x1234;
constexpr std::uint16_t E = 0x0421;
constexpr std::uint16_t W = White;

ArtWriter::RunLengthPicture OneRow(int Width, const ArtWriter::Row &Row)
{
    ArtWriter::RunLengthPicture picture;
    picture.Width = std::uint16_t(Width);
    picture.Height = 1;
    picture.Rows = {Row};
    return picture;
}

// The art files of a writer in a temporary folder, and a reader over them.
struct ArtFolder
{
    explicit ArtFolder(const ArtWriter &Writer)
    {
        Writer.WriteArtFilesTo(Dir.path());
    }
    QString Art() const { return Dir.filePath(QStringLiteral("art.mul")); }
    QString Index() const { return Dir.filePath(QStringLiteral("artidx.mul")); }
    std::unique_ptr<TArtReader> Reader() const { return std::make_unique<TArtReader>(Art(), Index(), false); }

    QTemporaryDir Dir;
};

struct DrawResult
{
    QImage Target;
    QPoint Size;
};

DrawResult Draw(const ArtWriter &Writer, int Entry, const QImage &Before = QImage(), QPoint SizeBefore = {0, 0})
{
    const ArtFolder folder(Writer);
    DrawResult result{Before, SizeBefore};
    folder.Reader()->DrawArt(Entry, result.Target, result.Size);
    return result;
}

// Art whose every entry is missing: nothing is ever drawn.
class EmptyArt : public TArtSource
{
public:
    int Draws = 0;
    void DrawArt(std::int32_t, QImage &, QPoint &) override { ++Draws; }
    void DrawLandArt(std::int32_t, QImage &, QPoint &) override { ++Draws; }
    QString SourceName() const override { return QStringLiteral("empty"); }
};

} // namespace

class TestArtReader : public QObject
{
    Q_OBJECT

private slots:
    void pixelToColor_data();
    void pixelToColor();
    void headerKind_data();
    void headerKind();
    void entryNumbersOutsideTheIndex_data();
    void entryNumbersOutsideTheIndex();
    void incompleteLastIndexRecordIsIgnored();
    void unreadableIndexIsReportedAndReaderStaysUsable();
    void failedIndexReadIsReportedWithTheEntriesReadSoFar();
    void rawDiamond();
    void landArtFindsItsPixelsByLength_data();
    void landArtFindsItsPixelsByLength();
    void runLengthPicture();
    void runLengthPictureLargerThanTheFirstRead();
    void runLengthRows_data();
    void runLengthRows();
    void runLengthLimits_data();
    void runLengthLimits();
    void undrawableEntriesKeepTheTargetSize_data();
    void undrawableEntriesKeepTheTargetSize();
    void damagedData_data();
    void damagedData();
    void missingArtFileLeavesTargetAlone();
    void missingPicturesCountAgainstTheCap();
};

void TestArtReader::pixelToColor_data()
{
    QTest::addColumn<int>("pixel");
    QTest::addColumn<uint>("color");
    QTest::newRow("white") << 0x7FFF << 0xFFFFFFu;
    QTest::newRow("black") << 0x0000 << 0x000000u;
    QTest::newRow("full red goes to the low byte") << 0x7C00 << 0x0000FFu;
    QTest::newRow("full green") << 0x03E0 << 0x00FF00u;
    QTest::newRow("full blue goes to the high byte") << 0x001F << 0xFF0000u;
    QTest::newRow("ones") << 0x0421 << 0x080808u;
    QTest::newRow("bit 15 plays no part") << 0x8000 << 0x000000u;
    QTest::newRow("red 2") << 0x0800 << 0x000010u;
    QTest::newRow("green 3") << 0x0060 << 0x001900u;
    QTest::newRow("blue 15, green 16, red 30")
        << ((30 << 10) | (16 << 5) | 15) << ((123u << 16) | (132u << 8) | 247u);
}

void TestArtReader::pixelToColor()
{
    QFETCH(int, pixel);
    QFETCH(uint, color);
    QCOMPARE(TArtReader::PixelToColor(std::uint16_t(pixel)), color);
}

void TestArtReader::headerKind_data()
{
    QTest::addColumn<uint>("header");
    QTest::addColumn<TArtKind>("kind");
    QTest::newRow("1") << 1u << TArtKind::RunLength;
    QTest::newRow("65535") << 65535u << TArtKind::RunLength;
    QTest::newRow("65536") << 65536u << TArtKind::Raw;
    QTest::newRow("0") << 0u << TArtKind::Raw;
    QTest::newRow("largest positive") << 0x7FFFFFFFu << TArtKind::Raw;
    QTest::newRow("-1") << 0xFFFFFFFFu << TArtKind::RunLength;
    QTest::newRow("most negative") << 0x80000000u << TArtKind::RunLength;
}

void TestArtReader::headerKind()
{
    QFETCH(uint, header);
    QFETCH(TArtKind, kind);
    QCOMPARE(TArtReader::IsRunLengthHeader(std::int32_t(header)), kind == TArtKind::RunLength);

    ArtWriter writer;
    writer.AddAbsent();
    Bytes entry;
    TestFiles::PutU32(entry, 0, header);
    writer.AddEntry(entry);
    const ArtFolder folder(writer);
    QCOMPARE(folder.Reader()->ReadArtHeader(1), kind);
}

void TestArtReader::entryNumbersOutsideTheIndex_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("empty index") << 0 << 0 << false;
    QTest::newRow("one past the last") << 3 << 3 << false;
    QTest::newRow("the last") << 3 << 2 << true;
    QTest::newRow("-1") << 3 << -1 << false;
    QTest::newRow("most negative") << 3 << std::numeric_limits<int>::min() << false;
    QTest::newRow("largest") << 3 << std::numeric_limits<int>::max() << false;
}

void TestArtReader::entryNumbersOutsideTheIndex()
{
    QFETCH(int, entries);
    QFETCH(int, entry);
    QFETCH(bool, drawn);
    ArtWriter writer;
    for (int i = 0; i < entries; ++i)
        writer.AddRunLength(1, 1, {A}, W);
    const QImage before = Filled(3, 2, B);
    const DrawResult result = Draw(writer, entry, before, {5, 6});
    QCOMPARE(result.Target, drawn ? Picture(1, 1, {A}) : before);
    QCOMPARE(result.Size, drawn ? QPoint(1, 1) : QPoint(5, 6));
}

void TestArtReader::incompleteLastIndexRecordIsIgnored()
{
    ArtWriter writer;
    writer.AddIndexRecord(10, 20, 30);
    writer.AddIndexRecord(40, 50, 60);
    const ArtFolder folder(writer);
    Bytes index = writer.ArtIndexBytes();
    index.insert(index.end(), {1, 2, 3, 4, 5, 6, 7});
    TestFiles::WriteBytes(folder.Index(), index);

    const auto reader = folder.Reader();
    QCOMPARE(reader->EntryCount(), 2);
    QCOMPARE(reader->Entry(1).Number, 1);
    QCOMPARE(reader->Entry(1).Offset, 40);
    QCOMPARE(reader->Entry(1).Length, 50);
}

void TestArtReader::unreadableIndexIsReportedAndReaderStaysUsable()
{
    const QTemporaryDir dir;
    const QString index = dir.filePath(QStringLiteral("artidx.mul"));
    const CapturedBoxes boxes;
    TArtReader reader(dir.filePath(QStringLiteral("art.mul")), index, false);

    QCOMPARE(boxes.Shown.size(), 1);
    QCOMPARE(boxes.Shown[0].first, MessageBoxes::TBoxKind::Warning);
    QCOMPARE(boxes.Shown[0].second,
             QStringLiteral("Fehler beim öffnen von \"artidx.mul\"\r\nMeldung: ")
                 + TestFiles::CannotOpenText(index, TestFiles::OpenFailureReason(TestFiles::OpenFailure::NoFile)));
    QCOMPARE(reader.EntryCount(), 0);
    QImage target;
    QPoint size(1, 2);
    reader.DrawArt(0, target, size);
    QVERIFY(target.isNull());

    // No index file at all is no failure.
    TArtReader indexless(dir.filePath(QStringLiteral("art.mul")), QString(), false);
    QCOMPARE(indexless.EntryCount(), 0);
    QCOMPARE(boxes.Shown.size(), 1);
}

void TestArtReader::failedIndexReadIsReportedWithTheEntriesReadSoFar()
{
    // The index is read 4096 records (49,152 bytes) at a time; the device
    // fails the second read. That is an error, not the end of the index.
    ArtWriter writer;
    writer.PadToEntry(10000);
    const ArtFolder folder(writer);
    const CapturedBoxes boxes;
    FileProbe::Set([](FileProbe::Step Step, const std::string &, std::int64_t Offset) {
        return Step == FileProbe::Step::Read && Offset == 49152;
    });
    const auto reader = folder.Reader();
    FileProbe::Set({});

    QCOMPARE(boxes.Shown.size(), 1);
    QCOMPARE(boxes.Shown[0].first, MessageBoxes::TBoxKind::Warning);
    QCOMPARE(boxes.Shown[0].second, QStringLiteral("Fehler beim öffnen von \"artidx.mul\"\r\nMeldung: ")
                                        + TestFiles::ReadFailureText(folder.Index()));
    QCOMPARE(reader->EntryCount(), 4096);
}

void TestArtReader::rawDiamond()
{
    // Every pixel of the picture differs, so a pixel in the wrong place
    // shows; odd ones carry bit 15, which the target drops.
    Pixels picture(44 * 44);
    Pixels expected(44 * 44, W);
    for (int y = 0; y < 44; ++y) {
        for (int x = 0; x < 44; ++x) {
            const auto value = std::uint16_t(1 + x + 44 * y);
            picture[std::size_t(y * 44 + x)] = value % 2 ? std::uint16_t(value | 0x8000) : value;
            if (ArtWriter::InDiamond(x, y))
                expected[std::size_t(y * 44 + x)] = value;
        }
    }
    ArtWriter writer;
    writer.AddRawPicture(picture);
    const DrawResult result = Draw(writer, 0, Filled(50, 50, A), {7, 7});
    QCOMPARE(result.Target, Picture(44, 44, expected));
    QCOMPARE(result.Size, QPoint(0, 0));
}

void TestArtReader::landArtFindsItsPixelsByLength_data()
{
    QTest::addColumn<int>("headerBytes"); // -1: a run-length entry, drawn as any entry
    QTest::newRow("2,024 bytes: the pixels from the first byte") << 0;
    QTest::newRow("2,028 bytes: the pixels after a header word") << 4;
    QTest::newRow("another length: drawn as any entry") << -1;
}

void TestArtReader::landArtFindsItsPixelsByLength()
{
    QFETCH(int, headerBytes);
    Pixels picture(44 * 44);
    Pixels expected(44 * 44, W);
    for (int y = 0; y < 44; ++y) {
        for (int x = 0; x < 44; ++x) {
            picture[std::size_t(y * 44 + x)] = std::uint16_t(3 + x + 44 * y);
            if (ArtWriter::InDiamond(x, y))
                expected[std::size_t(y * 44 + x)] = picture[std::size_t(y * 44 + x)];
        }
    }
    ArtWriter writer;
    // The header word is a run-length one, so reading it as pixels, or
    // skipping a word that is not there, shows.
    const ArtWriter::Bytes raw = ArtWriter::RawEntry(ArtWriter::DiamondOf(picture), 0x1234);
    if (headerBytes >= 0)
        writer.AddEntry(ArtWriter::Bytes(raw.begin() + 4 - headerBytes, raw.end()));
    else
        writer.AddRunLength(5, 1, {A, B, C, D, E}, W);
    const ArtFolder folder(writer);
    DrawResult result{Filled(9, 9, A), {7, 7}};
    folder.Reader()->DrawLandArt(0, result.Target, result.Size);
    if (headerBytes >= 0) {
        QCOMPARE(result.Target, Picture(44, 44, expected));
        QCOMPARE(result.Size, QPoint(0, 0));
    } else {
        QCOMPARE(result.Target, Picture(5, 1, {A, B, C, D, E}));
        QCOMPARE(result.Size, QPoint(5, 1));
    }
}

void TestArtReader::runLengthPicture()
{
    const Pixels picture = {
        W, A, B, W, C,
        W, W, W, W, W,
        D, D, D, D, D,
        A, W, W, W, E,
    };
    ArtWriter writer;
    writer.AddAbsent();
    writer.AddRunLength(5, 4, picture, W);
    const DrawResult result = Draw(writer, 1, Filled(9, 9, A));
    QCOMPARE(result.Target, Picture(5, 4, picture));
    QCOMPARE(result.Size, QPoint(5, 4));
}

void TestArtReader::runLengthPictureLargerThanTheFirstRead()
{
    // About 60 KB of row data in runs of uneven length, so that the reads
    // of pairs and runs straddle every edge of the decoder's read-ahead
    // (16 KiB first, then growing) somewhere inside a request.
    constexpr int Width = 211;
    constexpr int Height = 160;
    Pixels picture(std::size_t(Width) * Height, W);
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t Below) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % Below;
    };
    for (int y = 0; y < Height; ++y) {
        for (int x = int(next(4)); x < Width; x += int(next(4)) + 1) {
            for (int end = std::min(Width, x + 1 + int(next(61))); x < end; ++x)
                picture[std::size_t(y * Width + x)] = std::uint16_t(next(0x7FFF));
        }
    }
    ArtWriter writer;
    writer.AddRunLength(Width, Height, picture, W);
    QVERIFY(writer.ArtBytes().size() > 60000);
    const DrawResult result = Draw(writer, 0);
    QCOMPARE(result.Target, Picture(Width, Height, picture));
    QCOMPARE(result.Size, QPoint(Width, Height));
}

void TestArtReader::runLengthRows_data()
{
    using Row = ArtWriter::Row;
    QTest::addColumn<ArtWriter::RunLengthPicture>("picture");
    QTest::addColumn<QImage>("expected");
    QTest::newRow("gaps count from the end of the previous run")
        << OneRow(8, Row{{1, {A, B}}, {2, {C}}}) << Picture(8, 1, {W, A, B, W, W, C, W, W});
    QTest::newRow("first pair with count 0 ends the row, whatever its gap")
        << OneRow(4, Row{{2, {}}, {0, {A, B}}}) << Filled(4, 1, W);
    QTest::newRow("a later pair with count 0 ends the row")
        << OneRow(4, Row{{0, {A}}, {1, {}}, {0, {B}}}) << Picture(4, 1, {A, W, W, W});
    QTest::newRow("a run past the right edge is cut and ends the row")
        << OneRow(6, Row{{3, {A, B, C, D, E}}, {0, {A}}}) << Picture(6, 1, {W, W, W, A, B, C});
    QTest::newRow("a run starting beyond the edge is skipped")
        << OneRow(3, Row{{5, {A}}}) << Filled(3, 1, W);
    QTest::newRow("a run exactly up to the edge")
        << OneRow(3, Row{{1, {A, B}}}) << Picture(3, 1, {W, A, B});
}

void TestArtReader::runLengthRows()
{
    QFETCH(ArtWriter::RunLengthPicture, picture);
    QFETCH(QImage, expected);
    ArtWriter writer;
    writer.AddRunLength(picture);
    const DrawResult result = Draw(writer, 0);
    QCOMPARE(result.Target, expected);
    QCOMPARE(result.Size, QPoint(expected.width(), expected.height()));
}

void TestArtReader::runLengthLimits_data()
{
    QTest::addColumn<int>("runLength");
    QTest::addColumn<bool>("decoded");
    QTest::newRow("5120") << 5120 << true;
    QTest::newRow("5121") << 5121 << false;
}

void TestArtReader::runLengthLimits()
{
    QFETCH(int, runLength);
    QFETCH(bool, decoded);
    // The long run is the second row's; the first row stays drawn.
    ArtWriter::RunLengthPicture picture;
    picture.Width = 5121;
    picture.Height = 3;
    picture.Rows = {{{0, {A}}}, {{1, Pixels(std::size_t(runLength), B)}}, {{0, {C}}}};
    ArtWriter writer;
    writer.AddRunLength(picture);
    const DrawResult result = Draw(writer, 0);

    Pixels expected(5121 * 3, W);
    expected[0] = A;
    if (decoded) {
        std::fill_n(expected.begin() + 5121 + 1, runLength, B);
        expected[2 * 5121] = C;
    }
    QCOMPARE(result.Target, Picture(5121, 3, expected));
    QCOMPARE(result.Size, decoded ? QPoint(5121, 3) : QPoint(0, 0));
}

void TestArtReader::undrawableEntriesKeepTheTargetSize_data()
{
    QTest::addColumn<Bytes>("entry"); // empty: an absent entry
    QTest::addColumn<QImage>("before");
    QTest::addColumn<QImage>("expected");
    QTest::addColumn<QPoint>("size");

    ArtWriter::RunLengthPicture tallest;
    tallest.Width = 1;
    tallest.Height = 2560;
    tallest.Rows.assign(2560, {{0, {A}}});
    QTest::newRow("height 2560 is decoded")
        << ArtWriter::RunLengthEntry(tallest) << QImage() << Filled(1, 2560, A) << QPoint(1, 2560);

    ArtWriter::RunLengthPicture tooTall = tallest;
    tooTall.Height = 2561;
    ArtWriter::RunLengthPicture noWidth = OneRow(0, {});
    ArtWriter::RunLengthPicture noHeight = OneRow(1, {});
    noHeight.Height = 0;
    const struct {
        const char *Name;
        Bytes Entry;
    } undrawable[] = {
        {"absent", {}},
        {"height 2561", ArtWriter::RunLengthEntry(tooTall)},
        {"width 0", ArtWriter::RunLengthEntry(noWidth)},
        {"height 0", ArtWriter::RunLengthEntry(noHeight)},
    };
    for (const auto &row : undrawable) {
        QTest::addRow("%s, new target", row.Name) << row.Entry << QImage() << Filled(1, 1, W) << QPoint(0, 0);
        QTest::addRow("%s, 3 x 2 target", row.Name)
            << row.Entry << Filled(3, 2, A) << Filled(3, 2, W) << QPoint(0, 0);
        QTest::addRow("%s, 32-bit target", row.Name)
            << row.Entry << QImage(4, 5, QImage::Format_ARGB32) << Filled(4, 5, W) << QPoint(0, 0);
    }
}

void TestArtReader::undrawableEntriesKeepTheTargetSize()
{
    QFETCH(Bytes, entry);
    QFETCH(QImage, before);
    QFETCH(QImage, expected);
    QFETCH(QPoint, size);
    ArtWriter writer;
    if (entry.empty())
        writer.AddAbsent();
    else
        writer.AddEntry(entry);
    const ArtFolder folder(writer);
    const auto reader = folder.Reader();
    QImage target = before;
    // Drawing the same entry again gives the same picture: nothing grows.
    for (int round = 0; round < 3; ++round) {
        QPoint drawnSize(7, 7);
        reader->DrawArt(0, target, drawnSize);
        QCOMPARE(target, expected);
        QCOMPARE(drawnSize, size);
    }
}

void TestArtReader::damagedData_data()
{
    QTest::addColumn<ArtWriter>("writer");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("artFileSize"); // -1: as written
    QTest::addColumn<QImage>("expected");
    QTest::addColumn<QPoint>("size");

    const QImage blank = Filled(2, 2, W); // the target's size before the draw

    ArtWriter offsets;
    offsets.AddRunLength(1, 1, {A}, W);
    offsets.AddIndexRecord(1000, 4);
    offsets.AddIndexRecord(-5, 4);
    offsets.AddIndexRecord(std::numeric_limits<std::int32_t>::max(), 4);
    offsets.AddIndexRecord(std::int32_t(offsets.ArtBytes().size()) - 2, 4); // the header word runs past the end
    QTest::newRow("offset beyond the end") << offsets << 1 << -1 << blank << QPoint(0, 0);
    QTest::newRow("negative offset") << offsets << 2 << -1 << blank << QPoint(0, 0);
    QTest::newRow("largest offset") << offsets << 3 << -1 << blank << QPoint(0, 0);
    QTest::newRow("header cut short") << offsets << 4 << -1 << blank << QPoint(0, 0);

    Pixels diamond(1012, B);
    ArtWriter raw;
    raw.AddRaw(diamond);
    Pixels rawExpected(44 * 44, W);
    rawExpected[21] = B; // the first three diamond pixels: row 0, then row 1
    rawExpected[22] = B;
    rawExpected[44 + 20] = B;
    QTest::newRow("raw data ends in the diamond")
        << raw << 0 << 4 + 3 * 2 + 1 << Picture(44, 44, rawExpected) << QPoint(0, 0);

    ArtWriter runs;
    runs.AddRunLength(3, 2, {A, B, C, D, E, A}, W);
    // header 4 + size 4 + table 4, row 0: pair 4 + 3 pixels + end pair 4,
    // row 1: pair 4 + 3 pixels; cut after the first pixel of row 1 and a
    // half of the second.
    QTest::newRow("run data ends in a run")
        << runs << 0 << 12 + 14 + 4 + 2 + 1 << Picture(3, 2, {A, B, C, D, W, W}) << QPoint(0, 0);
    QTest::newRow("line table ends early")
        << runs << 0 << 10 << Filled(3, 2, W) << QPoint(0, 0);

    ArtWriter farRow;
    Bytes entry = ArtWriter::RunLengthEntry(ArtWriter::RunsOf(2, 2, {A, B, C, D}, W));
    TestFiles::PutU16(entry, 10, 0xFFFF); // row 1 starts far beyond the end
    farRow.AddEntry(entry);
    QTest::newRow("line table word beyond the end")
        << farRow << 0 << -1 << Picture(2, 2, {A, B, W, W}) << QPoint(0, 0);
}

void TestArtReader::damagedData()
{
    QFETCH(ArtWriter, writer);
    QFETCH(int, entry);
    QFETCH(int, artFileSize);
    QFETCH(QImage, expected);
    QFETCH(QPoint, size);
    const ArtFolder folder(writer);
    if (artFileSize >= 0) {
        Bytes art = writer.ArtBytes();
        art.resize(std::size_t(artFileSize));
        TestFiles::WriteBytes(folder.Art(), art);
    }
    QImage target = Filled(2, 2, C);
    QPoint drawnSize(7, 7);
    folder.Reader()->DrawArt(entry, target, drawnSize);
    QCOMPARE(target, expected);
    QCOMPARE(drawnSize, size);
}

void TestArtReader::missingArtFileLeavesTargetAlone()
{
    ArtWriter writer;
    writer.AddRunLength(1, 1, {A}, W);
    const ArtFolder folder(writer);
    QVERIFY(QFile::remove(folder.Art()));
    const auto reader = folder.Reader();
    QImage target = Filled(2, 3, B);
    QPoint size(4, 5);
    try {
        reader->DrawArt(0, target, size);
        QFAIL("drawing without the art file succeeded");
    } catch (const Error &e) {
        QVERIFY(QString::fromUtf8(e.what()).startsWith(TestFiles::CannotOpenText(folder.Art(), QString())));
    }
    QCOMPARE(target, Filled(2, 3, B));
    QCOMPARE(size, QPoint(4, 5));
}

// Empty or hostile art must not grow the cache without bound: every entry
// is charged, pictures or none.
void TestArtReader::missingPicturesCountAgainstTheCap()
{
    EmptyArt art;
    TPictureCache pictures(art);
    for (int tile = 0; tile < 10000; ++tile)
        QVERIFY(pictures.Item(tile).Missing);
    QCOMPARE(pictures.HeldBytes(), 10000 * TPictureCache::EntryOverhead);
    const int fit = int(TPictureCache::CapBytes / TPictureCache::EntryOverhead);
    for (int tile = 10000; tile <= fit; ++tile)
        pictures.Land(tile);
    QVERIFY(pictures.HeldBytes() <= TPictureCache::CapBytes);
    const int draws = art.Draws;
    pictures.Item(0);
    QCOMPARE(art.Draws, draws + 1);
}

QTEST_MAIN(TestArtReader)
#include "test_artreader.moc"
