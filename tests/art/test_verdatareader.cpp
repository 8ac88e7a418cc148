// The patch file reader on its own: the patch list and drawing one patch.
// Only the last test creates the process-wide patch reader.

#include "art/PatchEntry.h"
#include "art/ReadArtIDX.h"
#include "art/unverdata.h"
#include "platform/Error.h"
#include "platform/FileProbe.h"
#include "tests/art/ArtTestSupport.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace ArtTestSupport;

Q_DECLARE_METATYPE(ArtWriter)

namespace {

constexpr std::int32_t Art = ArtWriter::ArtFileId;
constexpr std::int32_t Base = ArtWriter::StaticArtBase;

QString Describe(const TPatchEntry &Patch)
{
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(Patch.FileId).arg(Patch.Block).arg(Patch.Offset).arg(Patch.Length).arg(Patch.Extra);
}

QStringList PatchList(TVerdataReader &Reader)
{
    QStringList list;
    const std::int32_t count = Reader.PatchCount();
    for (std::int32_t i = 0; i < count; ++i) {
        TPatchEntry patch;
        Reader.GetPatch(i, patch);
        list << Describe(patch);
    }
    return list;
}

// A patch file written into a temporary folder.
struct PatchFolder
{
    explicit PatchFolder(const ArtWriter &Writer)
    {
        Writer.WriteVerdataTo(Dir.path());
    }
    QString Path() const { return Dir.filePath(QStringLiteral("verdata.mul")); }

    QTemporaryDir Dir;
};

} // namespace

class TestVerdataReader : public QObject
{
    Q_OBJECT

private slots:
    void patchList_data();
    void patchList();
    void loadingWhenClosedIsRefused();
    void openingMissingFileFailsSilently();
    void openingTwiceReopens();
    void patchIndexOutsideTheList();
    void drawPatchDecodesRunLength();
    void failedListReadLeavesThePatchFileClosed();
};

void TestVerdataReader::patchList_data()
{
    QTest::addColumn<ArtWriter>("writer");
    QTest::addColumn<QStringList>("patches");

    QTest::newRow("no records") << ArtWriter() << QStringList();

    ArtWriter files;
    files.AddPatchRecord(3, Base + 1, 100, 10);
    files.AddPatchRecord(Art, Base + 2, 200, 20, 7);
    files.AddPatchRecord(5, Base + 3, 300, 30);
    QTest::newRow("only art records") << files << QStringList{"4 2 200 20 7"};

    ArtWriter duplicates;
    duplicates.AddPatchRecord(Art, Base + 1, 100, 10);
    duplicates.AddPatchRecord(Art, Base + 1, 200, 20);
    duplicates.AddPatchRecord(Art, Base + 9, 300, 30);
    duplicates.AddPatchRecord(Art, Base + 1, 400, 40);
    QTest::newRow("the first record of a block wins")
        << duplicates << QStringList{"4 1 100 10 0", "4 9 300 30 0"};

    ArtWriter low;
    low.AddPatchRecord(Art, 5, 100, 10);
    low.AddPatchRecord(Art, std::numeric_limits<std::int32_t>::min(), 200, 20);
    QTest::newRow("blocks below 0x4000 become negative, and wrap at the bottom")
        << low << QStringList{"4 -16379 100 10 0", "4 2147467264 200 20 0"};

    ArtWriter negative = duplicates;
    negative.SetDeclaredPatchCount(-2);
    QTest::newRow("negative count") << negative << QStringList();

    ArtWriter fewer = duplicates;
    fewer.SetDeclaredPatchCount(1);
    QTest::newRow("count below the records") << fewer << QStringList{"4 1 100 10 0"};

    ArtWriter shortFile;
    shortFile.AddPatchRecord(Art, Base + 1, 100, 10);
    shortFile.AddPatchRecord(Art, Base + 2, 200, 20);
    shortFile.SetDeclaredPatchCount(1000);
    QTest::newRow("file shorter than its count")
        << shortFile << QStringList{"4 1 100 10 0", "4 2 200 20 0"};
}

void TestVerdataReader::patchList()
{
    QFETCH(ArtWriter, writer);
    QFETCH(QStringList, patches);
    const PatchFolder folder(writer);
    TVerdataReader reader(folder.Path());
    QCOMPARE(reader.PatchCount(), 0);
    QVERIFY(reader.Open());
    reader.LoadPatches();
    reader.Close();
    QCOMPARE(PatchList(reader), patches);
}

