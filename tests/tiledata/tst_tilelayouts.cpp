// The store on the newer layout, and on land records of both layouts:
// every field read from its own bytes, and an edit saved to exactly its
// bytes. Files are built byte by byte by LayoutTileWriter.

#include "tests/support/LayoutTileWriter.h"
#include "tests/support/TestFiles.h"
#include "tiledata/LayoutGuess.h"
#include "tiledata/TileDataReader.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

using Writer = LayoutTileWriter;

enum Field { ItemFlags, ItemWeight, ItemAnim, ItemHeight, ItemName, LandFlags, LandTexture, LandName };

Writer::Item SomeItem(int Tile, bool Newer = true)
{
    return {(Newer ? 0x2000000000ull : 0) | std::uint64_t(Tile), 1, 2, 0x0304, 5, 6, std::uint16_t(0x0708 + Tile), 9, 10, 11, 12, 13,
            "twenty bytes of name"};
}

Writer::Land SomeLand(int Tile, bool Newer)
{
    return {(Newer ? 0x100000000ull : 0) | std::uint64_t(Tile), std::uint16_t(0x0300 + Tile), "grass and more grass"};
}

std::unique_ptr<TTileData> Loaded(const QString &Path)
{
    auto store = std::make_unique<TTileData>(Path);
    QStringList lines;
    store->LoadTiles(lines);
    return store;
}

} // namespace

class TileLayoutsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;

private slots:
    void newerItemsAtTheirBytes_data();
    void newerItemsAtTheirBytes();
    void editWritesOnlyItsField_data();
    void editWritesOnlyItsField();
    void layoutFromNames_data();
    void layoutFromNames();
};

void TileLayoutsTest::newerItemsAtTheirBytes_data()
{
    QTest::addColumn<int>("tile");
    for (const int tile : {0x0, 0x1F, 0x20, 0x5F})
        QTest::addRow("0x%X", tile) << tile;
}

void TileLayoutsTest::newerItemsAtTheirBytes()
{
    QFETCH(int, tile);
    Writer file = Writer::Newer(3, 11);
    file.SetItem(tile, SomeItem(tile));
    const QString path = FDir.filePath("items.mul");
    file.WriteTo(path);
    const std::unique_ptr<TTileData> store = Loaded(path);
    QCOMPARE(store->ItemCount(), 96);
    QCOMPARE(store->Layout().FlagBits(), 64);
    const Writer::Item item = SomeItem(tile);
    QCOMPARE(store->GetFlags(tile), item.Flags);
    const int fields[] = {store->GetWeight(tile),   store->GetQuality(tile),  store->GetUnknown0(tile),
                          store->GetUnknown1(tile), store->GetQuantity(tile), store->GetAnim(tile),
                          store->GetUnknown2(tile), store->GetHue(tile),      store->GetUnknown3(tile),
                          store->GetUnknown4(tile), store->GetHeight(tile)};
    const int expected[] = {item.Weight, item.Quality,  item.Unknown0, item.Unknown1, item.Quantity, item.Anim,
                            item.Unknown2, item.Hue, item.Unknown3, item.Unknown4, item.Height};
    for (std::size_t k = 0; k < std::size(fields); ++k)
        QCOMPARE(fields[k], expected[k]);
    QCOMPARE(store->GetName(tile), QString("twenty bytes of name"));
    QCOMPARE(store->ListLine(tile), "0x" + QString::number(tile, 16).toUpper() + " - twenty bytes of name");

    // A save without edits leaves every byte as it was.
    QVERIFY(!store->IsModified());
    QVERIFY(store->Save());
    QVERIFY(TestFiles::ReadBytes(path) == file.Bytes());
}

void TileLayoutsTest::editWritesOnlyItsField_data()
{
    QTest::addColumn<bool>("newer");
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("tile");
    QTest::newRow("newer item flags, bit 37") << true << int(ItemFlags) << 0x20;
    QTest::newRow("newer item weight") << true << int(ItemWeight) << 0x5F;
    QTest::newRow("newer item anim") << true << int(ItemAnim) << 0x21;
    QTest::newRow("newer item height, before the name") << true << int(ItemHeight) << 0x1F;
    QTest::newRow("newer item name") << true << int(ItemName) << 0x5F;
    for (const bool newer : {false, true}) {
        const char *layout = newer ? "newer" : "classic";
        QTest::addRow("%s land flags", layout) << newer << int(LandFlags) << 0x3;
        QTest::addRow("%s land texture, before a group header", layout) << newer << int(LandTexture) << 0x1F;
        QTest::addRow("%s land name, the last land record", layout) << newer << int(LandName) << 0x3FFF;
    }
}

