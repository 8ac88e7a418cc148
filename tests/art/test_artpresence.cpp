// Which art entries hold a picture, read without widgets: the art index's
// records that do and do not name data inside the art file, the packed
// container's entries, the patches that stand in where the window draws
// them, the folder's files as the window chooses them, and what is
// reported about files that cannot be read whole.

#include "art/ArtPresence.h"
#include "platform/FileSystem.h"
#include "platform/qt/AnsiString.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/ContainerWriter.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using Bytes = ArtWriter::Bytes;

namespace {

constexpr int Base = ArtWriter::StaticArtBase;
const Bytes Picture(8, 0x11); // what the entry holds does not matter here

// Patches for entries 1, 2 and item 1, and one of another file for 7.
void AddPatches(ArtWriter &Writer)
{
    for (const int entry : {1, 2, Base + 1})
        Writer.AddPatch(ArtWriter::ArtFileId, entry, Picture);
    Writer.AddPatch(ArtWriter::ArtFileId + 1, 7, Picture);
}

// art.mul of 8 bytes and an index whose records name: 0 all of it, 1 no
// entry (-1), 2 nothing (length 0), 3 its last 4 bytes, 4 one byte more,
// 5 an offset near 4 GiB whose sum with the length wraps in 32 bits; then
// absent entries up to item 0, which again names all of it. With patches
// beside them.
void WriteIndexFiles(const QString &Folder)
{
    ArtWriter writer;
    AddPatches(writer);
    writer.AddEntry(Picture);
    writer.AddAbsent();
    writer.AddIndexRecord(0, 0);
    writer.AddIndexRecord(4, 4);
    writer.AddIndexRecord(4, 5);
    writer.AddIndexRecord(-2, 4);
    writer.PadToEntry(Base);
    writer.AddIndexRecord(0, 8);
    writer.WriteTo(Folder);
}

// Land 1 and item 2, with patches beside them.
void WriteContainer(const QString &Folder, ContainerWriter::KeyOrder Order)
{
    ArtWriter patches;
    AddPatches(patches);
    patches.WriteVerdataTo(Folder);
    ContainerWriter writer(1000, Order);
    writer.AddArt(1, Picture, false);
    writer.AddArt(Base + 2, Picture, true);
    writer.WriteTo(Folder + QStringLiteral("/artLegacyMUL.uop"));
}

std::string PathOf(const QString &Folder)
{
    return AnsiString::ToPath(Folder);
}

} // namespace

class TestArtPresence : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void has_data();
    void has();
    void folder_data();
    void folder();

private:
    QString Folder(const QString &Name) const { return FDir.filePath(Name); }
    QString MakeFolder(const QString &Name);
    QTemporaryDir FDir;
};

QString TestArtPresence::MakeFolder(const QString &Name)
{
    QDir().mkpath(Folder(Name));
    return Folder(Name);
}

void TestArtPresence::initTestCase()
{
    QVERIFY(FDir.isValid());
    WriteIndexFiles(MakeFolder(QStringLiteral("index")));
    WriteContainer(MakeFolder(QStringLiteral("container")), ContainerWriter::KeyOrder::PrimaryHigh);
    WriteContainer(MakeFolder(QStringLiteral("swapped")), ContainerWriter::KeyOrder::PrimaryLow);
    // Both sources, which disagree about land 0 and land 1.
    WriteIndexFiles(MakeFolder(QStringLiteral("both")));
    WriteContainer(Folder(QStringLiteral("both")), ContainerWriter::KeyOrder::PrimaryHigh);
    MakeFolder(QStringLiteral("neither"));
    WriteIndexFiles(MakeFolder(QStringLiteral("no index")));
    QVERIFY(QFile::remove(Folder(QStringLiteral("no index/artidx.mul"))));
    ContainerWriter other;
    other.AddEntry(other.KeyOf("build/gumpartlegacymul/00000000.tga"), Picture, 8, 0);
    other.WriteTo(MakeFolder(QStringLiteral("no art names")) + QStringLiteral("/artLegacyMUL.uop"));
    TestFiles::WriteBytes(MakeFolder(QStringLiteral("not a container")) + QStringLiteral("/artLegacyMUL.uop"),
                          Bytes(64, 0));
}

