#include "tests/support/TestFiles.h"
#include "tests/support/TileDataWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifndef _WIN32
#include <unistd.h>
#endif

// quorvane-tool as its users run it: a process with arguments, output,
// error text and an exit status.
class QuorvaneToolTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;

    struct Run
    {
        int Status = -1;
        QByteArray Out;
        QByteArray Err;
    };

    Run Tool(const QStringList &Arguments)
    {
        QProcess process;
        process.setWorkingDirectory(FDir.path());
        process.start(QUORVANE_TOOL, Arguments);
        Run run;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return run;
        run.Status = process.exitCode();
        run.Out = process.readAllStandardOutput();
        run.Err = process.readAllStandardError();
        return run;
    }

    // Writes Text and applies it to File; fails the test unless it succeeds.
    void Apply(const QString &File, const QByteArray &Text, const QStringList &Extra = {})
    {
        TestFiles::WriteBytes(FDir.filePath("edits.tsv"), Text);
        const Run run = Tool(QStringList{"apply", File, "edits.tsv"} + Extra);
        QVERIFY2(run.Status == 0, run.Err.constData());
    }

    QString Path(const QString &Name) { return FDir.filePath(Name); }

    static std::vector<unsigned char> OutsideRecords(const std::vector<unsigned char> &Bytes)
    {
        std::vector<unsigned char> outside;
        for (std::size_t at = 0; at < Bytes.size(); ++at) {
            if (!TileDataWriter::IsRecordByte(at))
                outside.push_back(Bytes[at]);
        }
        return outside;
    }

private slots:
    void roundTrip_data();
    void roundTrip();
    void namesKeepEveryByte();
    void applyErrorLeavesFileUntouched_data();
    void applyErrorLeavesFileUntouched();
    void applyWritesOnlyWhatChanges();
    void applyInAFolderOutsideTheCodePage();
    void diffReportsTilesAndOutsideBytes();
    void applyWhileAnotherProcessHasTheFileOpen_data();
    void applyWhileAnotherProcessHasTheFileOpen();
    void applyPastTheFileSizeLimitChangesNothing();
    void badFilesAndArguments_data();
    void badFilesAndArguments();
    void outputThatCannotBeWritten_data();
    void outputThatCannotBeWritten();
    void demoWriterKnowsItsOptions_data();
    void demoWriterKnowsItsOptions();
    void demoWriterKeepsFilesThere_data();
    void demoWriterKeepsFilesThere();
};

void QuorvaneToolTest::roundTrip_data()
{
    QTest::addColumn<bool>("demo");
    QTest::newRow("random records") << false;
    QTest::newRow("demo set") << true;
}

// dump, then apply of that dump, is byte-identical on the same file and
// turns any other file's records into the dumped ones.
void QuorvaneToolTest::roundTrip()
{
    QFETCH(bool, demo);
    const QString source = Path("source.mul");
    if (demo) {
        QCOMPARE(QProcess::execute(QUORVANE_DEMO, {Path("demo")}), 0);
        QFile::remove(source);
        QVERIFY(QFile::copy(Path("demo/tiledata.mul"), source));
    } else {
        TileDataWriter writer(5);
        writer.RandomizeRecords();
        writer.WriteTo(source);
    }
    const std::vector<unsigned char> before = TestFiles::ReadBytes(source);
    const Run dump = Tool({"dump", "source.mul"});
    QCOMPARE(dump.Status, 0);
    QCOMPARE(dump.Out.count('\n'), 16384);
    QCOMPARE(Tool({"dump", "source.mul"}).Out, dump.Out);

    Apply("source.mul", dump.Out);
    QVERIFY(TestFiles::ReadBytes(source) == before);

    TileDataWriter other(77);
    other.RandomizeRecords();
    other.WriteTo(Path("other.mul"));
    Apply("other.mul", dump.Out);
    QCOMPARE(Tool({"dump", "other.mul"}).Out, dump.Out);
    QVERIFY(OutsideRecords(TestFiles::ReadBytes(Path("other.mul"))) == OutsideRecords(other.Bytes()));

    // The JSON form carries the same fields.
    const QJsonArray tiles = QJsonDocument::fromJson(Tool({"dump", "source.mul", "--format", "json"}).Out)["items"].toArray();
    QCOMPARE(int(tiles.size()), 16383);
    TileDataWriter file;
    file.Bytes() = before;
    for (const int tile : {0, 0x2A, 0x3FFE}) {
        const TileDataWriter::Record record = file.ReadRecord(tile);
        const QJsonObject object = tiles[tile].toObject();
        QCOMPARE(object["name"].toString(), QString::fromLatin1(record.Name.c_str()));
        QCOMPARE(object["weight"].toInt(), int(record.Weight));
        QCOMPARE(object["flags"].toString().toUInt(nullptr, 16), record.Flags);
        QCOMPARE(int(object["flagnames"].toArray().size()), int(qPopulationCount(record.Flags)));
    }

    // A range and named tiles only: the same lines as the whole dump.
    const QList<QByteArray> lines = dump.Out.split('\n');
    QByteArray named = lines[0] + '\n';
    for (int tile = 0x20; tile <= 0x40; ++tile) {
        if (!file.ReadRecord(tile).Name.empty())
            named += lines[tile + 1] + '\n';
    }
    QCOMPARE(Tool({"dump", "source.mul", "--tiles", "0x20-0x40", "--named"}).Out, named);
}

