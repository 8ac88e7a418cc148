// Container art in the art view: which art of a folder the view binds, and
// the patch file over container art. The patch list is created once per
// process, from the first folder bound, so these run in a process of their
// own.

#include "art/VellArtReader.h"
#include "tests/art/ArtTestSupport.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/ContainerWriter.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ArtTestSupport;

namespace {

constexpr int Base = ArtWriter::StaticArtBase;
const Sample InContainer{2, 3, 0x001F};
const Sample InArtFile{4, 1, 0x03E0};
const Sample PatchForMissing{3, 3, 0x7C00};
const Sample PatchForPresent{5, 2, 0x1234};

} // namespace

class TestPackedPatches : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void source_data();
    void source();

private:
    QTemporaryDir FBoth;
    QTemporaryDir FArtOnly;
    QTemporaryDir FNone;
};

void TestPackedPatches::initTestCase()
{
    // The folder with both kinds comes first, so its patch file is the one
    // of the process: it patches tile 1, which the container lacks, and
    // tile 0, which it holds.
    ContainerWriter container(2);
    container.AddArt(Base, InContainer.Entry(), true);
    container.WriteTo(FBoth.filePath(QStringLiteral("artLegacyMUL.uop")));
    ArtWriter art;
    art.PadToEntry(Base);
    art.AddEntry(InArtFile.Entry());
    art.AddPatch(ArtWriter::ArtFileId, Base + 1, PatchForMissing.Entry());
    art.AddPatch(ArtWriter::ArtFileId, Base, PatchForPresent.Entry());
    art.WriteTo(FBoth.path());
    art.WriteArtFilesTo(FArtOnly.path());
}

void TestPackedPatches::source_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("tile");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QImage>("image");
    QTest::newRow("both: the container") << FBoth.path() << 0 << "artLegacyMUL.uop" << InContainer.Image();
    QTest::newRow("both: a patch for a missing entry") << FBoth.path() << 1 << "artLegacyMUL.uop"
                                                       << PatchForMissing.Image();
    QTest::newRow("art.mul alone") << FArtOnly.path() << 0 << "art.mul" << InArtFile.Image();
    QTest::newRow("no art") << FNone.path() << 0 << "" << QImage();
}

void TestPackedPatches::source()
{
    QFETCH(QString, folder);
    QFETCH(int, tile);
    QFETCH(QString, source);
    TVellArtReader view;
    view.SetArtMulPath(folder);
    QCOMPARE(view.ArtSourceName(), source);
    QCOMPARE(TVellArtReader::HasArtIn(folder), !source.isEmpty());
    QImage target;
    QPoint size;
    view.DrawArt(Base + tile, target, size);
    QTEST(target, "image");
}

QTEST_MAIN(TestPackedPatches)
#include "test_packedpatches.moc"