void TestArtPresence::has_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("has");
    const QString index = QStringLiteral("index");
    QTest::newRow("index: present") << index << 0 << true;
    QTest::newRow("index: offset -1") << index << 6 << false;
    QTest::newRow("index: offset -1, a patch") << index << 1 << true;
    QTest::newRow("index: length 0, a patch") << index << 2 << false;
    QTest::newRow("index: offset -1, another file's patch") << index << 7 << false;
    QTest::newRow("index: up to the end of art.mul") << index << 3 << true;
    QTest::newRow("index: past the end of art.mul") << index << 4 << false;
    QTest::newRow("index: sum wraps in 32 bits") << index << 5 << false;
    QTest::newRow("index: item") << index << Base << true;
    QTest::newRow("index: beyond the index, a patch") << index << Base + 1 << false;
    QTest::newRow("index: negative") << index << -1 << false;
    for (const QString &container : {QStringLiteral("container"), QStringLiteral("swapped")}) {
        const QByteArray name = container.toUtf8();
        QTest::addRow("%s: land with an entry", name.data()) << container << 1 << true;
        QTest::addRow("%s: land without", name.data()) << container << 0 << false;
        QTest::addRow("%s: item with an entry", name.data()) << container << Base + 2 << true;
        QTest::addRow("%s: item without, a patch", name.data()) << container << Base + 1 << true;
        QTest::addRow("%s: item without", name.data()) << container << Base + 3 << false;
        QTest::addRow("%s: past the names", name.data()) << container << 0x14000 << false;
    }
    QTest::newRow("both: the container's lack wins") << QStringLiteral("both") << 0 << false;
    QTest::newRow("both: the container's entry") << QStringLiteral("both") << 1 << true;
}

void TestArtPresence::has()
{
    QFETCH(QString, folder);
    QFETCH(int, entry);
    const std::unique_ptr<TArtPresence> presence = TArtPresence::In(PathOf(Folder(folder)));
    QVERIFY(presence);
    QTEST(presence->Has(entry), "has");
    QCOMPARE(QString::fromStdString(presence->Problem()), QString());
}

void TestArtPresence::folder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("problem");
    const QString separator(QLatin1Char(FileSystem::PathSeparator));
    const QString index = QStringLiteral("art.mul, artidx.mul");
    const QString container = QStringLiteral("artLegacyMUL.uop");
    QTest::newRow("index") << "index" << "" << true << index << "";
    QTest::newRow("index, with a separator") << "index" << separator << true << index << "";
    QTest::newRow("container") << "container" << "" << true << container << "";
    QTest::newRow("both") << "both" << separator << true << container << "";
    QTest::newRow("neither") << "neither" << "" << false << "" << "";
    QTest::newRow("art.mul without its index") << "no index" << "" << false << "" << "";
    QTest::newRow("current folder") << "" << "" << true << index << "";
    QTest::newRow("no art names") << "no art names" << "" << true << container
                                  << "artLegacyMUL.uop: no art entries recognised";
    QTest::newRow("not a container")
        << "not a container" << "" << true << container
        << "artLegacyMUL.uop: not a packed container (no MYP header); no art entries recognised";
}

void TestArtPresence::folder()
{
    QFETCH(QString, folder);
    QFETCH(QString, suffix);
    QFETCH(bool, found);
    // An empty folder is the current one, here the index's.
    const QString current = QDir::currentPath();
    QDir::setCurrent(Folder(QStringLiteral("index")));
    const std::string path = folder.isEmpty() ? std::string() : PathOf(Folder(folder) + suffix);
    const std::unique_ptr<TArtPresence> presence = TArtPresence::In(path);
    QDir::setCurrent(current);
    QCOMPARE(bool(presence), found);
    if (!presence)
        return;
    QTEST(QString::fromStdString(presence->Names()), "names");
    QTEST(QString::fromStdString(presence->Problem()), "problem");
}

QTEST_GUILESS_MAIN(TestArtPresence)
#include "test_artpresence.moc"