// Names holding every byte value from 1 to 255 come out as one line per
// tile and go back in as the same bytes.
void QuorvaneToolTest::namesKeepEveryByte()
{
    TileDataWriter writer(9);
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += char(b);
    all.resize(260, '\0');
    for (int tile = 0; tile < 13; ++tile)
        writer.SetRawName(tile, all.substr(std::size_t(tile) * 20, 20));
    writer.WriteTo(Path("names.mul"));
    const Run dump = Tool({"dump", "names.mul", "--tiles", "0x0-0xC"});
    QCOMPARE(dump.Status, 0);
    QCOMPARE(dump.Out.count('\n'), 14);
    QCOMPARE(dump.Out.count('\t'), 14 * 15);
    const QString text = QString::fromUtf8(dump.Out);
    for (const char *expected : {"\\x01\\x02", "\\x08\\t\\n\\x0B", "\\x1F !", "[\\\\]", "~\\x7F\u20AC\\x81\u201A",
                                 "\\x9D\u017E\u0178\u00A0", "\u00FE\u00FF\tclassic\n"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);

    TileDataWriter blank(10);
    blank.WriteTo(Path("blank.mul"));
    Apply("blank.mul", dump.Out);
    TileDataWriter result;
    result.Bytes() = TestFiles::ReadBytes(Path("blank.mul"));
    for (int tile = 0; tile < 13; ++tile)
        QCOMPARE(result.ReadRecord(tile).Name, writer.ReadRecord(tile).Name);

    const QJsonArray json =
        QJsonDocument::fromJson(Tool({"dump", "names.mul", "--tiles", "6", "--format=json"}).Out)["items"].toArray();
    const QString name6 = json[0].toObject()["name"].toString(); // bytes 121 to 140
    QCOMPARE(name6.size(), 20);
    QCOMPARE(name6[128 - 121], QChar(0x20AC));
    QCOMPARE(name6[129 - 121], QChar(0x81));
}

void QuorvaneToolTest::applyErrorLeavesFileUntouched_data()
{
    QTest::addColumn<QByteArray>("edits");
    QTest::addColumn<QString>("message");
    const QByteArray head = "index\tweight\tunknown0\tanim\tflags\tname\n0x1\t5\t0\t0000\t0\tfine\n";
    const auto row = [&](const char *tag, const QByteArray &line, const char *message) {
        QTest::newRow(tag) << head + line << QString::fromUtf8(message);
    };
    row("byte field", "0x2\t300\t0\t0\t0\tx\n", "edits.tsv:3: weight: 300 is out of range 0-255");
    row("negative", "0x2\t-1\t0\t0\t0\tx\n", "edits.tsv:3: weight: -1 is out of range 0-255");
    row("word field", "0x2\t1\t70000\t0\t0\tx\n", "edits.tsv:3: unknown0: 70000 is out of range 0-65535");
    row("anim", "0x2\t1\t0\t10000\t0\tx\n", "edits.tsv:3: anim: 10000 is out of range 0-FFFF");
    row("flags", "0x2\t1\t0\t0\t123456789\tx\n", "edits.tsv:3: flags: bit 32 does not exist in a 32-bit file");
    row("flags past 64 bits", "0x2\t1\t0\t0\t10000000000000000\tx\n",
        "edits.tsv:3: flags: 10000000000000000 is out of range 0-FFFFFFFFFFFFFFFF");
    row("not a number", "0x2\t1 \t0\t0\t0\tx\n", "edits.tsv:3: weight: \"1 \" is not a decimal number");
    row("long name", "0x2\t1\t0\t0\t0\tabcdefghijklmnopqrstu\n",
        "edits.tsv:3: name: \"abcdefghijklmnopqrstu\" is longer than the 20 bytes of a name");
    row("escape counts one byte", "0x2\t1\t0\t0\t0\tabcdefghijklmnopqrs\\t\\n\n",
        "edits.tsv:3: name: \"abcdefghijklmnopqrs\\t\\n\" is longer than the 20 bytes of a name");
    row("outside the code page", "0x2\t1\t0\t0\t0\ta\xE5\x90\x8D\n",
        "edits.tsv:3: name: U+540D is not a Windows-1252 character");
    row("bad escape", "0x2\t1\t0\t0\t0\ta\\q\n",
        "edits.tsv:3: name: \"\\q\" is not an escape (\\t, \\n, \\\\ or \\xNN)");
    row("zero byte", "0x2\t1\t0\t0\t0\ta\\x00\n", "edits.tsv:3: name: a name cannot hold a zero byte");
    row("bad UTF-8", "0x2\t1\t0\t0\t0\ta\xC3(\n", "edits.tsv:3: name: not valid UTF-8");
    row("index range", "0x3FFF\t1\t0\t0\t0\tx\n", "edits.tsv:3: index: 0x3FFF is out of range 0x0-0x3FFE");
    row("index form", "12\t1\t0\t0\t0\tx\n", "edits.tsv:3: index: \"12\" is not a tile index such as 0x1A");
    row("tile twice", "0x1\t1\t0\t0\t0\tx\n", "edits.tsv:3: index: tile 0x1 is already edited on line 2");
    row("cell count", "0x2\t1\n", "edits.tsv:3: the line has 2 cells, the header 6");
    QTest::newRow("unknown column") << QByteArray("index\tweigth\n0x1\t2\n")
                                    << "edits.tsv:1: \"weigth\" is not a column of the dump";
    QTest::newRow("no index") << QByteArray("weight\n2\n") << "edits.tsv:1: there is no index column";
    QTest::newRow("flag name") << QByteArray("index\tflagnames\n0x1\tWall|Wal\n")
                               << "edits.tsv:2: flagnames: \"Wal\" is not the name of a flag";
    QTest::newRow("flag columns disagree")
        << QByteArray("index\tflags\tflagnames\n0x1\t00000010\tWall|Door\n")
        << "edits.tsv:2: flagnames: 20000010 is not the flags column's 00000010; keep only the column you edit";
    QTest::newRow("empty file") << QByteArray()
                                << "edits.tsv:1: no header line; the first line names the columns, such as "
                                   "index<TAB>weight";
}

void QuorvaneToolTest::applyErrorLeavesFileUntouched()
{
    QFETCH(QByteArray, edits);
    QFETCH(QString, message);
    TileDataWriter writer(21);
    writer.RandomizeRecords();
    writer.WriteTo(Path("target.mul"));
    TestFiles::WriteBytes(Path("edits.tsv"), edits);
    const Run run = Tool({"apply", "target.mul", "edits.tsv"});
    QCOMPARE(run.Status, 2);
    QCOMPARE(QString::fromUtf8(run.Err), "quorvane-tool: " + message + "\n");
    QVERIFY(run.Out.isEmpty());
    QVERIFY(TestFiles::ReadBytes(Path("target.mul")) == writer.Bytes());
}

// Columns in any order and subset; a value equal to the tile's own is not
// rewritten, so the bytes after a name's zero stay; --dry-run writes nothing.
void QuorvaneToolTest::applyWritesOnlyWhatChanges()
{
    TileDataWriter writer(33);
    writer.RandomizeRecords();
    writer.WriteTo(Path("edit.mul"));
    const std::string keptName = writer.ReadRecord(6).Name;
    const QByteArray edits = "name\tflagnames\tindex\n\\\\new\\tname\tWall|Door\t0x5\n" + QByteArray::fromStdString(keptName)
                             + "\tWall\t0x6\n";
    TileDataWriter::Record record6 = writer.ReadRecord(6);
    TestFiles::WriteBytes(Path("edits.tsv"), edits);

    const Run dry = Tool({"apply", "edit.mul", "edits.tsv", "--dry-run"});
    QCOMPARE(dry.Status, 0);
    QVERIFY(dry.Out.startsWith("0x5\t\""));
    QVERIFY(dry.Out.endsWith("2 tiles would change\n"));
    QVERIFY(TestFiles::ReadBytes(Path("edit.mul")) == writer.Bytes());

    QCOMPARE(Tool({"apply", "edit.mul", "edits.tsv"}).Out, QByteArray("2 tiles changed\n"));
    TileDataWriter::Record record5 = writer.ReadRecord(5);
    record5.Flags = 0x20000010;
    record5.Name = "\\new\tname";
    writer.SetRecord(5, record5);
    TestFiles::PutU32(writer.Bytes(), TileDataWriter::OffsetOf(6), 0x10); // only the flags of tile 6
    QVERIFY(TestFiles::ReadBytes(Path("edit.mul")) == writer.Bytes());
    QCOMPARE(writer.ReadRecord(6).Name, record6.Name);
}

// A Windows user's folder names reach the files whole, whatever the ANSI
// code page can write.
void QuorvaneToolTest::applyInAFolderOutsideTheCodePage()
{
    const QString folder = Path(QStringLiteral("Spiele Tools ä/Ωμέγα/"));
    QVERIFY(QDir().mkpath(folder));
    TileDataWriter writer(9);
    writer.WriteTo(folder + "tiledata.mul");
    TestFiles::WriteBytes(folder + QStringLiteral("Änderungen.tsv"), "index\tname\n0x3\tnew name\n");
    const Run run = Tool({"apply", folder + "tiledata.mul", folder + QStringLiteral("Änderungen.tsv")});
    QCOMPARE(run.Out, QByteArray("1 tile changed\n"));
    TileDataWriter::Record record = writer.ReadRecord(3);
    record.Name = "new name";
    writer.SetRecord(3, record);
    QVERIFY(TestFiles::ReadBytes(folder + "tiledata.mul") == writer.Bytes());
}

void QuorvaneToolTest::diffReportsTilesAndOutsideBytes()
{
    TileDataWriter writer(41);
    writer.RandomizeRecords();
    writer.WriteTo(Path("a.mul"));
    writer.WriteTo(Path("b.mul"));
    QCOMPARE(Tool({"diff", "a.mul", "b.mul"}).Status, 0);
    QCOMPARE(Tool({"diff", "a.mul", "b.mul"}).Out, QByteArray("0 tiles differ\n"));

    const TileDataWriter::Record record = writer.ReadRecord(3);
    const QByteArray name = QByteArray::fromStdString(record.Name);
    const int weight = record.Weight;
    // The weight byte alone: SetRecord would clear the name's leftovers too.
    writer.Bytes()[TileDataWriter::OffsetOf(3) + 4] ^= 1;
    writer.Bytes()[429220] ^= 0xFF; // the header of group 1
    writer.Bytes()[429221] ^= 0xFF;
    writer.Bytes().back() ^= 0xFF;
    writer.Bytes().push_back(0);
    writer.WriteTo(Path("b.mul"));

    const Run run = Tool({"diff", "a.mul", "b.mul"});
    QCOMPARE(run.Status, 1);
    const QString expected = QString("0x3\t\"%1\" -> \"%1\"\tweight: %2 -> %3\n"
                                     "bytes 0x68CA4-0x68CA5 differ outside the records\n"
                                     "bytes 0xFCFFF-0xFD000 differ outside the records\n"
                                     "length: 1036288 -> 1036289 bytes\n"
                                     "1 tile differs\n")
                                 .arg(QString::fromLatin1(name))
                                 .arg(weight)
                                 .arg(weight ^ 1);
    QCOMPARE(QString::fromUtf8(run.Out), expected);
    // The last record cut off: no tile is compared there, the length differs.
    writer.Bytes().resize(1036288 - 37);
    writer.WriteTo(Path("b.mul"));
    QCOMPARE(Tool({"diff", "a.mul", "b.mul"}).Status, 1);
    QCOMPARE(Tool({"diff", "a.mul", "missing.mul"}).Status, 2);
}

void QuorvaneToolTest::applyWhileAnotherProcessHasTheFileOpen_data()
{
    QTest::addColumn<bool>("writer");
    // A reader that lets go while the apply waits for the file: on Windows
    // one that wants the file to itself, elsewhere a shell that reads it.
    QTest::newRow("a reader for 0.2 s") << false;
    QTest::newRow("a writer that stays") << true;
}

void QuorvaneToolTest::applyWhileAnotherProcessHasTheFileOpen()
{
    QFETCH(bool, writer);
#ifdef _WIN32
    // Under wine the holder lets go of the file well after the half second
    // the apply waits for it, so the reader's row tells nothing there.
    if (!writer)
        QSKIP("a holder's release is too slow under wine to time");
#endif
    TileDataWriter file(51);
    file.WriteTo(Path("held.mul"));
    TestFiles::WriteBytes(Path("edits.tsv"), QByteArray("index\tname\n0x7\theld\n"));
    QProcess holder;
#ifdef _WIN32
    holder.start(SHARE_HOLDER, {writer ? "write" : "none", Path("held.mul")});
#else
    holder.start("sh", {"-c", writer ? "exec 3>>\"$1\"; echo held; exec cat" : "exec 3<\"$1\"; echo held; exec cat",
                        "sh", Path("held.mul")});
#endif
    QVERIFY(holder.waitForReadyRead(10000));
    QProcess apply;
    apply.setWorkingDirectory(FDir.path());
    apply.start(QUORVANE_TOOL, {"apply", "held.mul", "edits.tsv"});
    QVERIFY(apply.waitForStarted(10000));
    if (!writer) {
        QTest::qSleep(200);
        holder.closeWriteChannel();
    }
    QVERIFY(apply.waitForFinished(60000));
    QCOMPARE(QString::fromUtf8(apply.readAllStandardError()),
             writer ? QString("quorvane-tool: Cannot open file \"held.mul\". The file is in use by another process\n")
                    : QString());
    QCOMPARE(apply.exitCode(), writer ? 2 : 0);

    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(10000));
    if (writer) {
        QVERIFY(TestFiles::ReadBytes(Path("held.mul")) == file.Bytes());
        QCOMPARE(Tool({"apply", "held.mul", "edits.tsv"}).Status, 0);
    }
    TileDataWriter::Record expected = file.ReadRecord(7);
    expected.Name = "held";
    file.SetRecord(7, expected);
    QVERIFY(TestFiles::ReadBytes(Path("held.mul")) == file.Bytes());
}

