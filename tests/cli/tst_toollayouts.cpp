// quorvane-tool on both layouts of the file and on both sections: flag
// widths, the upper flag bits, bounds from the file's own tile count, land
// tiles, and lengths that fit neither layout. The tool runs in this
// process on files built byte by byte by LayoutTileWriter.

#include "cli/QuorvaneTool.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <map>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

using Writer = LayoutTileWriter;

Writer::Item SomeItem(bool Newer)
{
    return {Newer ? 0x2000000010ull : 0x20000010ull, 1, 2, 771, 4, 5, 0x0606, 7, 8, 9, 10, 11, "a name of twenty b\xE9s"};
}

Writer::Land SomeLand(bool Newer)
{
    return {Newer ? 0x100000041ull : 0x41ull, 3, "grass and more grass"};
}

} // namespace

class ToolLayoutsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    // The files every test starts from, by name.
    std::map<QString, Writer> FFiles;

    static ToolRun Tool(const QStringList &Arguments)
    {
        std::vector<std::string> arguments;
        for (const QString &argument : Arguments)
            arguments.push_back(argument.toStdString());
        return RunQuorvaneTool(arguments);
    }

    void Add(const QString &Name, Writer File)
    {
        File.WriteTo(Name);
        FFiles.emplace(Name, std::move(File));
    }

    static Writer Resized(Writer File, std::size_t Size)
    {
        File.Bytes().resize(Size, 0x5A);
        return File;
    }

    static QStringList Section(bool Land) { return Land ? QStringList{"--land"} : QStringList{}; }

    // A data table of one row per layout, in the column "newer".
    static void BothLayouts()
    {
        QTest::addColumn<bool>("newer");
        QTest::newRow("classic") << false;
        QTest::newRow("newer") << true;
    }

private slots:
    void initTestCase();
    void fieldsAtTheirBytes_data();
    void fieldsAtTheirBytes();
    void dumpIsPlainTsv_data();
    void dumpIsPlainTsv();
    void upperNamesAndNumbersApplyAlike_data();
    void upperNamesAndNumbersApplyAlike();
    void refusals_data();
    void refusals();
    void lengthThatFitsNeitherLayout_data();
    void lengthThatFitsNeitherLayout();
    void diffReportsBothSections_data();
    void diffReportsBothSections();
    void diffKeepsGroupEdgesInTheRecords_data();
    void diffKeepsGroupEdgesInTheRecords();
    void wholeDumpNamesTheLayout_data();
    void wholeDumpNamesTheLayout();
    void bytesAfterNamesInBothSections_data();
    void bytesAfterNamesInBothSections();
};

void ToolLayoutsTest::initTestCase()
{
    QVERIFY(QDir::setCurrent(FDir.path()));
    Add("classic.mul", Writer::Classic(71));
    Add("newer.mul", Writer::Newer(3, 72));
    const Writer real = Writer::Newer(2048, 73);
    Add("classic-plus.mul", Resized(Writer::Classic(74), Writer::ClassicFileSize + 1));
    Add("newer-plus.mul", Resized(real, real.Bytes().size() + 1));
    Add("newer-minus.mul", Resized(real, real.Bytes().size() - 1));
    Add("newer-land.mul", Resized(real, Writer::NewerLandSection));
    Writer named = real;
    named.NameAllLand();
    Add("newer-cut.mul", Resized(named, 500000));
    Add("newer-at-classic-length.mul", Resized(named, Writer::ClassicFileSize));
    Add("unnamed-cut.mul", Resized(real, 500000));
#ifndef _WIN32
    QCOMPARE(::mkfifo("fifo.mul", 0600), 0);
#endif
}

