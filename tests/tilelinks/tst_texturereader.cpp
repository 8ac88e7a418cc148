// The texture table and its pixels: sizes, empty slots, short files and
// entries that lie about where their bytes are.

#include "tests/support/TestFiles.h"
#include "tests/support/TextureWriter.h"
#include "tilelinks/LinkFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

std::uint16_t PixelOf(int Tex, int X, int Y)
{
    return std::uint16_t((Tex * 0x0421 + X * 3 + Y * 0x20) & 0x7FFF);
}

// Entry 1 is 64 x 64, entry 2 is 128 x 128 with the top bit set in its
// pixels, the rest empty or lying.
TextureWriter Table()
{
    TextureWriter w;
    w.AddTexture(64, [](int X, int Y) { return PixelOf(0, X, Y); });
    w.AddTexture(64, [](int X, int Y) { return PixelOf(1, X, Y); });
    w.AddTexture(128, [](int X, int Y) { return std::uint16_t(PixelOf(2, X, Y) | 0x8000); });
    w.AddEntry(0xFFFFFFFFu, 8192);             // 3: the empty mark
    w.AddEntry(0, 0);                          // 4: no length
    w.AddEntry(0, 8000);                       // 5: no texture's length
    w.AddEntry(2 * 8192 + 32768 - 100, 8192);  // 6: beyond texmaps.mul
    w.AddEntry(0xFFFFFFF0u, 32768);            // 7: an offset that wraps
    w.AddEntry(0, 0x80000000u);                // 8: a length past any texture
    w.AddEntry(8192, 8192, 1);                 // 9: entry 1's bytes, extra 1
    return w;
}

} // namespace

class TTextureReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void Reads_data();
    void Reads();
};

void TTextureReaderTest::Reads_data()
{
    QTest::addColumn<QString>("Files");
    QTest::addColumn<int>("TexId");
    QTest::addColumn<int>("Side");
    QTest::addColumn<int>("Entries");

    QTest::newRow("TexID 0 names nothing") << "table" << 0 << 0 << 10;
    QTest::newRow("64 x 64") << "table" << 1 << 64 << 10;
    QTest::newRow("128 x 128") << "table" << 2 << 128 << 10;
    QTest::newRow("offset 0xFFFFFFFF") << "table" << 3 << 0 << 10;
    QTest::newRow("length 0") << "table" << 4 << 0 << 10;
    QTest::newRow("other length") << "table" << 5 << 0 << 10;
    QTest::newRow("beyond the file") << "table" << 6 << 0 << 10;
    QTest::newRow("wrapping offset") << "table" << 7 << 0 << 10;
    QTest::newRow("huge length") << "table" << 8 << 0 << 10;
    QTest::newRow("size from length, not extra") << "table" << 9 << 64 << 10;
    QTest::newRow("past the table") << "table" << 10 << 0 << 10;
    QTest::newRow("negative") << "table" << -1 << 0 << 10;
    QTest::newRow("past any TexID") << "table" << 0x10001 << 0 << 10;
    QTest::newRow("table cut inside an entry") << "cut" << 2 << 0 << 2;
    QTest::newRow("entry before the cut") << "cut" << 1 << 64 << 2;
    QTest::newRow("no texmaps.mul") << "no-texmaps" << 1 << 0 << 0;
    QTest::newRow("no files") << "none" << 1 << 0 << 0;
}

void TTextureReaderTest::Reads()
{
    QFETCH(QString, Files);
    QFETCH(int, TexId);
    QFETCH(int, Side);
    QFETCH(int, Entries);

    QTemporaryDir dir;
    const TextureWriter w = Table();
    if (Files != QLatin1String("none"))
        w.WriteTo(dir.path());
    if (Files == QLatin1String("cut")) {
        auto index = w.IndexBytes();
        index.resize(2 * 12 + 7);
        TestFiles::WriteBytes(QDir(dir.path()).filePath(QStringLiteral("texidx.mul")), index);
    }
    if (Files == QLatin1String("no-texmaps"))
        QVERIFY(QDir(dir.path()).remove(QStringLiteral("texmaps.mul")));

    TLinkFiles files(dir.path().toStdString());
    TTextureReader &reader = files.Textures();
    QCOMPARE(reader.Side(TexId), Side);
    TTexture texture;
    QCOMPARE(reader.Read(TexId, texture), Side != 0);
    QCOMPARE(texture.Side, Side);
    QCOMPARE(int(texture.Pixels.size()), Side * Side);
    if (Side != 0) {
        // Rows run from top to bottom; the top bit is kept as the file has it.
        const int tex = TexId == 9 ? 1 : TexId;
        const std::uint16_t top = TexId == 2 ? 0x8000 : 0;
        QCOMPARE(texture.Pixels[std::size_t(5 * Side + 3)], std::uint16_t(PixelOf(tex, 3, 5) | top));
        QCOMPARE(texture.Pixels.back(), std::uint16_t(PixelOf(tex, Side - 1, Side - 1) | top));
    }
    QCOMPARE(reader.EntryCount(), Entries);
}

QTEST_GUILESS_MAIN(TTextureReaderTest)
#include "tst_texturereader.moc"
