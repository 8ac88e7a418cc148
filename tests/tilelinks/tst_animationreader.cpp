// Animation entries: where an item's entry lies, its frames, short files
// and entries that claim more frames than they hold.

#include "tests/support/AnimationWriter.h"
#include "tests/support/TestFiles.h"
#include "tilelinks/LinkFiles.h"

#include <QTemporaryDir>
#include <QTest>

using Ints = std::vector<int>;
Q_DECLARE_METATYPE(Ints)

namespace {

Ints Offsets(int Count, int Start)
{
    Ints offsets;
    for (int i = 0; i < Count; ++i)
        offsets.push_back(Start + i);
    return offsets;
}

Ints Frames(int Item, const Ints &Offsets)
{
    Ints frames;
    for (const int offset : Offsets)
        frames.push_back(Item + offset);
    return frames;
}

AnimationWriter File()
{
    AnimationWriter w;
    w.SetHeader(0, 0xDEADBEEF);
    w.SetEntry(0, {0, 1, 2}, 3, 4, -1, 9);
    w.SetEntry(7, {0, -7}, 1, 0);                 // the last entry of block 0
    w.SetEntry(8, {0, 1}, 2, 0);                  // the first of block 1
    w.SetEntry(13, {127, -128, -13}, 5, 6);        // offsets at both ends
    w.SetEntry(14, {1, 2}, 1, 0, 0);              // frames but a count of 0
    w.SetEntry(15, Offsets(64, -20), 1, 0, 255);  // a count past the 64 slots
    w.SetEntry(21, {0, 1}, 1, 0);                 // in block 2, which is cut
    return w;
}

} // namespace

class TAnimationReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void Reads_data();
    void Reads();
};

void TAnimationReaderTest::Reads_data()
{
    QTest::addColumn<int>("Cut"); // bytes the file is cut to; -1 whole
    QTest::addColumn<int>("Item");
    QTest::addColumn<Ints>("Expected");
    QTest::addColumn<int>("Interval");
    QTest::addColumn<int>("Delay");
    QTest::addColumn<int>("Count");

    QTest::newRow("first entry") << -1 << 0 << Ints{0, 1, 2} << 3 << 4 << 3;
    QTest::newRow("last of a block") << -1 << 7 << Ints{7, 0} << 1 << 0 << 2;
    QTest::newRow("first of the next") << -1 << 8 << Ints{8, 9} << 2 << 0 << 2;
    QTest::newRow("signed offsets") << -1 << 13 << Ints{140, -115, 0} << 5 << 6 << 3;
    QTest::newRow("no frames") << -1 << 1 << Ints{} << 0 << 0 << 0;
    QTest::newRow("count 0") << -1 << 14 << Ints{} << 0 << 0 << 0;
    QTest::newRow("count past 64") << -1 << 15 << Frames(15, Offsets(64, -20)) << 1 << 0 << 255;
    QTest::newRow("past the file") << -1 << 24 << Ints{} << 0 << 0 << 0;
    QTest::newRow("negative item") << -1 << -1 << Ints{} << 0 << 0 << 0;
    QTest::newRow("past any item") << -1 << 0x10000 << Ints{} << 0 << 0 << 0;
    QTest::newRow("entry cut short") << 2 * 548 + 4 + 5 * 68 + 67 << 21 << Ints{} << 0 << 0 << 0;
    QTest::newRow("entry just whole") << 2 * 548 + 4 + 6 * 68 << 21 << Ints{21, 22} << 1 << 0 << 2;
    QTest::newRow("no file") << 0 << 0 << Ints{} << 0 << 0 << 0;
}

void TAnimationReaderTest::Reads()
{
    QFETCH(int, Cut);
    QFETCH(int, Item);
    QFETCH(Ints, Expected);
    QFETCH(int, Interval);
    QFETCH(int, Delay);
    QFETCH(int, Count);

    QTemporaryDir dir;
    AnimationWriter w = File();
    if (Cut < 0)
        w.WriteTo(dir.path());
    else if (Cut > 0) {
        auto bytes = w.FileBytes();
        bytes.resize(std::size_t(Cut));
        TestFiles::WriteBytes(dir.filePath(QStringLiteral("animdata.mul")), bytes);
    }
    TLinkFiles files(dir.path().toStdString());
    TAnimation animation;
    QCOMPARE(files.Animations().Find(Item, animation), !Expected.empty());
    QCOMPARE(animation.Frames, Expected);
    QCOMPARE(animation.Interval, Interval);
    QCOMPARE(animation.StartDelay, Delay);
    QCOMPARE(animation.FrameCount, Count);
    if (Item == 0)
        QCOMPARE(animation.Unknown, Expected.empty() ? 0 : 9);
    // Every frame knows the items that use it.
    for (const int frame : Expected) {
        if (frame >= 0) {
            const Ints users = files.Animations().UsersOf(frame, 0x4000);
            QVERIFY(std::find(users.begin(), users.end(), Item) != users.end());
        }
    }
}

QTEST_GUILESS_MAIN(TAnimationReaderTest)
#include "tst_animationreader.moc"