void ToolLayoutsTest::fieldsAtTheirBytes_data()
{
    QTest::addColumn<bool>("newer");
    QTest::addColumn<bool>("land");
    QTest::addColumn<int>("tile");
    QTest::addColumn<QByteArray>("line");
    const QByteArray item = "\t1\t2\t771\t4\t5\t0606\t7\t8\t9\t10\t11\ta name of twenty b\xC3\xA9s\n";
    QTest::newRow("classic item") << false << false << 0x7 << "0x7\t20000010\tWall|Door" + item;
    QTest::newRow("newer item after a group header") << true << false << 0x20
                                                     << "0x20\t0000002000000010\tWall|PixelBleed" + item;
    QTest::newRow("newer last item") << true << false << 0x5F << "0x5F\t0000002000000010\tWall|PixelBleed" + item;
    const QByteArray land = "\t3\tgrass and more grass\n";
    for (const bool newer : {false, true}) {
        const QByteArray flags = newer ? "0000000100000041\tBackground|Impassable|Bit32"
                                       : "00000041\tBackground|Impassable";
        const char *layout = newer ? "newer" : "classic";
        QTest::addRow("%s land name before the next record", layout) << newer << true << 0x3 << "0x3\t" + flags + land;
        QTest::addRow("%s land name before a group header", layout) << newer << true << 0x1F << "0x1F\t" + flags + land;
        QTest::addRow("%s last land record, before the items", layout)
            << newer << true << 0x3FFF << "0x3FFF\t" + flags + land;
    }
}

// Every field dumps from its own bytes, and applying the dump onto another
// file writes those bytes and no others.
void ToolLayoutsTest::fieldsAtTheirBytes()
{
    QFETCH(bool, newer);
    QFETCH(bool, land);
    QFETCH(int, tile);
    QFETCH(QByteArray, line);
    Writer file = newer ? Writer::Newer(3, 5) : Writer::Classic(5);
    Writer other = newer ? Writer::Newer(3, 6) : Writer::Classic(6);
    if (land)
        file.SetLand(tile, SomeLand(newer));
    else
        file.SetItem(tile, SomeItem(newer));
    file.WriteTo("fields.mul");
    other.WriteTo("other.mul");
    const QByteArray header = land ? "index\tflags\tflagnames\ttexture\tname\tlayout\n"
                                   : "index\tflags\tflagnames\tweight\tquality\tunknown0\tunknown1\tquantity\tanim"
                                     "\tunknown2\thue\tunknown3\tunknown4\theight\tname\tlayout\n";
    line.insert(line.size() - 1, newer ? "\tnewer" : "\tclassic");
    const ToolRun dump = Tool(QStringList{"dump", "fields.mul", "--tiles", QString::number(tile)} + Section(land));
    QCOMPARE(QByteArray::fromStdString(dump.Output), header + line);

    TestFiles::WriteBytes("edits.tsv", QByteArray::fromStdString(dump.Output));
    const ToolRun apply = Tool(QStringList{"apply", "other.mul", "edits.tsv"} + Section(land));
    QCOMPARE(QString::fromStdString(apply.Errors), QString());
    if (land)
        other.SetLand(tile, SomeLand(newer));
    else
        other.SetItem(tile, SomeItem(newer));
    QVERIFY(TestFiles::ReadBytes("other.mul") == other.Bytes());
}

void ToolLayoutsTest::dumpIsPlainTsv_data()
{
    BothLayouts();
}

// Every line has the header's cells, so that readers take a dump of either
// layout with their defaults: one that splits at tabs, as a spreadsheet's
// import does, and Python's csv module.
void ToolLayoutsTest::dumpIsPlainTsv()
{
    QFETCH(bool, newer);
    Writer file = newer ? Writer::Newer(3, 5) : Writer::Classic(5);
    file.SetItem(0x21, SomeItem(newer));
    file.WriteTo("plain.mul");
    const QByteArray dump = QByteArray::fromStdString(Tool({"dump", "plain.mul", "--tiles", "0x20-0x22"}).Output);
    const QByteArray layout = newer ? "newer" : "classic";
    const QByteArray fields = QByteArray("0x21|") + (newer ? "Wall|PixelBleed" : "Wall|Door") + "|1|" + layout;

    QVERIFY(dump.endsWith('\n'));
    const QList<QByteArray> lines = dump.chopped(1).split('\n');
    QCOMPARE(lines.size(), 4);
    const QList<QByteArray> header = lines[0].split('\t');
    for (const QByteArray &line : lines)
        QCOMPARE(line.split('\t').size(), header.size());
    const QList<QByteArray> tile = lines[2].split('\t');
    QCOMPARE(tile[header.indexOf("index")] + '|' + tile[header.indexOf("flagnames")] + '|'
                 + tile[header.indexOf("weight")] + '|' + tile[header.indexOf("layout")],
             fields);

    const QString python = QStandardPaths::findExecutable("python3");
    if (python.isEmpty())
        QSKIP("no python3 here");
    TestFiles::WriteBytes("plain.tsv", dump);
    QProcess reader;
    reader.start(python, {"-c",
                          "import csv, sys\n"
                          "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                          "    rows = list(csv.DictReader(f, delimiter='\\t'))\n"
                          "assert len(rows) == 3\n"
                          "assert all(None not in r and None not in r.values() for r in rows)\n"
                          "r = rows[1]\n"
                          "print('|'.join([r['index'], r['flagnames'], r['weight'], r['layout']]))\n",
                          "plain.tsv"});
    QVERIFY(reader.waitForFinished(30000));
    QCOMPARE(reader.readAllStandardError(), QByteArray());
    QCOMPARE(reader.readAllStandardOutput().trimmed(), fields);
}