// A write past the process's file-size limit fails like any other: the
// tool says so and the file keeps every old byte (the system would
// otherwise end it halfway with SIGXFSZ).
void QuorvaneToolTest::applyPastTheFileSizeLimitChangesNothing()
{
#ifdef _WIN32
    QSKIP("Windows has no file-size limit");
#else
    TileDataWriter file(52);
    file.RandomizeRecords();
    file.WriteTo(Path("limited.mul"));
    // The first tile lies below the limit of 431 KiB, the last one above it.
    TestFiles::WriteBytes(Path("edits.tsv"), QByteArray("index\tname\n0x0\tbelow\n0x3FFE\tabove\n"));
    QVERIFY(TileDataWriter::OffsetOf(0) < 431 * 1024 && TileDataWriter::OffsetOf(0x3FFE) > 431 * 1024);
    QProcess apply;
    apply.setWorkingDirectory(FDir.path());
    apply.start("bash", {"-c", "ulimit -f 431 && exec \"$0\" apply limited.mul edits.tsv", QUORVANE_TOOL});
    QVERIFY(apply.waitForFinished(60000));
    QCOMPARE(apply.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(apply.readAllStandardError()),
             QString("quorvane-tool: limited.mul: File too large; nothing was changed\n"));
    QCOMPARE(apply.exitCode(), 2);
    QVERIFY(TestFiles::ReadBytes(Path("limited.mul")) == file.Bytes());
#endif
}

