// The comparison of two tile data files, tile by tile, and taking part of a
// record from the other file, within one layout and across the two. Files
// are built byte by byte by LayoutTileWriter.

#include "tests/support/LayoutTileWriter.h"
#include "tiledata/RecordTake.h"
#include "tiledata/TileComparison.h"
#include "tiledata/TileDataReader.h"

#include <QtTest>

#include <memory>

namespace {

using Writer = LayoutTileWriter;

std::unique_ptr<TTileData> StoreOf(const Writer &File, const char *Name = "a.mul")
{
    auto store = std::make_unique<TTileData>(QLatin1String(Name), File.Bytes());
    store->LoadTiles();
    return store;
}

Writer Make(bool Newer, std::uint32_t Seed = 1)
{
    return Newer ? Writer::Newer(3, Seed) : Writer::Classic(Seed);
}

// Both files hold the same values in every tile they share, whatever their
// layouts, flags below bit 32 only.
void MakeAlike(Writer &A, Writer &B)
{
    for (int tile = 0; tile < std::min(A.Items(), B.Items()); ++tile) {
        Writer::Item item = A.ReadItem(tile);
        item.Flags &= 0xFFFFFFFFu;
        A.SetItem(tile, item);
        B.SetItem(tile, item);
    }
    for (int tile = 0; tile < Writer::LandTiles; ++tile) {
        Writer::Land land = A.ReadLand(tile);
        land.Flags &= 0xFFFFFFFFu;
        A.SetLand(tile, land);
        B.SetLand(tile, land);
    }
}

} // namespace

class TileComparisonTest : public QObject
{
    Q_OBJECT

private slots:
    void oneByteMarksOneTile_data();
    void oneByteMarksOneTile();
    void classicAgainstNewer();
    void recompareFollowsAnEdit();
    void takingAcrossLayouts_data();
    void takingAcrossLayouts();
};

void TileComparisonTest::oneByteMarksOneTile_data()
{
    QTest::addColumn<bool>("newer");
    QTest::addColumn<bool>("land");
    // Offset of the byte changed, from the record's start (-4: the header
    // of the record's group, which is no tile's).
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("tile");
    for (const bool newer : {false, true}) {
        const int flags = newer ? 8 : 4;
        const char *layout = newer ? "newer" : "classic";
        QTest::addRow("%s item flags", layout) << newer << false << 0 << 5;
        QTest::addRow("%s item weight", layout) << newer << false << flags << 0x21;
        QTest::addRow("%s item unknown0, high byte", layout) << newer << false << flags + 3 << 0x1F;
        QTest::addRow("%s item anim", layout) << newer << false << flags + 6 << 0x40;
        QTest::addRow("%s item height", layout) << newer << false << flags + 12 << 0x5F;
        QTest::addRow("%s item name", layout) << newer << false << flags + 13 << 7;
        QTest::addRow("%s item name, after its end", layout) << newer << false << flags + 13 + 19 << 8;
        QTest::addRow("%s item group header", layout) << newer << false << -4 << 0x20;
        QTest::addRow("%s land flags", layout) << newer << true << flags - 1 << 3;
        QTest::addRow("%s land texture", layout) << newer << true << flags + 1 << 0x3FFF;
        QTest::addRow("%s land name, after its end", layout) << newer << true << flags + 2 + 19 << 0x20;
        QTest::addRow("%s land group header", layout) << newer << true << -4 << 0x40;
    }
    QTest::newRow("newer item flags, bit 63") << true << false << 7 << 9;
}

void TileComparisonTest::oneByteMarksOneTile()
{
    QFETCH(bool, newer);
    QFETCH(bool, land);
    QFETCH(int, at);
    QFETCH(int, tile);
    Writer a = Make(newer);
    // Names of two letters, so that the last byte of the field lies after
    // the name's end.
    const std::string shortName = std::string("ab") + std::string(18, '\0');
    land ? a.SetRawLandName(tile, shortName) : a.SetRawItemName(tile, shortName);
    Writer b = a;
    const std::size_t offset = (land ? a.LandOffset(tile) : a.ItemOffset(tile)) + std::size_t(std::ptrdiff_t(at));
    b.Bytes()[offset] ^= 0x40;
    const TTileComparison comparison(*StoreOf(a), *StoreOf(b));
    const TTileKind kind = land ? TTileKind::Land : TTileKind::Item;
    const TTileKind otherKind = land ? TTileKind::Item : TTileKind::Land;
    const std::vector<int> expected = at < 0 ? std::vector<int>() : std::vector<int>{tile};
    QCOMPARE(comparison.Differing(kind), expected);
    QCOMPARE(comparison.DifferCount(kind), int(expected.size()));
    QCOMPARE(comparison.Differing(otherKind), std::vector<int>());
    QCOMPARE(comparison.Compared(TTileKind::Item), a.Items());
    QVERIFY(!comparison.AcrossLayouts());
}