void ToolLayoutsTest::upperNamesAndNumbersApplyAlike_data()
{
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<quint64>("flags");
    QTest::newRow("PixelBleed") << QByteArray("Wall|PixelBleed") << quint64(0x2000000010);
    QTest::newRow("Bit37, as dumps once wrote it") << QByteArray("Wall|Bit37") << quint64(0x2000000010);
    QTest::newRow("NoShadow and Bit36") << QByteArray("NoShadow|Bit36|Bit38") << quint64(0x5000000000);
}

// A dump written before bits 36 and 37 had names still applies.
void ToolLayoutsTest::upperNamesAndNumbersApplyAlike()
{
    QFETCH(QByteArray, names);
    QFETCH(quint64, flags);
    Writer file = Writer::Newer(3, 5);
    Writer::Item item = SomeItem(true);
    file.SetItem(7, item);
    file.WriteTo("named.mul");
    TestFiles::WriteBytes("edits.tsv", "index\tflagnames\n0x7\t" + names + "\n");
    QCOMPARE(QString::fromStdString(Tool({"apply", "named.mul", "edits.tsv"}).Errors), QString());
    item.Flags = flags;
    file.SetItem(7, item);
    QVERIFY(TestFiles::ReadBytes("named.mul") == file.Bytes());
}

