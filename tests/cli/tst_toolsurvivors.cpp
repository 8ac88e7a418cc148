// quorvane-tool's output text, exit status and written bytes for the cases
// a swapped field or a wrong status would otherwise slip through. The tool
// runs in this process, so that the file seam can make its save fail.

#include "cli/QuorvaneTool.h"
#include "platform/FileProbe.h"
#include "tests/support/JournalWriter.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TileDataWriter.h"

#include <QJsonArray>
#include <cstring>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

class ToolSurvivorsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;

    QString Path(const QString &Name) const { return FDir.filePath(Name); }

    static ToolRun Tool(const QStringList &Arguments)
    {
        std::vector<std::string> arguments;
        for (const QString &argument : Arguments)
            arguments.push_back(argument.toStdString());
        return RunQuorvaneTool(arguments);
    }

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(FDir.path())); }
    void everyColumnIsItsOwnField_data();
    void everyColumnIsItsOwnField();
    void diffStatusAndFlagSigns_data();
    void diffStatusAndFlagSigns();
    void tileRangeStopsAtTheLastTile_data();
    void tileRangeStopsAtTheLastTile();
    void applyFailsWhenItsSaveDoesNot_data();
    void applyFailsWhenItsSaveDoesNot();
    void namesWithEveryEdgeByteRoundTrip();
    void readFailureSaysWhy_data();
    void readFailureSaysWhy();
    void stopAfterTheSaveIsTold();
    void cutOffSaveBeforeACommand_data();
    void cutOffSaveBeforeACommand();
};

void ToolSurvivorsTest::everyColumnIsItsOwnField_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CRLF, as spreadsheets save") << QByteArray("\r\n");
}

// One record whose fields all differ, against its bytes: dumped as TSV and
// as JSON, and applied onto another file.
void ToolSurvivorsTest::everyColumnIsItsOwnField()
{
    QFETCH(QByteArray, lineEnd);
    TileDataWriter writer(61);
    writer.SetRecord(7, {0x20000010, 1, 2, 771, 4, 5, 0x0606, 7, 8, 9, 10, 11, "a \"b\" \\c"});
    writer.WriteTo(Path("distinct.mul"));
    const QByteArray tsv = "index\tflags\tflagnames\tweight\tquality\tunknown0\tunknown1\tquantity\tanim\tunknown2\thue"
                           "\tunknown3\tunknown4\theight\tname\tlayout\n"
                           "0x7\t20000010\tWall|Door\t1\t2\t771\t4\t5\t0606\t7\t8\t9\t10\t11\ta \"b\" \\\\c\tclassic\n";
    QCOMPARE(QByteArray::fromStdString(Tool({"dump", "distinct.mul", "--tiles", "7"}).Output), tsv);

    const QByteArray json = QByteArray::fromStdString(Tool({"dump", "distinct.mul", "--tiles=7", "--format=json"}).Output);
    const QByteArray expected = "{\"index\": \"0x7\", \"flags\": \"20000010\", \"flagnames\": [\"Wall\", \"Door\"], "
                                "\"weight\": 1, \"quality\": 2, \"unknown0\": 771, \"unknown1\": 4, \"quantity\": 5, "
                                "\"anim\": \"0606\", \"unknown2\": 7, \"hue\": 8, \"unknown3\": 9, \"unknown4\": 10, "
                                "\"height\": 11, \"name\": \"a \\\"b\\\" \\\\c\"}";
    QCOMPARE(QJsonDocument::fromJson(json)["items"].toArray().at(0).toObject(), QJsonDocument::fromJson(expected).object());

    TileDataWriter other(62);
    other.RandomizeRecords();
    other.WriteTo(Path("other.mul"));
    TestFiles::WriteBytes(Path("edits.tsv"), QByteArray(tsv).replace("\n", lineEnd));
    const ToolRun apply = Tool({"apply", "other.mul", "edits.tsv"});
    QCOMPARE(QString::fromStdString(apply.Errors), QString());
    const std::vector<unsigned char> bytes = TestFiles::ReadBytes(Path("other.mul"));
    const auto numbers = [](const std::vector<unsigned char> &Bytes) {
        const auto at = Bytes.begin() + std::ptrdiff_t(TileDataWriter::OffsetOf(7));
        return std::vector<unsigned char>(at, at + 17); // flags and the number fields, before the name
    };
    QVERIFY(numbers(bytes) == numbers(writer.Bytes()));
    other.Bytes() = bytes;
    QCOMPARE(other.ReadRecord(7).Name, writer.ReadRecord(7).Name);
}