void QuorvaneToolTest::badFilesAndArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<bool>("usage");
    // The reason after a failed open is the system's own text.
    QTest::newRow("missing") << QStringList{"dump", "missing.mul"} << "Cannot open file \"missing.mul\". " << false;
    QTest::newRow("directory") << QStringList{"dump", "."} << "Cannot open file \".\". " << false;
    QTest::newRow("short") << QStringList{"dump", "short.mul"}
                           << "short.mul: the file is 1,036,250 bytes long, too short for either layout"
                           << false;
    QTest::newRow("apply onto a short file") << QStringList{"apply", "short.mul", "none.tsv"}
                                   << "short.mul: the file is 1,036,250 bytes long, too short for either layout"
                                   << false;
    QTest::newRow("no command") << QStringList{} << "no command given" << true;
    QTest::newRow("unknown command") << QStringList{"show", "x"} << "\"show\" is not a command" << true;
    QTest::newRow("one file for diff") << QStringList{"diff", "a.mul"} << "this command takes 2 file names, not 1"
                                       << true;
    QTest::newRow("format") << QStringList{"dump", "a.mul", "--format", "xml"}
                            << "--format: \"xml\" is not a format (tsv or json)" << true;
    QTest::newRow("tiles backwards") << QStringList{"dump", "a.mul", "--tiles=0x20-0x10"}
                                     << "--tiles: \"0x20-0x10\" runs backwards" << true;
    QTest::newRow("tiles below zero") << QStringList{"dump", "a.mul", "--tiles=-5"}
                                      << "--tiles: \"-5\" is not a tile or a range of tiles such as 0x10-0x1F or "
                                         "16-31 (no tile number is below 0)"
                                      << true;
    QTest::newRow("option of another command") << QStringList{"diff", "a.mul", "b.mul", "--named"}
                                               << "\"--named\" is not an option of this command" << true;
    QTest::newRow("more after --version") << QStringList{"--version", "--bogus"} << "--version takes no arguments"
                                          << true;
}