void ToolLayoutsTest::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("edits");
    QTest::addColumn<QString>("error");
    const QStringList classic{"apply", "classic.mul", "edits.tsv"};
    const QStringList newer{"apply", "newer.mul", "edits.tsv"};
    QTest::newRow("upper flag name, classic") << classic << QByteArray("index\tflagnames\n0x7\tWall|Bit40\n")
                                              << "edits.tsv:2: flagnames: bit 40 does not exist in a 32-bit file";
    QTest::newRow("upper flag bit, classic") << classic << QByteArray("index\tflags\n0x7\t0000010000000010\n")
                                             << "edits.tsv:2: flags: bit 40 does not exist in a 32-bit file";
    QTest::newRow("upper land flag bit, classic")
        << classic + QStringList{"--land"} << QByteArray("index\tflags\n0x3\t100000000\n")
        << "edits.tsv:2: flags: bit 32 does not exist in a 32-bit file";
    QTest::newRow("index past the file's items") << newer << QByteArray("index\tweight\n0x60\t1\n")
                                                 << "edits.tsv:2: index: 0x60 is out of range 0x0-0x5F";
    QTest::newRow("index past the land tiles") << newer + QStringList{"--land"} << QByteArray("index\ttexture\n0x4000\t1\n")
                                               << "edits.tsv:2: index: 0x4000 is out of range 0x0-0x3FFF";
    QTest::newRow("item column in land edits") << newer + QStringList{"--land"} << QByteArray("index\tweight\n0x1\t1\n")
                                               << "edits.tsv:1: \"weight\" is not a column of the land dump";
    QTest::newRow("dump to the tile count") << QStringList{"dump", "newer.mul", "--tiles", "90-96"} << QByteArray()
                                            << "--tiles: \"90-96\" goes past the last tile, 0x5F";
    QTest::newRow("dump to the tile count, hexadecimal") << QStringList{"dump", "newer.mul", "--tiles", "0x60"}
                                                         << QByteArray() << "--tiles: \"0x60\" goes past the last tile, 0x5F";
    QTest::newRow("newer length, one byte more")
        << QStringList{"apply", "newer-plus.mul", "edits.tsv"} << QByteArray("index\tweight\n0x1\t1\n")
        << "newer-plus.mul is 3,188,737 bytes long, which fits neither layout exactly; give --layout classic or "
           "--layout newer to write to it";
    QTest::newRow("classic length, one byte more")
        << QStringList{"apply", "classic-plus.mul", "edits.tsv", "--dry-run"} << QByteArray("index\tweight\n0x1\t1\n")
        << "classic-plus.mul is 1,036,289 bytes long, which fits neither layout exactly; give --layout classic or "
           "--layout newer to write to it";
    QTest::newRow("newer file cut to the classic length")
        << QStringList{"apply", "newer-at-classic-length.mul", "edits.tsv"} << QByteArray("index\tweight\n0x1\t1\n")
        << "newer-at-classic-length.mul is 1,036,288 bytes long, the length of a classic file, but its names read "
           "as text in the newer layout; give --layout classic or --layout newer to write to it";
    QTest::newRow("8-digit flags onto a newer file, no layout column")
        << newer << QByteArray("index\tflags\n0x1\t00000010\n")
        << "edits.tsv:2: flags: 00000010 has only 8 digits and would clear bits 32 to 63 of this newer file; write "
           "all 16 digits (0000000000000010), or add a layout column saying newer";
    QTest::newRow("layout the length contradicts")
        << newer + QStringList{"--layout", "classic"} << QByteArray("index\tweight\n0x1\t1\n")
        << "newer.mul is 497,516 bytes long, the length of a newer file; --layout classic does not fit it";
    QTest::newRow("diff of two layouts")
        << QStringList{"diff", "classic.mul", "newer.mul"} << QByteArray()
        << "classic.mul and newer.mul have different layouts (16,383 tiles \u00B7 32-bit flags, 96 tiles \u00B7 "
           "64-bit flags); diff compares files of one layout";
    QTest::newRow("diff against a file that fits neither layout")
        << QStringList{"diff", "newer.mul", "newer-plus.mul"} << QByteArray()
        << "newer-plus.mul is 3,188,737 bytes long, which fits neither layout exactly; diff compares files of one "
           "layout";
    QTest::newRow("newer file cut to its land section")
        << QStringList{"dump", "newer-land.mul"} << QByteArray()
        << "newer-land.mul: the file is 493,568 bytes long: the land section of the newer layout, with no item "
           "tiles after it";
    QTest::newRow("newer file cut short, measured as newer")
        << QStringList{"dump", "newer-cut.mul"} << QByteArray()
        << "newer-cut.mul: the file is 500,000 bytes long; the 65,536 tile records need 3,188,736";
    QTest::newRow("short file whose names do not tell")
        << QStringList{"dump", "unnamed-cut.mul"} << QByteArray()
        << "unnamed-cut.mul: the file is 500,000 bytes long, too short for either layout, and its names do not tell "
           "the layouts apart: with --layout classic its 16,383 tile records need 1,036,251, with --layout newer its "
           "65,536 tile records need 3,188,736";
    QTest::newRow("short file, --layout newer")
        << QStringList{"apply", "unnamed-cut.mul", "edits.tsv", "--layout", "newer"} << QByteArray("index\tweight\n")
        << "unnamed-cut.mul: the file is 500,000 bytes long; the 65,536 tile records need 3,188,736";
    QTest::newRow("classic dump onto a newer file")
        << newer << QByteArray("index\tflags\tlayout\n0x1\t00000010\t\n0x2\t00000010\tclassic\n")
        << "edits.tsv:3: layout: this is a dump of a classic file (32-bit flags); it cannot be applied to a newer "
           "file (64-bit flags)";
    QTest::newRow("classic dump with the line dumps once began with")
        << newer << QByteArray("layout\tclassic\nindex\tweight\n0x1\t1\n")
        << "edits.tsv:1: layout: this is a dump of a classic file (32-bit flags); it cannot be applied to a newer "
           "file (64-bit flags)";
    QTest::newRow("newer dump as a spreadsheet saves it, onto a classic file")
        << classic << QByteArray("\"layout\"\tnewer\t\t\r\nindex\tweight\t\t\r\n0x1\t1\t\t\r\n")
        << "edits.tsv:1: layout: this is a dump of a newer file (64-bit flags); it cannot be applied to a classic "
           "file (32-bit flags)";
