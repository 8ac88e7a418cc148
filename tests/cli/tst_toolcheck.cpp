// quorvane-tool check on a small client built byte by byte: one set of
// files with exactly one fault per rule, and the same set without them.

#include "cli/QuorvaneTool.h"
#include "tests/support/AnimationWriter.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/RadarWriter.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TextureWriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr std::uint64_t Animated = std::uint64_t(1) << 24;
constexpr int Groups = 4; // 128 items

ToolRun Tool(const QStringList &Arguments)
{
    std::vector<std::string> arguments;
    for (const QString &argument : Arguments)
        arguments.push_back(argument.toStdString());
    return RunQuorvaneTool(arguments);
}

// The findings' lines without the header.
QStringList Findings(const std::string &Tsv)
{
    QStringList lines = QString::fromStdString(Tsv).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!lines.isEmpty())
        lines.removeFirst();
    return lines;
}

// "section index rule" of each finding.
QStringList Keys(const std::string &Tsv)
{
    QStringList keys;
    for (const QString &line : Findings(Tsv)) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        keys << cells.value(1) + QLatin1Char(' ') + cells.value(0) + QLatin1Char(' ') + cells.value(2);
    }
    return keys;
}

// A newer client of 128 items. Items 1 to 3 are an animation of item 1,
// item 3 keeps the flag as a frame of it; land tile 0 has a 64 x 64
// texture. With Faults, one tile breaks each rule:
//   item 20 Animation flag, no entry     item 30 a frame past the items
//   item 40 a frame without a picture    item 50 an entry, no flag
//   land 2 a TexID past the table        item 10 black on the radar
//   item 60 flag bit 41
void WriteClient(const QString &Folder, bool Faults)
{
    LayoutTileWriter tiles = LayoutTileWriter::Newer(Groups);
    // Named, as a real file's tiles are, so that its layout is plain.
    LayoutTileWriter::Item named;
    named.Name = "crate";
    for (int t = 0; t < tiles.Items(); ++t)
        tiles.SetItem(t, named);
    for (int t = 0; t < LayoutTileWriter::LandTiles; ++t)
        tiles.SetLand(t, {0, 0, "sand"});
    tiles.SetLand(0, {0, 1, "grass"});
    const auto flagged = [&](int Item, std::uint64_t Flags) {
        LayoutTileWriter::Item item = named;
        item.Flags = Flags;
        tiles.SetItem(Item, item);
    };
    flagged(1, Animated);
    flagged(3, Animated);
    AnimationWriter animations;
    animations.SetEntry(1, {0, 1, 2}, 2, 0);
    std::vector<int> pictured = {1, 2, 3, 10, 30, 40, 50};
    if (Faults) {
        flagged(20, Animated);
        flagged(30, Animated);
        animations.SetEntry(30, {0, 127}, 2, 0);
        flagged(40, Animated);
        animations.SetEntry(40, {0, 1}, 2, 0);
        animations.SetEntry(50, {0}, 2, 0);
        tiles.SetLand(2, {0, 0x7000, "cave"});
        flagged(60, std::uint64_t(1) << 41);
    }
    tiles.WriteTo(Folder + QStringLiteral("/tiledata.mul"));
    animations.SetBlockCount(Groups * 4);
    animations.WriteTo(Folder);

    ArtWriter art;
    art.AddRaw(ArtWriter::Pixels(ArtWriter::RawPixelCount, 0x1234));
    RadarWriter radar(RadarWriter::ItemBase + tiles.Items());
    radar.SetLand(0, 0x0421);
    for (const int item : pictured) {
        art.PadToEntry(ArtWriter::StaticArtBase + item);
        art.AddRaw(ArtWriter::Pixels(ArtWriter::RawPixelCount, 0x4210));
        radar.SetItem(item, Faults && item == 10 ? 0 : 0x0421);
    }
    art.WriteArtFilesTo(Folder);
    radar.WriteTo(Folder);

    TextureWriter textures;
    textures.PadToEntry(1);
    textures.AddTexture(64, [](int, int) { return std::uint16_t(0x0421); });
    textures.WriteTo(Folder);
}

} // namespace

class TToolCheckTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString File(const QString &Set) const { return FDir.filePath(Set + QStringLiteral("/tiledata.mul")); }

private slots:
    void initTestCase();
    void rules_data();
    void rules();
    void baseline();
};

void TToolCheckTest::initTestCase()
{
    for (const QString set : {"clean", "faults"}) {
        QVERIFY(QDir(FDir.path()).mkdir(set));
        WriteClient(FDir.filePath(set), set == QStringLiteral("faults"));
    }
}

