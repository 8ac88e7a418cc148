// The one patch list of the process, as readers draw absent entries from it.
// The list is created once per process, so the test functions run in order
// and build on each other.

#include "art/ReadArtIDX.h"
#include "art/unverdata.h"
#include "tests/art/ArtTestSupport.h"
#include "tests/support/ArtWriter.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace ArtTestSupport;

namespace {

constexpr std::int32_t Art = ArtWriter::ArtFileId;
constexpr std::int32_t Base = ArtWriter::StaticArtBase;

const Sample InArt{2, 1, 0x001F};
const Sample PresentInArt{1, 3, 0x03E0};
const Sample PatchForAbsent{3, 2, 0x7C00};
const Sample PatchForPresent{4, 4, 0x1234};
const Sample PatchBelowBase{2, 2, 0x0421};
const Sample PatchOtherFile{5, 1, 0x2222};
const Sample SecondFolderPatch{6, 1, 0x3333};

} // namespace

class TestSharedPatches : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readersWithoutPatchesCreateNoList();
    void firstReaderWithPatchesLoadsTheList();
    void drawing_data();
    void drawing();
    void laterReadersShareTheFirstList();

private:
    std::unique_ptr<TArtReader> Reader(const QTemporaryDir &Dir, bool UsePatches) const;
    void Expect(TArtReader &Reader, int Entry, const QImage &Expected, QPoint Size) const;

    QTemporaryDir FFirst;
    QTemporaryDir FSecond;
};

std::unique_ptr<TArtReader> TestSharedPatches::Reader(const QTemporaryDir &Dir, bool UsePatches) const
{
    return std::make_unique<TArtReader>(Dir.filePath(QStringLiteral("art.mul")),
                                        Dir.filePath(QStringLiteral("artidx.mul")), UsePatches);
}

void TestSharedPatches::Expect(TArtReader &Reader, int Entry, const QImage &Expected, QPoint Size) const
{
    QImage target = Filled(2, 2, 0x0001);
    QPoint size(9, 9);
    Reader.DrawArt(Entry, target, size);
    QCOMPARE(target, Expected);
    QCOMPARE(size, Size);
}

void TestSharedPatches::initTestCase()
{
    // Entries: 5 absent with a patch stored under a negative block;
    // 0x4000 present; 0x4001 absent with a patch; 0x4002 absent without
    // one (only a record of another file names it); 0x4003 present with a
    // patch as well.
    ArtWriter first;
    first.PadToEntry(Base);
    first.AddEntry(InArt.Entry());
    first.AddAbsent();
    first.AddAbsent();
    first.AddEntry(PresentInArt.Entry());
    first.AddPatch(Art, Base + 1, PatchForAbsent.Entry());
    first.AddPatch(Art, Base + 3, PatchForPresent.Entry());
    first.AddPatch(Art, 5, PatchBelowBase.Entry());
    first.AddPatch(3, Base + 2, PatchOtherFile.Entry());
    first.WriteTo(FFirst.path());

    // The same art, with a patch file that has a patch for 0x4002.
    ArtWriter secondPatches;
    secondPatches.AddPatch(Art, Base + 2, SecondFolderPatch.Entry());
    first.WriteArtFilesTo(FSecond.path());
    secondPatches.WriteVerdataTo(FSecond.path());
}

void TestSharedPatches::readersWithoutPatchesCreateNoList()
{
    QCOMPARE(SharedPatchReader(), nullptr);
    const auto reader = Reader(FFirst, false);
    QCOMPARE(SharedPatchReader(), nullptr);
    Expect(*reader, Base + 1, Filled(2, 2, White), QPoint(0, 0));
}

void TestSharedPatches::firstReaderWithPatchesLoadsTheList()
{
    const auto reader = Reader(FFirst, true);
    QVERIFY(SharedPatchReader() != nullptr);
    QCOMPARE(SharedPatchReader()->PatchCount(), 3);
    QVERIFY(!SharedPatchReader()->Opened());
}

void TestSharedPatches::drawing_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QImage>("expected");
    QTest::addColumn<QPoint>("size");
    QTest::newRow("present") << Base << InArt.Image() << QPoint(2, 1);
    QTest::newRow("absent, from its patch") << Base + 1 << PatchForAbsent.Image() << QPoint(3, 2);
    QTest::newRow("absent, no art patch") << Base + 2 << Filled(2, 2, White) << QPoint(0, 0);
    QTest::newRow("present beats its patch") << Base + 3 << PresentInArt.Image() << QPoint(1, 3);
    QTest::newRow("absent below 0x4000, from its patch") << 5 << PatchBelowBase.Image() << QPoint(2, 2);
    QTest::newRow("absent, no patch at all") << 6 << Filled(2, 2, White) << QPoint(0, 0);
}

void TestSharedPatches::drawing()
{
    QFETCH(int, entry);
    QFETCH(QImage, expected);
    QFETCH(QPoint, size);
    Expect(*Reader(FFirst, true), entry, expected, size);
}

void TestSharedPatches::laterReadersShareTheFirstList()
{
    TVerdataReader *const shared = SharedPatchReader();
    const auto reader = Reader(FSecond, true);
    QCOMPARE(SharedPatchReader(), shared);
    QCOMPARE(shared->PatchCount(), 3);
    // The second folder's patch file is never read: its patch for 0x4002
    // is unknown, and 0x4001 comes from the first folder's patch file.
    Expect(*reader, Base + 2, Filled(2, 2, White), QPoint(0, 0));
    Expect(*reader, Base + 1, PatchForAbsent.Image(), QPoint(3, 2));
}

QTEST_MAIN(TestSharedPatches)
#include "test_sharedpatches.moc"