#ifndef _WIN32
    QTest::newRow("a pipe for the file") << QStringList{"apply", "fifo.mul", "edits.tsv"} << QByteArray()
                                         << "Cannot open file \"fifo.mul\". Not a regular file";
#endif
}

// One line on stderr, status 2, and no file changed.
void ToolLayoutsTest::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, edits);
    QFETCH(QString, error);
    TestFiles::WriteBytes("edits.tsv", edits);
    const ToolRun run = Tool(arguments);
    QCOMPARE(QString::fromStdString(run.Errors), "quorvane-tool: " + error + "\n");
    QCOMPARE(run.Status, 2);
    QCOMPARE(QString::fromStdString(run.Output), QString());
    for (const auto &[name, file] : FFiles)
        QVERIFY2(TestFiles::ReadBytes(name) == file.Bytes(), qPrintable(name));
}

void ToolLayoutsTest::lengthThatFitsNeitherLayout_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("readAs");
    QTest::addColumn<int>("groups"); // of the newer layout it is read in; 0: classic
    QTest::newRow("one byte more, as classic") << "newer-plus.mul" << "classic"
                                               << "classic layout (16,383 tiles \u00B7 32-bit flags)" << 0;
    QTest::newRow("one byte more, as newer") << "newer-plus.mul" << "newer"
                                             << "newer layout (65,536 tiles \u00B7 64-bit flags)" << 2048;
    QTest::newRow("one byte less, as newer") << "newer-minus.mul" << "newer"
                                             << "newer layout (65,504 tiles \u00B7 64-bit flags)" << 2047;
    QTest::newRow("newer names at the classic length") << "newer-at-classic-length.mul" << "newer"
                                                       << "newer layout (13,184 tiles \u00B7 64-bit flags)" << 412;
}

// The tool says on stderr how it reads such a file, and with --layout
// writes where that layout puts the field.
void ToolLayoutsTest::lengthThatFitsNeitherLayout()
{
    QFETCH(QString, file);
    QFETCH(QString, layout);
    QFETCH(QString, readAs);
    QFETCH(int, groups);
    const bool exact = FFiles.at(file).Bytes().size() == Writer::ClassicFileSize;
    const QString warning = QString("quorvane-tool: %1 is %2 bytes long, %3; it is read as the %4\n")
                                .arg(file, QLocale(QLocale::English).toString(qlonglong(FFiles.at(file).Bytes().size())),
                                     exact ? "the length of a classic file, but its names read as text in the newer "
                                             "layout"
                                           : "which fits neither layout exactly",
                                     readAs);
    const ToolRun plain = Tool({"dump", file, "--tiles", "0"});
    QVERIFY(QString::fromStdString(plain.Errors).endsWith("classic layout (16,383 tiles \u00B7 32-bit flags)\n"));
    const ToolRun dump = Tool({"dump", file, "--tiles", "0", "--layout", layout});
    QCOMPARE(QString::fromStdString(dump.Errors), warning);
    QCOMPARE(dump.Output.find('\t', dump.Output.find("0x0\t") + 4) - dump.Output.find("0x0\t") - 4,
             std::size_t(groups > 0 ? 16 : 8));

    TestFiles::WriteBytes("edits.tsv", QByteArray("index\tweight\n0x1F\t7\n"));
    const ToolRun apply = Tool({"apply", file, "edits.tsv", "--layout", layout});
    QCOMPARE(apply.Status, 0);
    QCOMPARE(QString::fromStdString(apply.Errors), warning);
    std::vector<unsigned char> expected = FFiles.at(file).Bytes();
    const Writer shape = groups > 0 ? Writer::Newer(groups) : Writer::Classic();
    expected[shape.ItemOffset(0x1F) + std::size_t(shape.FlagBytes())] = 7;
    QVERIFY(TestFiles::ReadBytes(file) == expected);
    FFiles.at(file).WriteTo(file);
}