// One line on standard error (it starts with firstLine) and status 2;
// wrong arguments add a usage line.
void QuorvaneToolTest::badFilesAndArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, firstLine);
    QFETCH(bool, usage);
    TileDataWriter(3, TileDataWriter::RecordsEnd - 1).WriteTo(Path("short.mul"));
    const Run run = Tool(arguments);
    QCOMPARE(run.Status, 2);
    const QStringList lines = QString::fromUtf8(run.Err).split('\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.value(0).startsWith("quorvane-tool: " + firstLine), qPrintable(lines.value(0)));
    QCOMPARE(lines.size(), usage ? 2 : 1);
    if (usage)
        QVERIFY(lines[1].startsWith("usage: quorvane-tool"));
    QVERIFY(run.Out.isEmpty());
}

void QuorvaneToolTest::demoWriterKnowsItsOptions_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("--help") << "--help" << 0 << "usage: quorvane-demo";
    QTest::newRow("mistyped") << "--nwer" << 2 << "quorvane-demo: \"--nwer\" is not an option";
}

// An option, known or not, never becomes the folder the demo set goes to.
void QuorvaneToolTest::demoWriterKnowsItsOptions()
{
    QFETCH(QString, option);
    QFETCH(int, status);
    QFETCH(QString, firstLine);
    QProcess process;
    process.setWorkingDirectory(FDir.path());
    process.start(QUORVANE_DEMO, {option});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), status);
    const QByteArray text = status == 0 ? process.readAllStandardOutput() : process.readAllStandardError();
    QVERIFY2(text.startsWith(firstLine.toUtf8()), text.constData());
    QVERIFY(!QFileInfo::exists(Path(option)));
}

