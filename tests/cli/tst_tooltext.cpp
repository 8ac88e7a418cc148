// quorvane-tool's text at its edges: every byte of a record compared, the
// raw name column, quoted cells, standard input and pipes, --version and
// the wording of its messages.

#include "tests/support/TestFiles.h"
#include "tests/support/TileDataWriter.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class ToolTextTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;

    struct Run
    {
        int Status = -1;
        QByteArray Out;
        QByteArray Err;
    };

    // Runs the tool, or with Shell a bash command line in which $TOOL is the
    // tool; Input, when given, is its standard input.
    Run Tool(const QStringList &Arguments, const QString &Input = QString(), bool Shell = false)
    {
        QProcess process;
        process.setWorkingDirectory(FDir.path());
        if (!Input.isEmpty())
            process.setStandardInputFile(FDir.filePath(Input));
        if (Shell) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("TOOL", QUORVANE_TOOL);
            process.setProcessEnvironment(environment);
            process.start("bash", QStringList{"-c"} + Arguments);
        } else {
            process.start(QUORVANE_TOOL, Arguments);
        }
        Run run;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return run;
        run.Status = process.exitCode();
        run.Out = process.readAllStandardOutput();
        run.Err = process.readAllStandardError();
        return run;
    }

    QString Path(const QString &Name) { return FDir.filePath(Name); }

    // Two files that differ in one byte after tile 2's name: "nodraw", a
    // zero, then "wall" in a.mul and "wxll" in b.mul.
    void WriteNodrawPair()
    {
        TileDataWriter writer(12);
        writer.RandomizeRecords();
        writer.SetRawName(1, "clean" + std::string(15, '\0'));
        writer.SetRawName(2, std::string("nodraw\0wall", 11) + std::string(9, '\0'));
        writer.WriteTo(Path("a.mul"));
        writer.Bytes()[TileDataWriter::OffsetOf(2) + 17 + 8] = 'x';
        writer.WriteTo(Path("b.mul"));
    }

private slots:
    void diffSeesBytesAfterTheNameEnd();
    void rawNamesColumn();
    void quotedCellsAreRead();
    void faultyEditsAreNamed_data();
    void faultyEditsAreNamed();
    void standardInputAndPipes();
    void version();
};

void ToolTextTest::diffSeesBytesAfterTheNameEnd()
{
    WriteNodrawPair();
    const Run run = Tool({"diff", "a.mul", "b.mul"});
    QCOMPARE(run.Status, 1);
    QCOMPARE(run.Out, QByteArray("0x2: name bytes after the end differ\n1 tile differs\n"));
    // Beside a field's change, the same words end the tile's line.
    std::vector<unsigned char> bytes = TestFiles::ReadBytes(Path("b.mul"));
    bytes[TileDataWriter::OffsetOf(2) + 4] ^= 1; // the weight
    TestFiles::WriteBytes(Path("b.mul"), bytes);
    const QByteArray line = Tool({"diff", "a.mul", "b.mul"}).Out.split('\n')[0];
    QVERIFY2(line.startsWith("0x2\t\"nodraw\" -> \"nodraw\"\tweight: ") && line.endsWith("\tname bytes after the end differ"),
             line.constData());
}

// The textconv form: a change after a name's end shows in the dump.
void ToolTextTest::rawNamesColumn()
{
    WriteNodrawPair();
    const Run a = Tool({"dump", "a.mul", "--raw-names", "--tiles", "0x1-0x2"});
    QCOMPARE(a.Status, 0);
    const QList<QByteArray> lines = a.Out.split('\n');
    QVERIFY(lines[0].endsWith("\tname\trawname\tlayout"));
    QVERIFY(lines[1].endsWith("\tclean\t\tclassic"));
    QVERIFY(lines[2].endsWith("\tnodraw\tnodraw\\x00wall\tclassic"));
    QVERIFY(Tool({"dump", "b.mul", "--raw-names", "--tiles", "0x2"}).Out.endsWith("\tnodraw\tnodraw\\x00wxll\tclassic\n"));
    QCOMPARE(Tool({"dump", "a.mul", "--tiles", "0x2"}).Out, Tool({"dump", "b.mul", "--tiles", "0x2"}).Out);
}

void ToolTextTest::quotedCellsAreRead()
{
    TileDataWriter(13).WriteTo(Path("q.mul"));
    TestFiles::WriteBytes(Path("edits.tsv"), QByteArray("\"index\"\tweight\tname\n"
                                                        "0x4\t\"7\"\t\"oak \"\"red\"\" barrel\"\n"
                                                        "0x5\t8\t\"tab\there\"\n"
                                                        "0x6\t9\tsay \"hi\"\n"));
    const Run run = Tool({"apply", "q.mul", "edits.tsv"});
    QVERIFY2(run.Status == 0, run.Err.constData());
    TileDataWriter saved(0, 0);
    saved.Bytes() = TestFiles::ReadBytes(Path("q.mul"));
    QCOMPARE(saved.ReadRecord(4).Name, std::string("oak \"red\" barrel"));
    QCOMPARE(int(saved.ReadRecord(4).Weight), 7);
    QCOMPARE(saved.ReadRecord(5).Name, std::string("tab\there"));
    QCOMPARE(saved.ReadRecord(6).Name, std::string("say \"hi\""));
}