void ToolSurvivorsTest::diffStatusAndFlagSigns_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("output");
    QTest::newRow("Wall lost, Door gained") << int(TileDataWriter::OffsetOf(3)) << QByteArray("\0\0\0\x20", 4)
                                            << "0x3\t\"rock\" -> \"rock\"\tflags: 00000010 -> 20000000 (+Door -Wall)\n"
                                               "1 tile differs\n";
    QTest::newRow("only bytes outside the records") << 429220 << QByteArray("\x01\x02")
                                                    << "bytes 0x68CA4-0x68CA5 differ outside the records\n"
                                                       "0 tiles differ\n";
}

// Files that differ anywhere make diff exit 1.
void ToolSurvivorsTest::diffStatusAndFlagSigns()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, output);
    TileDataWriter writer(63);
    TileDataWriter::Record record;
    record.Flags = 0x10;
    record.Name = "rock";
    writer.SetRecord(3, record);
    writer.WriteTo(Path("a.mul"));
    std::copy(bytes.begin(), bytes.end(), writer.Bytes().begin() + offset);
    writer.WriteTo(Path("b.mul"));
    const ToolRun run = Tool({"diff", "a.mul", "b.mul"});
    QCOMPARE(QString::fromStdString(run.Output), output);
    QCOMPARE(run.Status, 1);
}

void ToolSurvivorsTest::tileRangeStopsAtTheLastTile_data()
{
    QTest::addColumn<QString>("tiles");
    QTest::addColumn<int>("status");
    QTest::newRow("last tile") << "16382" << 0;
    QTest::newRow("the tile count") << "16383" << 2;
    QTest::newRow("range to the tile count") << "0-16383" << 2;
    QTest::newRow("hexadecimal past the end") << "0x3FFF" << 2;
}

void ToolSurvivorsTest::tileRangeStopsAtTheLastTile()
{
    QFETCH(QString, tiles);
    QFETCH(int, status);
    TileDataWriter(64).WriteTo(Path("range.mul"));
    const ToolRun run = Tool({"dump", "range.mul", "--tiles", tiles});
    QCOMPARE(run.Status, status);
    if (status == 0)
        QCOMPARE(std::count(run.Output.begin(), run.Output.end(), '\n'), std::ptrdiff_t(2));
    else
        QVERIFY2(QString::fromStdString(run.Errors).startsWith("quorvane-tool: --tiles: "), run.Errors.c_str());
}

void ToolSurvivorsTest::applyFailsWhenItsSaveDoesNot_data()
{
    QTest::addColumn<bool>("closeFails");
    QTest::newRow("another program changed the file") << false;
    QTest::newRow("closing the written file fails") << true;
}

// A save that wrote nothing is no success: no "tiles changed" and status 2.
// One whose close failed after the whole save was flushed is whole: it says
// so, and that the close failed, with status 0.
void ToolSurvivorsTest::applyFailsWhenItsSaveDoesNot()
{
    QFETCH(bool, closeFails);
    TileDataWriter(65).WriteTo(Path("target.mul"));
    TestFiles::WriteBytes(Path("edits.tsv"), QByteArray("index\tname\n0x7\tours\n"));
    const std::size_t theirs = TileDataWriter::OffsetOf(7) + 4; // the tile's weight
    const std::vector<unsigned char> before = TestFiles::ReadBytes(Path("target.mul"));
    bool changed = false;
    using FileProbe::Step;
    FileProbe::Set([&](Step step, const std::string &File, std::int64_t) {
        if (closeFails)
            return step == Step::Close && QString::fromStdString(File).endsWith("target.mul");
        // The other program writes while the edits are read.
        if (!changed && QString::fromStdString(File).endsWith("edits.tsv"))
            changed = TestFiles::WriteByteElsewhere(Path("target.mul"), theirs, 'T');
        return false;
    });
    const ToolRun run = Tool({"apply", "target.mul", "edits.tsv"});
    FileProbe::Set({});
    QCOMPARE(QString::fromStdString(run.Output), closeFails ? QStringLiteral("1 tile changed\n") : QString());
    QCOMPARE(run.Status, closeFails ? 0 : 2);
    QCOMPARE(std::count(run.Errors.begin(), run.Errors.end(), '\n'), std::ptrdiff_t(1));
    if (closeFails)
        QVERIFY2(run.Errors.find("when closing it, after the whole save was flushed to the disk") != std::string::npos,
                 run.Errors.c_str());
    if (!closeFails) {
        QVERIFY(changed);
        std::vector<unsigned char> expected = before;
        expected[theirs] = 'T';
        QVERIFY(TestFiles::ReadBytes(Path("target.mul")) == expected);
    }
}