void QuorvaneToolTest::demoWriterKeepsFilesThere_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("there"); // a file of the user's, already in the folder
    QTest::newRow("classic set over hues.mul") << QStringList{} << "hues.mul";
    QTest::newRow("newer set over the packed art") << QStringList{"--newer"} << "artLegacyMUL.uop";
    QTest::newRow("--force") << QStringList{"--force"} << "hues.mul";
}

// A folder holding any file the demo set would write gets none of them,
// and the refusal names the file; --force writes over it.
void QuorvaneToolTest::demoWriterKeepsFilesThere()
{
    QFETCH(QStringList, options);
    QFETCH(QString, there);
    const QString folder = Path("own-" + QString(QTest::currentDataTag()).left(3));
    QVERIFY(QDir().mkpath(folder));
    TestFiles::WriteBytes(folder + "/" + there, QByteArray("the user's own"));
    QProcess process;
    process.start(QUORVANE_DEMO, options + QStringList{folder});
    QVERIFY(process.waitForFinished(60000));
    const bool force = options.contains("--force");
    QCOMPARE(process.exitCode(), force ? 0 : 1);
    QCOMPARE(TestFiles::ReadBytes(folder + "/" + there).size() == 14, !force);
    QCOMPARE(QFileInfo::exists(folder + "/tiledata.mul"), force);
    if (!force)
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()).replace("\r\n", "\n"),
                 "quorvane-demo: " + QDir::toNativeSeparators(folder + "/" + there)
                     + " exists already; nothing was written (--force overwrites the demo files)\n");
}