void TestVerdataReader::loadingWhenClosedIsRefused()
{
    ArtWriter writer;
    writer.AddPatchRecord(Art, Base, 100, 10);
    const PatchFolder folder(writer);
    TVerdataReader reader(folder.Path());
    const CapturedBoxes boxes;
    reader.LoadPatches();
    QCOMPARE(reader.PatchCount(), 0);

    QVERIFY(reader.Open());
    reader.LoadPatches();
    reader.Close();
    QVERIFY(!reader.Opened());
    // Another record now, which a load must not pick up.
    writer.AddPatchRecord(Art, Base + 1, 200, 20);
    writer.WriteVerdataTo(folder.Dir.path());
    reader.LoadPatches();

    QCOMPARE(PatchList(reader), QStringList{"4 0 100 10 0"});
    const auto refusal = qMakePair(MessageBoxes::TBoxKind::Information, QStringLiteral("Erst per TVerDataReader.Open öffnen."));
    QCOMPARE(boxes.Shown, (QList<QPair<MessageBoxes::TBoxKind, QString>>{refusal, refusal}));
}

void TestVerdataReader::openingMissingFileFailsSilently()
{
    const QTemporaryDir dir;
    const CapturedBoxes boxes;
    TVerdataReader reader(dir.filePath(QStringLiteral("verdata.mul")));
    QVERIFY(!reader.Open());
    QVERIFY(!reader.Opened());
    QVERIFY(boxes.Shown.isEmpty());
}

void TestVerdataReader::openingTwiceReopens()
{
    ArtWriter writer;
    writer.AddPatchRecord(Art, Base + 3, 100, 10);
    const PatchFolder folder(writer);
    TVerdataReader reader(folder.Path());
    QVERIFY(reader.Open());
    QVERIFY(reader.Open());
    reader.LoadPatches();
    QCOMPARE(reader.PatchCount(), 1);
}

void TestVerdataReader::patchIndexOutsideTheList()
{
    ArtWriter writer;
    writer.AddPatchRecord(Art, Base, 100, 10);
    const PatchFolder folder(writer);
    TVerdataReader reader(folder.Path());
    QVERIFY(reader.Open());
    reader.LoadPatches();
    TPatchEntry patch;
    for (const std::int32_t index : {-1, 1}) {
        try {
            reader.GetPatch(index, patch);
            QFAIL("an index outside the list was accepted");
        } catch (const Error &) {
        }
    }
}

void TestVerdataReader::drawPatchDecodesRunLength()
{
    // The header word says raw; patch data is run-length all the same.
    const ArtWriter::Pixels picture = {0x001F, White, 0x7C00, 0x03E0, 0x1234, White};
    ArtWriter writer;
    writer.AddPatch(Art, Base, ArtWriter::RunLengthEntry(ArtWriter::RunsOf(3, 2, picture, White, 0)));
    const PatchFolder folder(writer);
    TVerdataReader reader(folder.Path());
    QVERIFY(reader.Open());
    reader.LoadPatches();
    reader.Close();
    TPatchEntry patch;
    reader.GetPatch(0, patch);

    QImage target = Filled(9, 9, 0x0421);
    QPoint size;
    reader.DrawPatch(patch.Offset, target, size);
    QCOMPARE(target, Picture(3, 2, picture));
    QCOMPARE(size, QPoint(3, 2));
}

void TestVerdataReader::failedListReadLeavesThePatchFileClosed()
{
    ArtWriter writer;
    writer.AddPatch(Art, Base, Sample{1, 1, 0x001F}.Entry());
    const QTemporaryDir dir;
    writer.WriteTo(dir.path());
    FileProbe::Set([](FileProbe::Step Step, const std::string &Path, std::int64_t) {
        return Step == FileProbe::Step::Read && QString::fromStdString(Path).endsWith(QStringLiteral("verdata.mul"));
    });
    try {
        TArtReader reader(dir.filePath(QStringLiteral("art.mul")), dir.filePath(QStringLiteral("artidx.mul")), true);
        QFAIL("a failed read of the patch list went unreported");
    } catch (const Error &e) {
        QCOMPARE(QString::fromUtf8(e.what()), TestFiles::ReadFailureText(dir.filePath(QStringLiteral("verdata.mul"))));
    }
    FileProbe::Set({});
    QVERIFY(SharedPatchReader() != nullptr);
    QVERIFY(!SharedPatchReader()->Opened());
}

QTEST_MAIN(TestVerdataReader)
#include "test_verdatareader.moc"