// Tiles are compared by index over the tiles both hold; the classic file's
// missing bits 32 to 63 count as clear.
void TileComparisonTest::classicAgainstNewer()
{
    Writer classic = Writer::Classic();
    Writer newer = Writer::Newer(3, 2);
    MakeAlike(newer, classic);
    Writer::Item upper = newer.ReadItem(4);
    upper.Flags |= std::uint64_t(1) << 40;
    newer.SetItem(4, upper);
    Writer::Land texture = classic.ReadLand(0x100);
    ++texture.Texture;
    classic.SetLand(0x100, texture);
    const auto newerStore = StoreOf(newer);
    const auto classicStore = StoreOf(classic);
    for (const bool newerFirst : {true, false}) {
        const TTileComparison comparison(newerFirst ? *newerStore : *classicStore,
                                         newerFirst ? *classicStore : *newerStore);
        QVERIFY(comparison.AcrossLayouts());
        QCOMPARE(comparison.Compared(TTileKind::Item), 96);
        QCOMPARE(comparison.Compared(TTileKind::Land), Writer::LandTiles);
        QCOMPARE(comparison.Differing(TTileKind::Item), std::vector<int>({4}));
        QCOMPARE(comparison.Differing(TTileKind::Land), std::vector<int>({0x100}));
        QVERIFY(!comparison.Differs(TTileKind::Item, 100)); // beyond the newer file's tiles
    }
}

void TileComparisonTest::recompareFollowsAnEdit()
{
    Writer a = Make(true);
    Writer b = a;
    Writer::Item item = b.ReadItem(0x30);
    item.Weight ^= 1;
    b.SetItem(0x30, item);
    const auto ours = StoreOf(a);
    const auto other = StoreOf(b);
    TTileComparison comparison(*ours, *other);
    QCOMPARE(comparison.DifferCount(TTileKind::Item), 1);
    ours->SetWeight(0x30, item.Weight);
    QVERIFY(comparison.Recompare(*ours, *other, TTileKind::Item, 0x30));
    QCOMPARE(comparison.DifferCount(TTileKind::Item), 0);
    QVERIFY(!comparison.Recompare(*ours, *other, TTileKind::Item, 0x30));
    ours->SetHue(0x31, ours->GetHue(0x31) ^ 2);
    QVERIFY(comparison.Recompare(*ours, *other, TTileKind::Item, 0x31));
    QCOMPARE(comparison.Differing(TTileKind::Item), std::vector<int>({0x31}));
}

void TileComparisonTest::takingAcrossLayouts_data()
{
    QTest::addColumn<bool>("oursNewer");
    QTest::addColumn<bool>("otherNewer");
    QTest::addColumn<int>("part");
    QTest::addColumn<bool>("refused");
    const TRecordPart parts[] = {TRecordPart::Whole, TRecordPart::Flags, TRecordPart::Numbers, TRecordPart::Name};
    const char *names[] = {"whole", "flags", "numbers", "name"};
    for (int k = 0; k < 4; ++k) {
        const bool flags = parts[k] == TRecordPart::Whole || parts[k] == TRecordPart::Flags;
        QTest::addRow("newer from newer, %s", names[k]) << true << true << int(parts[k]) << false;
        QTest::addRow("newer from classic, %s", names[k]) << true << false << int(parts[k]) << false;
        QTest::addRow("classic from newer, %s", names[k]) << false << true << int(parts[k]) << flags;
    }
}

// The other file's tile 2 has bit 40 set and differs in every field; a
// classic record taken keeps the newer tile's upper bits.
void TileComparisonTest::takingAcrossLayouts()
{
    QFETCH(bool, oursNewer);
    QFETCH(bool, otherNewer);
    QFETCH(int, part);
    QFETCH(bool, refused);
    const auto taken = TRecordPart(part);
    Writer ours = Make(oursNewer, 3);
    Writer other = Make(otherNewer, 4);
    const std::uint64_t upper = std::uint64_t(1) << 40;
    Writer::Item mine = {upper | 0x11, 1, 2, 0x0303, 4, 5, 0x0606, 7, 8, 9, 10, 11, "mine"};
    Writer::Item theirs = {(otherNewer ? upper : 0) | 0x22, 21, 22, 0x2323, 24, 25, 0x2626, 27, 28, 29, 30, 31, "theirs"};
    if (!oursNewer)
        mine.Flags &= 0xFFFFFFFFu;
    ours.SetItem(2, mine);
    other.SetItem(2, theirs);
    const auto oursStore = StoreOf(ours);
    const auto otherStore = StoreOf(other);
    QCOMPARE(RecordTake::Refused(*oursStore, *otherStore, TTileKind::Item, 2, taken), refused);
    if (refused)
        return;
    Writer::Item expected = mine;
    if (taken == TRecordPart::Whole || taken == TRecordPart::Flags)
        expected.Flags = otherNewer ? theirs.Flags : (mine.Flags & ~std::uint64_t(0xFFFFFFFFu)) | theirs.Flags;
    if (taken == TRecordPart::Whole || taken == TRecordPart::Name)
        expected.Name = theirs.Name;
    if (taken == TRecordPart::Whole || taken == TRecordPart::Numbers) {
        Writer::Item numbers = theirs;
        numbers.Flags = expected.Flags;
        numbers.Name = expected.Name;
        expected = numbers;
    }
    ours.SetItem(2, expected);
    const QByteArray record = RecordTake::Taken(*oursStore, *otherStore, TTileKind::Item, 2, taken);
    QCOMPARE(record, QByteArray(reinterpret_cast<const char *>(ours.Bytes().data() + ours.ItemOffset(2)),
                                ours.FlagBytes() + 33));
}

QTEST_GUILESS_MAIN(TileComparisonTest)
#include "tst_tilecomparison.moc"