// An edit saved changes its field's bytes and no others, and a new store
// reads it back.
void TileLayoutsTest::editWritesOnlyItsField()
{
    QFETCH(bool, newer);
    QFETCH(int, field);
    QFETCH(int, tile);
    Writer file = newer ? Writer::Newer(3, 12) : Writer::Classic(12);
    // Land tiles run past the items of a small file; its item is the same
    // tile for item rows.
    const int itemTile = tile % file.Items();
    file.SetItem(itemTile, SomeItem(tile, newer));
    file.SetLand(tile, SomeLand(tile, newer));
    const QString path = FDir.filePath("edit.mul");
    file.WriteTo(path);
    std::unique_ptr<TTileData> store = Loaded(path);
    QCOMPARE(store->GetFlags(TTileKind::Land, tile), SomeLand(tile, newer).Flags);
    QCOMPARE(store->GetTexture(tile), int(SomeLand(tile, newer).Texture));
    QCOMPARE(store->GetName(TTileKind::Land, tile), QString("grass and more grass"));

    Writer::Item item = file.ReadItem(itemTile);
    Writer::Land land = file.ReadLand(tile);
    switch (Field(field)) {
    case ItemFlags:
        item.Flags ^= 1ull << 37;
        store->SetFlags(TTileKind::Item, tile, item.Flags);
        break;
    case ItemWeight:
        store->SetWeight(tile, item.Weight = 200);
        break;
    case ItemAnim:
        store->SetAnim(tile, item.Anim = 0xBEEF);
        break;
    case ItemHeight:
        store->SetHeight(tile, item.Height = 99);
        break;
    case ItemName:
        store->SetName(TTileKind::Item, tile, QString::fromStdString(item.Name = "renamed"));
        break;
    case LandFlags:
        land.Flags ^= newer ? 1ull << 40 : 1ull << 30;
        store->SetFlags(TTileKind::Land, tile, land.Flags);
        break;
    case LandTexture:
        store->SetTexture(tile, land.Texture = 0xFFFE);
        break;
    case LandName:
        store->SetName(TTileKind::Land, tile, QString::fromStdString(land.Name = "sand"));
        break;
    }
    QVERIFY(store->IsModified());
    QVERIFY(store->Save());
    if (field < LandFlags)
        file.SetItem(itemTile, item);
    else
        file.SetLand(tile, land);
    QVERIFY(TestFiles::ReadBytes(path) == file.Bytes());

    store = Loaded(path);
    QCOMPARE(store->GetFlags(TTileKind::Item, itemTile), item.Flags);
    QCOMPARE(store->GetAnim(itemTile), int(item.Anim));
    QCOMPARE(store->GetName(TTileKind::Item, itemTile), QString::fromLatin1(item.Name.c_str()));
    QCOMPARE(store->GetFlags(TTileKind::Land, tile), land.Flags);
    QCOMPARE(store->GetTexture(tile), int(land.Texture));
    QCOMPARE(store->GetName(TTileKind::Land, tile), QString::fromLatin1(land.Name.c_str()));
}

void TileLayoutsTest::layoutFromNames_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("proposal"); // empty: the names do not settle it
    QTest::addColumn<QString>("readOnly"); // the layout a read-only open shows
    const auto named = [](Writer File, std::size_t Size) {
        File.NameAllLand();
        File.Bytes().resize(Size, 0);
        return QByteArray(reinterpret_cast<const char *>(File.Bytes().data()), qsizetype(Size));
    };
    const QString classic = "16,383 tiles \u00B7 32-bit flags";
    const QString newer = "65,536 tiles \u00B7 64-bit flags";
    const std::size_t newerSize = Writer::NewerLandSection + 2048 * Writer::NewerItemGroup;
    QTest::newRow("classic, cut short") << named(Writer::Classic(3), 500000) << "classic" << classic;
    QTest::newRow("newer, cut inside its land") << named(Writer::Newer(2048, 4), 40000) << "newer" << newer;
    QByteArray unnamed = named(Writer::Newer(2048, 6), newerSize + 1);
    std::fill_n(unnamed.begin(), Writer::NewerLandSection, 0x5A); // every field reads as text in both
    QTest::newRow("no names, nearest the newer length") << unnamed << "" << newer;
    unnamed.resize(Writer::ClassicFileSize + 1);
    QTest::newRow("no names, nearest the classic length") << unnamed << "" << classic;
    QTest::newRow("no names, short") << QByteArray(500000, 0) << "" << classic;
    // The fewest names that settle a short file, and one fewer.
    const auto fewNames = [](int Count) {
        QByteArray bytes(500000, 0);
        const Writer shape = Writer::Newer(1);
        for (int k = 0; k < Count; ++k)
            bytes[qsizetype(shape.LandOffset(k * 97) + 8 + 2)] = 'x';
        return bytes;
    };
    QTest::newRow("16 newer names, short") << fewNames(16) << "newer" << newer;
    QTest::newRow("15 newer names, short") << fewNames(15) << "" << classic;
    QTest::newRow("too short for one name") << QByteArray("\x41\x41\x41") << "" << classic;
}

// A file whose length cannot tell its layout is read in the one whose land
// names read as text; names that read as text in both, or in neither, tell
// nothing.
void TileLayoutsTest::layoutFromNames()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, proposal);
    QFETCH(QString, readOnly);
    const TLayoutGuess guess(reinterpret_cast<const unsigned char *>(bytes.constData()), std::size_t(bytes.size()));
    QCOMPARE(guess.IsSettled() ? QString(guess.IsNewer() ? "newer" : "classic") : QString(), proposal);
    QCOMPARE(QString::fromStdString(guess.ReadOnlyLayout().Description()), readOnly);
}

QTEST_GUILESS_MAIN(TileLayoutsTest)
#include "tst_tilelayouts.moc"