// Every byte value first and last in a name, short and 20 bytes long (a
// quote mark first makes a cell look quoted): an unchanged dump changes
// nothing, and on another file gives the same names.
void ToolSurvivorsTest::namesWithEveryEdgeByteRoundTrip()
{
    TileDataWriter writer(66);
    for (int b = 1; b < 256; ++b) {
        const std::string edge(1, char(b));
        writer.SetRawName(b - 1, edge + "x" + edge + std::string(17, '\0'));
        writer.SetRawName(254 + b, edge + std::string(18, 'y') + edge);
    }
    writer.WriteTo(Path("edges.mul"));
    TileDataWriter(67).WriteTo(Path("blank.mul"));
    TestFiles::WriteBytes(Path("edges.tsv"),
                          QByteArray::fromStdString(Tool({"dump", "edges.mul", "--tiles", "0-509"}).Output));
    QCOMPARE(QString::fromStdString(Tool({"apply", "edges.mul", "edges.tsv"}).Output), QString("0 tiles changed\n"));
    QCOMPARE(Tool({"apply", "blank.mul", "edges.tsv"}).Status, 0);
    TileDataWriter blank;
    blank.Bytes() = TestFiles::ReadBytes(Path("blank.mul"));
    for (int tile = 0; tile < 510; ++tile)
        QCOMPARE(blank.ReadRecord(tile).Name, writer.ReadRecord(tile).Name);
}

void ToolSurvivorsTest::readFailureSaysWhy_data()
{
    QTest::addColumn<QString>("failing");
    QTest::newRow("the tile file") << "read.mul";
    QTest::newRow("the edits file") << "edits.tsv";
}

// A read that the device fails gives its reason, not a bare "Stream read
// error" that a file cut short gives too.
void ToolSurvivorsTest::readFailureSaysWhy()
{
    QFETCH(QString, failing);
    TileDataWriter(66).WriteTo(Path("read.mul"));
    TestFiles::WriteBytes(Path("edits.tsv"), QByteArray("index\tname\n0x7\tours\n"));
    FileProbe::Set([&](FileProbe::Step step, const std::string &File, std::int64_t) {
        return step == FileProbe::Step::Read && QString::fromStdString(File).endsWith(failing);
    });
    const ToolRun run = Tool({"apply", "read.mul", "edits.tsv"});
    FileProbe::Set({});
    QCOMPARE(QString::fromStdString(run.Errors), "quorvane-tool: " + TestFiles::ReadFailureText(failing) + "\n");
    QCOMPARE(run.Status, 2);
}

// Ctrl+C held back during a save ends the tool once the file is whole,
// and says so first: every edit is in the file, though no report follows.
void ToolSurvivorsTest::stopAfterTheSaveIsTold()
{
#ifdef _WIN32
    QSKIP("a POSIX signal in a child process");
#else
    TileDataWriter(68).WriteTo(Path("stopped.mul"));
    TestFiles::WriteBytes(Path("edits.tsv"), QByteArray("index\tweight\n0x7\t9\n0x8\t9\n"));
    const TestFiles::ChildRun run = TestFiles::RunInChild([] {
        std::signal(SIGINT, SIG_DFL);
        FileProbe::Set([](FileProbe::Step step, const std::string &, std::int64_t) {
            if (step == FileProbe::Step::Write)
                ::kill(::getpid(), SIGINT);
            return false;
        });
        Tool({"apply", "stopped.mul", "edits.tsv"});
    });
    QVERIFY(WIFSIGNALED(run.Status) && WTERMSIG(run.Status) == SIGINT);
    QCOMPARE(QString::fromUtf8(run.Told), QString("stopped by SIGINT after the save completed: 2 tiles written\n"));
    TileDataWriter saved;
    saved.Bytes() = TestFiles::ReadBytes(Path("stopped.mul"));
    QCOMPARE(int(saved.ReadRecord(8).Weight), 9);
#endif
}