void ToolLayoutsTest::diffReportsBothSections_data()
{
    QTest::addColumn<bool>("newer");
    QTest::addColumn<QString>("output");
    const QString item = "0x5\t\"a name of twenty b\u00E9s\" -> \"a name of twenty b\u00E9s\"\tweight: 1 -> 2\n";
    QTest::newRow("classic") << false
                             << item + "land 0x3\t\"grass and more grass\" -> \"grass and more grass\"\tflags: 00000041 -> "
                                       "00000001 (-Impassable)\ttexture: 3 -> 4\n"
                                       "byte %1 differs outside the records\n2 tiles differ\n";
    QTest::newRow("newer") << true
                           << item + "land 0x3\t\"grass and more grass\" -> \"grass and more grass\"\tflags: "
                                     "0000000100000041 -> 0000000000000041 (-Bit32)\ttexture: 3 -> 4\n"
                                     "byte %1 differs outside the records\n2 tiles differ\n";
}

// Item lines, then land lines after "land ", then bytes outside the
// records; a change in either section makes the status 1.
void ToolLayoutsTest::diffReportsBothSections()
{
    QFETCH(bool, newer);
    QFETCH(QString, output);
    Writer file = newer ? Writer::Newer(3, 8) : Writer::Classic(8);
    file.SetItem(5, SomeItem(newer));
    file.SetLand(3, SomeLand(newer));
    file.WriteTo("a.mul");
    Writer::Item item = SomeItem(newer);
    item.Weight = 2;
    file.SetItem(5, item);
    Writer::Land land = SomeLand(newer);
    land.Texture = 4;
    land.Flags = newer ? 0x41 : 0x01;
    file.SetLand(3, land);
    // The header of the land group of tiles 0x20 to 0x3F.
    file.Bytes()[newer ? 4 + 32 * 30 : 4 + 32 * 26] ^= 1;
    file.WriteTo("b.mul");
    const QString header = QString::number(newer ? 4 + 32 * 30 : 4 + 32 * 26, 16).toUpper();
    const ToolRun run = Tool({"diff", "a.mul", "b.mul"});
    QCOMPARE(QString::fromStdString(run.Output), output.arg("0x" + header));
    QCOMPARE(run.Status, 1);
}

void ToolLayoutsTest::diffKeepsGroupEdgesInTheRecords_data()
{
    QTest::addColumn<bool>("newer");
    QTest::addColumn<bool>("land");
    QTest::addColumn<int>("tile");
    for (const bool newer : {false, true}) {
        for (const bool land : {false, true}) {
            for (const int tile : {0x20, 0x3F})
                QTest::addRow("%s %s 0x%X", newer ? "newer" : "classic", land ? "land" : "item", tile)
                    << newer << land << tile;
        }
    }
}

// A group's first record begins right after its header, and its last
// record ends right before the next one: a change to the first and the last
// byte of either is a change to the tile and to no byte outside the records.
void ToolLayoutsTest::diffKeepsGroupEdgesInTheRecords()
{
    QFETCH(bool, newer);
    QFETCH(bool, land);
    QFETCH(int, tile);
    Writer file = newer ? Writer::Newer(3, 10) : Writer::Classic(10);
    file.WriteTo("a.mul");
    const std::size_t first = land ? file.LandOffset(tile) : file.ItemOffset(tile);
    file.Bytes()[first] ^= 1;
    file.Bytes()[first + std::size_t(file.FlagBytes()) + (land ? 21 : 32)] ^= 1;
    file.WriteTo("b.mul");
    const QString output = QString::fromStdString(Tool({"diff", "a.mul", "b.mul"}).Output);
    const QString line = QString(land ? "land 0x%1\t" : "0x%1\t").arg(QString::number(tile, 16).toUpper());
    QVERIFY2(output.startsWith(line) && output.endsWith("\n1 tile differs\n") && output.count('\n') == 2,
             qPrintable(output));
}

void ToolLayoutsTest::wholeDumpNamesTheLayout_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("flagBits");
    QTest::addColumn<int>("items");
    QTest::newRow("classic") << "classic.mul" << "classic" << 32 << 16383;
    QTest::newRow("newer") << "newer.mul" << "newer" << 64 << 96;
}

