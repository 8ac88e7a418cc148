// Art entries that claim a huge picture in a few bytes, from art.mul and
// from the packed container: past 2,048 x 2,048 pixels they draw as
// missing, and the target never grows to the claimed size.

#include "art/PackedArtReader.h"
#include "art/ReadArtIDX.h"
#include "tests/art/ArtTestSupport.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/ContainerWriter.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace ArtTestSupport;

class TestGiantArt : public QObject
{
    Q_OBJECT

private slots:
    void giantDrawsAsMissing_data();
    void giantDrawsAsMissing();
};

void TestGiantArt::giantDrawsAsMissing_data()
{
    QTest::addColumn<bool>("packed");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("drawn");
    const struct {
        const char *Name;
        int Width;
        int Height;
        bool Drawn;
    } sizes[] = {
        {"2048 x 2048", 2048, 2048, true},
        {"2049 x 2048", 2049, 2048, false},
        {"65535 x 2560", 65535, 2560, false},
    };
    for (const bool packed : {false, true}) {
        for (const auto &size : sizes)
            QTest::addRow("%s, %s", packed ? "container" : "art.mul", size.Name)
                << packed << size.Width << size.Height << size.Drawn;
    }
}

// Rows with no runs: the entry is a header and a line table, a few
// kilobytes, whatever size it claims.
void TestGiantArt::giantDrawsAsMissing()
{
    QFETCH(bool, packed);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, drawn);
    ArtWriter::RunLengthPicture picture;
    picture.Width = std::uint16_t(width);
    picture.Height = std::uint16_t(height);
    const ArtWriter::Bytes entry = ArtWriter::RunLengthEntry(picture);

    QTemporaryDir dir;
    std::unique_ptr<TArtSource> source;
    if (packed) {
        ContainerWriter container;
        container.AddArt(ArtWriter::StaticArtBase, entry, true);
        container.WriteTo(dir.filePath(QStringLiteral("artLegacyMUL.uop")));
        source = std::make_unique<TPackedArtReader>(dir.filePath(QStringLiteral("artLegacyMUL.uop")), false);
    } else {
        ArtWriter writer;
        writer.PadToEntry(ArtWriter::StaticArtBase);
        writer.AddEntry(entry);
        writer.WriteArtFilesTo(dir.path());
        source = std::make_unique<TArtReader>(dir.filePath(QStringLiteral("art.mul")),
                                              dir.filePath(QStringLiteral("artidx.mul")), false);
    }
    QImage target = Filled(3, 2, 0x0001);
    QPoint size(9, 9);
    source->DrawArt(ArtWriter::StaticArtBase, target, size);
    if (drawn) {
        QCOMPARE(size, QPoint(width, height));
        QCOMPARE(target, Filled(width, height, White));
    } else {
        QCOMPARE(size, QPoint(0, 0));
        QCOMPARE(target, Filled(3, 2, White));
    }
}

QTEST_GUILESS_MAIN(TestGiantArt)
#include "test_giantart.moc"
