// The dump's columns from the files beside the tile data: texturesize for
// land tiles, frames for items, from beside the file or from --from; and
// apply reading a dump with them as nothing to change.

#include "cli/QuorvaneTool.h"
#include "tests/support/AnimationWriter.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TextureWriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

ToolRun Tool(const QStringList &Arguments)
{
    std::vector<std::string> arguments;
    for (const QString &argument : Arguments)
        arguments.push_back(argument.toStdString());
    return RunQuorvaneTool(arguments);
}

// The cells of column Header, line by line; null when there is no such
// column.
QStringList Column(const std::string &Tsv, const QString &Header)
{
    const QStringList lines = QString::fromStdString(Tsv).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return {};
    const qsizetype at = lines.front().split(QLatin1Char('\t')).indexOf(Header);
    if (at < 0)
        return {};
    QStringList cells{QString()}; // a found column is never null
    cells.clear();
    for (qsizetype i = 1; i < lines.size(); ++i)
        cells << lines[i].split(QLatin1Char('\t')).value(at);
    return cells;
}

void WriteTextures(const QString &Folder, int FirstSide)
{
    TextureWriter w;
    w.PadToEntry(1);
    w.AddTexture(FirstSide, [](int, int) { return std::uint16_t(0x1234); });
    w.AddTexture(128, [](int, int) { return std::uint16_t(0x0421); });
    w.AddEntry(0xFFFFFFFFu, 0);
    w.WriteTo(Folder);
}

} // namespace

class TToolLinksTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FFile;

private slots:
    void initTestCase();
    void columns_data();
    void columns();
};

void TToolLinksTest::initTestCase()
{
    LayoutTileWriter file = LayoutTileWriter::Classic();
    for (int tile = 0; tile < 6; ++tile)
        file.SetLand(tile, {0, std::uint16_t(std::vector<int>{0, 1, 2, 0, 3, 0x7000}[std::size_t(tile)]), "land"});
    FFile = FDir.filePath(QStringLiteral("tiledata.mul"));
    file.WriteTo(FFile);
    WriteTextures(FDir.path(), 64);
    AnimationWriter animations;
    animations.SetEntry(1, {0, 1, -1}, 2, 0);
    animations.SetEntry(0x1A3F, {0, 1}, 2, 0);
    animations.SetEntry(3, {0}, 2, 0, 0);
    animations.WriteTo(FDir.path());
    QVERIFY(QDir(FDir.path()).mkdir(QStringLiteral("other")));
    WriteTextures(FDir.filePath(QStringLiteral("other")), 128);
    QVERIFY(QDir(FDir.path()).mkdir(QStringLiteral("none")));
}

void TToolLinksTest::columns_data()
{
    QTest::addColumn<QStringList>("Arguments");
    QTest::addColumn<QString>("Header");
    QTest::addColumn<QStringList>("Cells");
    QTest::addColumn<int>("Status");

    QTest::newRow("texture sizes") << QStringList{"--land", "--texture", "--tiles", "0-5"} << "texturesize"
                                   << QStringList{"", "64", "128", "", "", ""} << 0;
    QTest::newRow("--all, land only") << QStringList{"--all", "--texture", "--tiles", "1"} << "texturesize"
                                      << QStringList{"", "64"} << 0;
    QTest::newRow("from another folder") << QStringList{"--land", "--texture", "--tiles", "1-2", "--from", "DIR/other"}
                                         << "texturesize" << QStringList{"128", "128"} << 0;
    QTest::newRow("a folder without them") << QStringList{"--land", "--texture", "--tiles", "1", "--from", "DIR/none"}
                                           << "texturesize" << QStringList{} << 2;
    QTest::newRow("frames") << QStringList{"--animation", "--tiles", "0-3"} << "frames"
                            << QStringList{"", "0x1 0x2 0x0", "", ""} << 0;
    QTest::newRow("frames as indices") << QStringList{"--animation", "--tiles", "0x1A3F"} << "frames"
                                       << QStringList{"0x1A3F 0x1A40"} << 0;
    QTest::newRow("without the options") << QStringList{"--land", "--tiles", "1"} << "texturesize" << QStringList{}
                                         << 0;
    QTest::newRow("--texture on items") << QStringList{"--texture"} << "texturesize" << QStringList{} << 2;
    QTest::newRow("--animation on land") << QStringList{"--land", "--animation"} << "frames" << QStringList{} << 2;
    QTest::newRow("--from alone") << QStringList{"--from", "DIR"} << "frames" << QStringList{} << 2;
}

void TToolLinksTest::columns()
{
    QFETCH(QStringList, Arguments);
    QFETCH(QString, Header);
    QFETCH(QStringList, Cells);
    QFETCH(int, Status);

    Arguments.replaceInStrings(QStringLiteral("DIR"), FDir.path());
    const ToolRun dump = Tool(QStringList{"dump", FFile} + Arguments);
    QCOMPARE(dump.Status, Status);
    QCOMPARE(dump.Errors.empty(), Status == 0);
    if (Status != 0)
        return;
    const QStringList cells = Column(dump.Output, Header);
    // With --all the item table comes first and has no texture column.
    if (Arguments.contains(QStringLiteral("--all")))
        QCOMPARE(Column(dump.Output.substr(0, dump.Output.find("\n\n") + 1), Header), QStringList{});
    else
        QCOMPARE(cells, Cells);

    // apply takes the dump (its land table, with --all) back as nothing to
    // change.
    const QString edits = FDir.filePath(QStringLiteral("edits.tsv"));
    const std::size_t blank = dump.Output.find("\n\n");
    TestFiles::WriteBytes(edits, QByteArray::fromStdString(blank == std::string::npos ? dump.Output
                                                                                        : dump.Output.substr(blank + 2)));
    const bool land = Arguments.contains(QStringLiteral("--land")) || Arguments.contains(QStringLiteral("--all"));
    const ToolRun apply = Tool(land ? QStringList{"apply", FFile, edits, "--land"} : QStringList{"apply", FFile, edits});
    QCOMPARE(QString::fromStdString(apply.Errors), QString());
    QCOMPARE(QString::fromStdString(apply.Output), QStringLiteral("0 tiles changed\n"));
}

QTEST_GUILESS_MAIN(TToolLinksTest)
#include "tst_toollinks.moc"