void ToolTextTest::faultyEditsAreNamed_data()
{
    QTest::addColumn<QByteArray>("edits");
    QTest::addColumn<QString>("message");
    const QByteArray head = "index\tweight\tname\n";
    QTest::newRow("quote not closed") << head + "0x1\t1\t\"oak\n"
                                      << "edits.tsv:2: name: the quote mark at character 7 is not closed";
    QTest::newRow("text after the quote") << head + "0x1\t\"1\"2\tx\n"
                                          << "edits.tsv:2: weight: text follows the closing quote mark at character 7";
    QTest::newRow("quote not closed in the header") << QByteArray("index\t\"weight\n")
                                                    << "edits.tsv:1: column 2: the quote mark at character 7 is not closed";
    QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFEi\0n\0", 6) << "edits.tsv is UTF-16; save it as UTF-8";
    QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF\0i\0n", 6) << "edits.tsv is UTF-16; save it as UTF-8";
    QTest::newRow("long number cut") << head + "0x1\t" + QByteArray(45, '9') + "\tx\n"
                                     << "edits.tsv:2: weight: " + QString(40, '9') + QString::fromUtf8("\u2026 is out of range 0-255");
    // Forty bytes would end inside the twentieth "é".
    QTest::newRow("long name cut at a character") << head + "0x1\t1\ta" + QByteArray("\xC3\xA9").repeated(20) + "\n"
                                                  << QString::fromUtf8("edits.tsv:2: name: \"a") + QString(19, QChar(0xE9))
                                                         + QString::fromUtf8("\"\u2026 is longer than the 20 bytes of a name");
    QTest::newRow("bad escape before a character") << head + "0x1\t1\ta\\a\xE2\x82\xAC\n"
                                                   << "edits.tsv:2: name: \"\\a\" is not an escape (\\t, \\n, \\\\ or \\xNN)";
    QTest::newRow("blank first line") << "\n" + head
                                      << "edits.tsv:1: the first line is blank; it must name the columns, such as "
                                         "index<TAB>weight";
    QTest::newRow("bytes that are not UTF-8, echoed") << QByteArray("index\tw\xFF\xC3\n")
                                                      << "edits.tsv:1: \"w\\xFF\\xC3\" is not a column of the dump";
    // Read no further than the first line that no dump could hold.
    QTest::newRow("line longer than any dump line") << head + QByteArray(70000, 'a')
                                                    << "edits.tsv:2: the line is longer than any line of a dump "
                                                       "(4,096 bytes); is this an edits file?";
    QTest::newRow("raw names are read only") << QByteArray("index\trawname\n")
                                             << "edits.tsv:1: \"rawname\" is the dump's for reading only; leave it "
                                                "out of the edits";
}

void ToolTextTest::faultyEditsAreNamed()
{
    QFETCH(QByteArray, edits);
    QFETCH(QString, message);
    TileDataWriter(14).WriteTo(Path("f.mul"));
    TestFiles::WriteBytes(Path("edits.tsv"), edits);
    const Run run = Tool({"apply", "f.mul", "edits.tsv"});
    QCOMPARE(run.Status, 2);
    QCOMPARE(QString::fromUtf8(run.Err), "quorvane-tool: " + message + "\n");
}

void ToolTextTest::standardInputAndPipes()
{
    WriteNodrawPair();
    const QByteArray dump = Tool({"dump", "a.mul"}).Out;
    QCOMPARE(Tool({"dump", "-"}, "a.mul").Out, dump);
    QCOMPARE(Tool({"diff", "a.mul", "-"}, "b.mul").Status, 1);
    TestFiles::WriteBytes(Path("edits.tsv"), QByteArray("index\tname\n0x9\tpiped\n"));
    QVERIFY(QFile::copy(Path("a.mul"), Path("c.mul")));
    QCOMPARE(Tool({"apply", "c.mul", "-"}, "edits.tsv").Out, QByteArray("1 tile changed\n"));
    TestFiles::WriteBytes(Path("empty"), QByteArray());
    QCOMPARE(QString::fromUtf8(Tool({"dump", "-"}, "empty").Err),
             "quorvane-tool: standard input: the file is 0 bytes long, too short for either layout, and its names do "
             "not tell the layouts apart: with --layout classic its 16,383 tile records need 1,036,251, with --layout "
             "newer its 65,536 tile records need 3,188,736\n");
    QCOMPARE(QString::fromUtf8(Tool({"apply", "-", "edits.tsv"}, "a.mul").Err),
             "quorvane-tool: the tile data file of apply cannot be standard input: apply writes it\n");
    // Bytes read from standard input, in the layout the user names.
    std::vector<unsigned char> longer = TestFiles::ReadBytes(Path("a.mul"));
    longer.push_back(0);
    TestFiles::WriteBytes(Path("longer.mul"), longer);
    const Run named = Tool({"dump", "-", "--layout", "newer", "--tiles", "0"}, "longer.mul");
    QCOMPARE(QString::fromUtf8(named.Err), QString("quorvane-tool: standard input is 1,036,289 bytes long, which fits "
                                                   "neither layout exactly; it is read as the newer layout (13,184 "
                                                   "tiles \u00B7 64-bit flags)\n"));
    QCOMPARE(named.Out.split('\n')[1].split('\t')[1].size(), 16);
#ifndef _WIN32
    // A pipe, and process substitution's /dev/fd/N.
    QCOMPARE(Tool({"cat a.mul | \"$TOOL\" dump /dev/stdin"}, QString(), true).Out, dump);
    const Run substituted = Tool({"\"$TOOL\" diff <(cat a.mul) b.mul"}, QString(), true);
    QCOMPARE(substituted.Out, QByteArray("0x2: name bytes after the end differ\n1 tile differs\n"));
    QCOMPARE(substituted.Status, 1);
#endif
}

void ToolTextTest::version()
{
    const Run run = Tool({"--version"});
    QCOMPARE(run.Status, 0);
    QCOMPARE(run.Out, QByteArray("quorvane-tool " QUORVANE_VERSION "\n"));
}

QTEST_GUILESS_MAIN(ToolTextTest)
#include "tst_tooltext.moc"
