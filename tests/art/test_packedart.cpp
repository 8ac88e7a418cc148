// The packed container of newer clients, read without patches: the name
// hash, entries found under either order of the key's halves, and files
// that lie about their table or their entries.

#include "art/Lookup3.h"
#include "art/PackedArtReader.h"
#include "tests/art/ArtTestSupport.h"
#include "tests/support/ContainerWriter.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace ArtTestSupport;
using Bytes = ContainerWriter::Bytes;
using Order = ContainerWriter::KeyOrder;
using Lie = std::function<void(const ContainerWriter &, Bytes &)>;

Q_DECLARE_METATYPE(Order)
Q_DECLARE_METATYPE(Lie)

namespace {

const Sample Item{3, 2, 0x7C00};
const Sample OtherItem{1, 4, 0x03E0};
constexpr std::uint16_t Land = 0x1234;
constexpr int Base = ArtWriter::StaticArtBase;

QImage Diamond()
{
    QImage image = Filled(44, 44, White);
    for (int y = 0; y < 44; ++y)
        for (int x = 0; x < 44; ++x)
            if (ArtWriter::InDiamond(x, y))
                reinterpret_cast<std::uint16_t *>(image.scanLine(y))[x] = Land;
    return image;
}

// Three blocks of three with unused slots between: land 0 bare and
// stored, land 1 with its header word and a data header, zlib; items 0
// (zlib) and 1 (stored); item 5 a raw diamond, zlib; item 7 unpacks to
// more than 4 MiB. Item 0 is entry 3.
ContainerWriter Container(Order KeyOrder)
{
    const Bytes headed = ArtWriter::RawEntry(ArtWriter::Pixels(1012, Land));
    ContainerWriter writer(3, KeyOrder);
    writer.AddUnused();
    writer.AddArt(0, Bytes(headed.begin() + 4, headed.end()), false);
    writer.AddArt(1, headed, true, Bytes(8, 0xEE));
    writer.AddArt(Base, Item.Entry(), true);
    writer.AddUnused();
    writer.AddArt(Base + 1, OtherItem.Entry(), false);
    writer.AddArt(Base + 5, headed, true);
    writer.AddUnused();
    writer.AddArt(Base + 7, Bytes(TPackedArtReader::MostUnpackedSize + 1, 0), true);
    return writer;
}

struct Drawn
{
    QImage Target = Filled(2, 2, 0x0001);
    QPoint Size{9, 9};
};

Drawn Draw(TPackedArtReader &Reader, int Entry, bool AsLand = false)
{
    Drawn drawn;
    (AsLand ? std::mem_fn(&TPackedArtReader::DrawLandArt) : std::mem_fn(&TPackedArtReader::DrawArt))(
        Reader, Entry, drawn.Target, drawn.Size);
    return drawn;
}

} // namespace

class TestPackedArt : public QObject
{
    Q_OBJECT

private slots:
    void hash_data();
    void hash();
    void drawing_data();
    void drawing();
    void noArtNames();
    void brokenTable_data();
    void brokenTable();
    void badEntry_data();
    void badEntry();

private:
    QString Write(const Bytes &File);
    QTemporaryDir FDir;
};

QString TestPackedArt::Write(const Bytes &File)
{
    const QString path = FDir.filePath(QStringLiteral("artLegacyMUL.uop"));
    QFile out(path);
    out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    out.write(reinterpret_cast<const char *>(File.data()), qint64(File.size()));
    return path;
}

void TestPackedArt::hash_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<uint>("initialC");
    QTest::addColumn<uint>("initialB");
    QTest::addColumn<uint>("c");
    QTest::addColumn<uint>("b");
    const QByteArray four("Four score and seven years ago");
    QTest::newRow("empty") << QByteArray() << 0u << 0u << 0xDEADBEEFu << 0xDEADBEEFu;
    QTest::newRow("text") << four << 0u << 0u << 0x17770551u << 0xCE7226E6u;
    QTest::newRow("b = 1") << four << 0u << 1u << 0xE3607CAEu << 0xBD371DE4u;
    QTest::newRow("c = 1") << four << 1u << 0u << 0xCD628161u << 0x6CBEA4B3u;
}

// Reader and writer hash independently; both must give the published values.
void TestPackedArt::hash()
{
    QFETCH(QByteArray, text);
    QFETCH(uint, initialC);
    QFETCH(uint, initialB);
    QFETCH(uint, c);
    QFETCH(uint, b);
    const TLookup3Hash read = HashLittle2(text.constData(), std::size_t(text.size()), initialC, initialB);
    const auto written = ContainerWriter::Hash(text.toStdString(), initialC, initialB);
    QCOMPARE(read.C, c);
    QCOMPARE(read.B, b);
    QCOMPARE(written.first, c);
    QCOMPARE(written.second, b);
}

void TestPackedArt::drawing_data()
{
    QTest::addColumn<Order>("order");
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("asLand");
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QPoint>("size");
    const QImage untouched = Drawn().Target;
    for (const Order order : {Order::PrimaryHigh, Order::PrimaryLow}) {
        const char *name = order == Order::PrimaryHigh ? "c high" : "b high";
        QTest::addRow("%s: bare land, stored", name) << order << 0 << true << Diamond() << QPoint(0, 0);
        QTest::addRow("%s: headed land, zlib", name) << order << 1 << true << Diamond() << QPoint(0, 0);
        QTest::addRow("%s: item, zlib", name) << order << Base << false << Item.Image() << QPoint(3, 2);
        QTest::addRow("%s: item, stored", name) << order << Base + 1 << false << OtherItem.Image() << QPoint(1, 4);
        QTest::addRow("%s: raw item", name) << order << Base + 5 << false << Diamond() << QPoint(0, 0);
        QTest::addRow("%s: over 4 MiB", name) << order << Base + 7 << false << Filled(2, 2, White) << QPoint(0, 0);
        QTest::addRow("%s: missing", name) << order << Base + 2 << false << Filled(2, 2, White) << QPoint(0, 0);
        QTest::addRow("%s: past the names", name) << order << 0x14000 << false << untouched << QPoint(9, 9);
    }
}