void QuorvaneToolTest::outputThatCannotBeWritten_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("closedPipe"); // else a full device
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    const QStringList apply{"apply", "target.mul", "edits.tsv"};
    const QString saved = "quorvane-tool: warning: target.mul holds the edits, but the report of them cannot be written\n";
    QTest::newRow("dump onto a full device") << QStringList{"dump", "target.mul"} << false << 2
                                             << "quorvane-tool: cannot write the output: No space left on device\n";
    QTest::newRow("apply onto a full device") << apply << false << 0 << saved;
    QTest::newRow("apply into a closed pipe") << apply << true << 0 << saved;
}

// A cut-off dump is a failure; apply's status says whether the file
// changed, whatever becomes of its report.
void QuorvaneToolTest::outputThatCannotBeWritten()
{
#ifdef _WIN32
    QSKIP("/dev/full and a pipe closed before the start are POSIX set-ups");
#else
    QFETCH(QStringList, arguments);
    QFETCH(bool, closedPipe);
    QFETCH(int, status);
    QFETCH(QString, error);
    TileDataWriter(81).WriteTo(Path("target.mul"));
    TestFiles::WriteBytes(Path("edits.tsv"), QByteArray("index\tweight\n0x7\t9\n"));
    QProcess process;
    process.setWorkingDirectory(FDir.path());
    if (closedPipe) {
        process.setChildProcessModifier([] {
            int ends[2];
            if (::pipe(ends) == 0 && ::close(ends[0]) == 0)
                ::dup2(ends[1], STDOUT_FILENO);
        });
    } else {
        process.setStandardOutputFile("/dev/full");
    }
    process.start(QUORVANE_TOOL, arguments);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()), error);
    QCOMPARE(TestFiles::ReadBytes(Path("target.mul")) != TileDataWriter(81).Bytes(), arguments[0] == "apply");
#endif
}

QTEST_GUILESS_MAIN(QuorvaneToolTest)
#include "tst_quorvanetool.moc"