void TToolCheckTest::rules_data()
{
    QTest::addColumn<QString>("Set");
    QTest::addColumn<QStringList>("Options");
    QTest::addColumn<QStringList>("Found");
    QTest::addColumn<int>("Status");

    const struct
    {
        const char *Rule;
        const char *Key;
        int Status;
    } rules[] = {
        {"animation-without-entry", "items 0x14", 1}, {"animation-frame-outside", "items 0x1E", 1},
        {"animation-frame-no-picture", "items 0x28", 0}, {"entry-without-animation", "items 0x32", 0},
        {"texture-missing", "land 0x2", 1}, {"radar-missing", "items 0xA", 0}, {"unnamed-bits", "items 0x3C", 0},
    };
    for (const auto &rule : rules) {
        const QString name = QString::fromLatin1(rule.Rule);
        QTest::addRow("%s, clean", rule.Rule) << "clean" << QStringList{"--rules", name} << QStringList{} << 0;
        QTest::addRow("%s, fault", rule.Rule) << "faults" << QStringList{"--rules", name}
                                              << QStringList{QString::fromLatin1(rule.Key) + ' ' + name} << rule.Status;
    }
    QTest::newRow("every rule, clean") << "clean" << QStringList{} << QStringList{} << 0;
    QTest::newRow("every rule, faults") << "faults" << QStringList{} << QStringList{
        "items 0x14 animation-without-entry", "items 0x1E animation-frame-outside",
        "items 0x28 animation-frame-no-picture", "items 0x32 entry-without-animation", "items 0x3C unnamed-bits",
        "items 0xA radar-missing", "land 0x2 texture-missing"} << 1;
    QTest::newRow("fail on warnings") << "faults" << QStringList{"--rules", "radar-missing", "--fail-on", "warning"}
                                      << QStringList{"items 0xA radar-missing"} << 1;
    QTest::newRow("warnings skipped")
        << "faults" << QStringList{"--skip", "animation-without-entry,animation-frame-outside,texture-missing"}
        << QStringList{"items 0x28 animation-frame-no-picture", "items 0x32 entry-without-animation",
                       "items 0x3C unnamed-bits", "items 0xA radar-missing"} << 0;
    QTest::newRow("no such rule") << "faults" << QStringList{"--rules", "radar"} << QStringList{} << 2;
    QTest::newRow("no such severity") << "faults" << QStringList{"--fail-on", "fatal"} << QStringList{} << 2;
}

void TToolCheckTest::rules()
{
    QFETCH(QString, Set);
    QFETCH(QStringList, Options);
    QFETCH(QStringList, Found);
    QFETCH(int, Status);

    const ToolRun run = Tool(QStringList{"check", File(Set)} + Options);
    QCOMPARE(run.Status, Status);
    QStringList keys = Keys(run.Output);
    keys.sort();
    QCOMPARE(keys, Found);
    if (Status != 2)
        QVERIFY2(QString::fromStdString(run.Errors).startsWith(
                     "quorvane-tool: read: art.mul, artidx.mul, animdata.mul, texidx.mul, texmaps.mul, radarcol.mul\n"),
                 run.Errors.c_str());
}

// A baseline leaves out the findings it holds, in TSV or JSON, so that only
// a new one fails.
void TToolCheckTest::baseline()
{
    for (const QString format : {"tsv", "json"}) {
        const ToolRun first = Tool({"check", File("faults"), "--format", format});
        QCOMPARE(first.Status, 1);
        const QString baseline = FDir.filePath("baseline." + format);
        TestFiles::WriteBytes(baseline, QByteArray::fromStdString(first.Output));

        const ToolRun again = Tool({"check", File("faults"), "--baseline", baseline});
        QCOMPARE(again.Status, 0);
        QCOMPARE(Findings(again.Output), QStringList());
        QVERIFY2(QString::fromStdString(again.Errors).contains("7 findings of the baseline left out"),
                 again.Errors.c_str());
    }
    // A new fault beside the old ones.
    const QString grown = FDir.filePath("grown");
    QVERIFY(QDir(FDir.path()).mkdir("grown"));
    WriteClient(grown, true);
    LayoutTileWriter tiles = LayoutTileWriter::ShapeOf(LayoutTileWriter::NewerLandSection + Groups * LayoutTileWriter::NewerItemGroup);
    tiles.Bytes() = TestFiles::ReadBytes(grown + "/tiledata.mul");
    LayoutTileWriter::Item item;
    item.Flags = Animated;
    item.Name = "crate";
    tiles.SetItem(21, item);
    tiles.WriteTo(grown + "/tiledata.mul");
    const ToolRun grew = Tool({"check", grown + "/tiledata.mul", "--baseline", FDir.filePath("baseline.tsv")});
    QCOMPARE(grew.Status, 1);
    QCOMPARE(Keys(grew.Output), QStringList{"items 0x15 animation-without-entry"});

    TestFiles::WriteBytes(FDir.filePath("bad.tsv"), QByteArray("index\tsection\trule\n0x1\tstatics\tradar-missing\n"));
    const ToolRun bad = Tool({"check", File("faults"), "--baseline", FDir.filePath("bad.tsv")});
    QCOMPARE(bad.Status, 2);
    QVERIFY2(bad.Errors.find("bad.tsv:2: \"statics\" is not a section") != std::string::npos, bad.Errors.c_str());
}

QTEST_GUILESS_MAIN(TToolCheckTest)
#include "tst_toolcheck.moc"