void TestPackedArt::drawing()
{
    QFETCH(Order, order);
    QFETCH(int, entry);
    QFETCH(bool, asLand);
    CapturedBoxes boxes;
    TPackedArtReader reader(Write(Container(order).Build()), false);
    QVERIFY(boxes.Shown.isEmpty());
    QCOMPARE(reader.KeyOrder() == TPackedArtReader::TKeyOrder::PrimaryHigh, order == Order::PrimaryHigh);
    const Drawn drawn = Draw(reader, entry, asLand);
    QTEST(drawn.Target, "image");
    QTEST(drawn.Size, "size");
    QCOMPARE(reader.SourceName(), QStringLiteral("artLegacyMUL.uop"));
}

void TestPackedArt::noArtNames()
{
    ContainerWriter writer;
    writer.AddEntry(writer.KeyOf("build/gumpartlegacymul/00000000.tga"), Item.Entry(), 0, 0);
    CapturedBoxes boxes;
    TPackedArtReader reader(Write(writer.Build()), false);
    QCOMPARE(boxes.Shown.size(), 1);
    QCOMPARE(boxes.Shown[0].second, QStringLiteral("artLegacyMUL.uop: no art entries recognised"));
    QCOMPARE(Draw(reader, 0).Target, Filled(2, 2, White));
}

void TestPackedArt::brokenTable_data()
{
    QTest::addColumn<Lie>("lie");
    QTest::addColumn<bool>("firstBlockKept");
    QTest::newRow("no header") << Lie([](const ContainerWriter &, Bytes &F) { F[1] = 'X'; }) << false;
    QTest::newRow("chain loops") << Lie([](const ContainerWriter &W, Bytes &F) {
        ContainerWriter::Put64(F, W.BlockOffset(2) + 4, W.BlockOffset(0));
    }) << true;
    QTest::newRow("block past the end") << Lie([](const ContainerWriter &W, Bytes &F) {
        ContainerWriter::Put64(F, W.BlockOffset(1) + 4, F.size() - 4);
    }) << true;
    QTest::newRow("count past the end") << Lie([](const ContainerWriter &W, Bytes &F) {
        ContainerWriter::Put32(F, W.BlockOffset(2), 0xFFFFFFFF);
    }) << true;
    QTest::newRow("file cut in a block") << Lie([](const ContainerWriter &W, Bytes &F) {
        F.resize(W.RecordOffset(4) + 10);
    }) << true;
}

// Each broken table is reported once, naming the file; what was read before
// the break still draws.
void TestPackedArt::brokenTable()
{
    QFETCH(Lie, lie);
    QFETCH(bool, firstBlockKept);
    const ContainerWriter writer = Container(Order::PrimaryHigh);
    Bytes file = writer.Build();
    lie(writer, file);
    CapturedBoxes boxes;
    TPackedArtReader reader(Write(file), false);
    QCOMPARE(boxes.Shown.size(), 1);
    QVERIFY2(boxes.Shown[0].second.startsWith(QStringLiteral("artLegacyMUL.uop: ")), qPrintable(boxes.Shown[0].second));
    QCOMPARE(Draw(reader, 0, true).Target == Diamond(), firstBlockKept);
}

void TestPackedArt::badEntry_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<quint64>("value");
    // Fields of the record of item 0 (zlib, entry 3), by their offset.
    QTest::newRow("data past the end") << 0 << quint64(1);
    QTest::newRow("data header past the end") << 8 << quint64(0xFFFFFFFF);
    QTest::newRow("stored size beyond zlib's bound") << 12 << quint64(0x7FFFFFFF);
    QTest::newRow("stored size short") << 12 << quint64(10);
    QTest::newRow("unpacked size larger") << 16 << quint64(Item.Entry().size() + 1);
    QTest::newRow("unpacked size smaller") << 16 << quint64(Item.Entry().size() - 1);
    QTest::newRow("unknown compression") << 32 << quint64(2);
}

// A lying entry draws as missing, alone: the table and the other entries
// stay good, and nothing is reported.
void TestPackedArt::badEntry()
{
    QFETCH(int, field);
    QFETCH(quint64, value);
    const ContainerWriter writer = Container(Order::PrimaryHigh);
    Bytes file = writer.Build();
    const std::size_t at = writer.RecordOffset(3) + std::size_t(field);
    if (field == 0)
        ContainerWriter::Put64(file, at, value << 40);
    else if (field == 32)
        file[at] = std::uint8_t(value);
    else
        ContainerWriter::Put32(file, at, std::uint32_t(value));
    CapturedBoxes boxes;
    TPackedArtReader reader(Write(file), false);
    QVERIFY(boxes.Shown.isEmpty());
    QCOMPARE(Draw(reader, Base).Target, Filled(2, 2, White));
    QCOMPARE(Draw(reader, Base).Size, QPoint(0, 0));
    QCOMPARE(Draw(reader, Base + 1).Target, OtherItem.Image());
}

QTEST_GUILESS_MAIN(TestPackedArt)
#include "test_packedart.moc"