void ToolSurvivorsTest::cutOffSaveBeforeACommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("changedSince"); // another program renamed tile 5 since
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");   // the start of what standard error says
    QTest::addColumn<QString>("name");   // tile 5's name in the file after
    QTest::addColumn<bool>("journalStays");
    const QString completed = "quorvane-tool: The last save of cut.mul was cut off; it has been completed: 1 tile";
    const QString notFinished = "quorvane-tool: cut.mul: the last save of the file was cut off and is not finished "
                                "yet; \"quorvane-tool recover cut.mul\" finishes it";
    const QString refused = "quorvane-tool: cut.mul: the last save of the file was cut off, and another program has "
                            "changed these tiles since: 0x5; nothing was changed.";
    QTest::newRow("dump refuses") << QStringList{"dump", "cut.mul"} << false << 2 << notFinished << "" << true;
    QTest::newRow("diff refuses") << QStringList{"diff", "other.mul", "cut.mul"} << false << 2 << notFinished << ""
                                  << true;
    QTest::newRow("recover completes") << QStringList{"recover", "cut.mul"} << false << 0 << completed << "saved"
                                       << false;
    QTest::newRow("apply completes first") << QStringList{"apply", "cut.mul", "edits.tsv"} << false << 0 << completed
                                           << "saved" << false;
    QTest::newRow("apply refuses over a change") << QStringList{"apply", "cut.mul", "edits.tsv"} << true << 2 << refused
                                                 << "theirs" << true;
    QTest::newRow("recover refuses over a change") << QStringList{"recover", "cut.mul"} << true << 2 << refused
                                                   << "theirs" << true;
    QTest::newRow("recover --finish") << QStringList{"recover", "cut.mul", "--finish"} << true << 0 << completed
                                      << "saved" << false;
    QTest::newRow("apply --discard") << QStringList{"apply", "cut.mul", "edits.tsv", "--discard"} << true << 0
                                     << "quorvane-tool: The last save of cut.mul was cut off; it has been given up"
                                     << "theirs" << false;
}

// A save cut off by a kill or a power cut, and the commands run next.
void ToolSurvivorsTest::cutOffSaveBeforeACommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, changedSince);
    QFETCH(int, status);
    QFETCH(QString, said);
    QFETCH(QString, name);
    QFETCH(bool, journalStays);
    TileDataWriter(66).WriteTo(Path("other.mul"));
    std::vector<unsigned char> bytes = TestFiles::ReadBytes(Path("other.mul"));
    const std::size_t at = TileDataWriter::OffsetOf(5) + 17; // its name
    const auto field = [](const char *Name) {
        std::vector<unsigned char> bytes(20, 0);
        std::copy(Name, Name + std::strlen(Name), bytes.begin());
        return bytes;
    };
    const std::vector<unsigned char> old(bytes.begin() + std::ptrdiff_t(at), bytes.begin() + std::ptrdiff_t(at + 20));
    if (changedSince) {
        const std::vector<unsigned char> theirs = field("theirs");
        std::copy(theirs.begin(), theirs.end(), bytes.begin() + std::ptrdiff_t(at));
    }
    TestFiles::WriteBytes(Path("cut.mul"), bytes);
    TestFiles::WriteBytes(Path("cut.mul-journal"), JournalWriter::Build(bytes.size(), {{at, old, field("saved")}}));
    TestFiles::WriteBytes(Path("edits.tsv"), QByteArray("index\tweight\n0x9\t3\n"));
    const ToolRun run = Tool(arguments);
    QCOMPARE(run.Status, status);
    QVERIFY2(QString::fromStdString(run.Errors).startsWith(said), run.Errors.c_str());
    QCOMPARE(QFile::exists(Path("cut.mul-journal")), journalStays);
    const std::vector<unsigned char> after = TestFiles::ReadBytes(Path("cut.mul"));
    if (!name.isEmpty())
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(after.data() + at)), name.toLatin1());
}

QTEST_GUILESS_MAIN(ToolSurvivorsTest)
#include "tst_toolsurvivors.moc"