// --all: both sections, in TSV one table after the other, in JSON under an
// object that names the layout.
void ToolLayoutsTest::wholeDumpNamesTheLayout()
{
    QFETCH(QString, file);
    QFETCH(QString, layout);
    QFETCH(int, flagBits);
    QFETCH(int, items);
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(
                                                         Tool({"dump", file, "--all", "--format", "json"}).Output))
                                 .object();
    QCOMPARE(json["layout"].toString(), layout);
    QCOMPARE(json["flagbits"].toInt(), flagBits);
    QCOMPARE(json["itemtiles"].toInt(), items);
    QCOMPARE(json["landtiles"].toInt(), 16384);
    QCOMPARE(int(json["items"].toArray().size()), items);
    QCOMPARE(int(json["land"].toArray().size()), 16384);
    QCOMPARE(json["land"].toArray().last().toObject()["index"].toString(), QString("0x3FFF"));

    const QList<QByteArray> lines = QByteArray::fromStdString(Tool({"dump", file, "--all"}).Output).split('\n');
    QCOMPARE(int(lines.size()), 1 + items + 1 + 1 + 16384 + 1);
    QVERIFY(lines[0].endsWith("\tname\tlayout"));
    QVERIFY(lines[items].endsWith("\t" + layout.toUtf8()));
    QCOMPARE(lines[items + 1], QByteArray());
    QCOMPARE(lines[items + 2], QByteArray("index\tflags\tflagnames\ttexture\tname\tlayout"));
    QVERIFY(lines[items + 2 + 16384].endsWith("\t" + layout.toUtf8()));
}

void ToolLayoutsTest::bytesAfterNamesInBothSections_data()
{
    BothLayouts();
}

// Bytes after a name's zero count in land records as in item records: diff
// notes them, and dump --all --raw-names shows them in both tables and in
// each JSON tile object.
void ToolLayoutsTest::bytesAfterNamesInBothSections()
{
    QFETCH(bool, newer);
    Writer file = newer ? Writer::Newer(3, 9) : Writer::Classic(9);
    for (const int tile : {2, 3}) {
        file.SetItem(tile, SomeItem(newer));
        file.SetLand(tile, SomeLand(newer));
    }
    file.SetRawItemName(2, std::string("nodraw\0wall", 11) + std::string(9, '\0'));
    file.SetRawLandName(3, std::string("grass\0old", 9) + std::string(11, '\0'));
    file.WriteTo("a.mul");
    file.SetRawItemName(2, std::string("nodraw\0wxll", 11) + std::string(9, '\0'));
    file.SetRawLandName(3, std::string("grass\0new", 9) + std::string(11, '\0'));
    file.WriteTo("b.mul");

    const ToolRun diff = Tool({"diff", "a.mul", "b.mul"});
    QCOMPARE(QString::fromStdString(diff.Output), QString("0x2: name bytes after the end differ\n"
                                                          "land 0x3: name bytes after the end differ\n"
                                                          "2 tiles differ\n"));
    QCOMPARE(diff.Status, 1);

    const QList<QByteArray> lines
        = QByteArray::fromStdString(Tool({"dump", "b.mul", "--all", "--raw-names", "--tiles", "2-3"}).Output).split('\n');
    const QByteArray layout = newer ? "\tnewer" : "\tclassic";
    QCOMPARE(int(lines.size()), 8);
    QVERIFY(lines[0].endsWith("\tname\trawname\tlayout"));
    QVERIFY(lines[1].endsWith("\tnodraw\tnodraw\\x00wxll" + layout));
    QVERIFY(lines[2].endsWith("\t" + layout));
    QCOMPARE(lines[4], QByteArray("index\tflags\tflagnames\ttexture\tname\trawname\tlayout"));
    QVERIFY(lines[5].endsWith("\tgrass and more grass\t" + layout));
    QVERIFY(lines[6].endsWith("\tgrass\tgrass\\x00new" + layout));

    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(
                                                         Tool({"dump", "b.mul", "--all", "--raw-names", "--format",
                                                               "json", "--tiles", "2-3"})
                                                             .Output))
                                 .object();
    QCOMPARE(json["items"].toArray()[0].toObject()["rawname"].toString(), QString("nodraw") + QChar(0) + "wxll");
    QVERIFY(!json["items"].toArray()[1].toObject().contains("rawname"));
    QCOMPARE(json["land"].toArray()[1].toObject()["rawname"].toString(), QString("grass") + QChar(0) + "new");
}

QTEST_GUILESS_MAIN(ToolLayoutsTest)
#include "tst_toollayouts.moc"
