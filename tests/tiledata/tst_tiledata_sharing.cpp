#include "platform/Error.h"
#include "platform/ExclusiveWriteFile.h"
#include "platform/SharedReadFile.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TileDataWriter.h"
#include "tiledata/TileDataReader.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Saving needs the file to ourselves; these tests hold it open from other
// processes and other descriptors.
class TileDataSharingTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;

    // Starts another program that opens the file and keeps it open: on
    // Windows one that wants the file to itself (no sharing), elsewhere a
    // shell that may write to it (a reader alone would not keep a save
    // out).
    static void HoldOpen(QProcess &process, const QString &path)
    {
#ifdef _WIN32
        process.start(SHARE_HOLDER, {"none", path});
#else
        process.start("sh", {"-c", "exec 3>>\"$1\"; echo held; exec sleep 60", "sh", path});
#endif
        QVERIFY(process.waitForReadyRead(10000));
        QCOMPARE(process.readAllStandardOutput().trimmed(), QByteArray("held"));
    }

    static std::unique_ptr<TTileData> Loaded(const QString &path)
    {
        auto store = std::make_unique<TTileData>(path);
        QStringList lines;
        store->LoadTiles(lines);
        return store;
    }

    static void ExpectInUse(TTileData &store, const QString &path)
    {
        try {
            store.Save();
            QFAIL("saved while the file was open elsewhere");
        } catch (const Error &e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     TestFiles::CannotOpenText(path, "The file is in use by another process"));
        }
    }

private slots:
    void saveRefusedWhileAnotherProcessHasTheFile();
    void saveRefusedWhileThisProcessHasTheFileOpen();
    void leaseHolderSurvivesAnotherOpen();
    void readRefusedWhileASaveHoldsTheFile();
    void modifiedComparesBytes_data();
    void modifiedComparesBytes();
    void saveAsksBeforeOverwritingAnotherProgramsChange_data();
    void saveAsksBeforeOverwritingAnotherProgramsChange();
    void questionLeavesTheFileFree();
};

void TileDataSharingTest::saveRefusedWhileAnotherProcessHasTheFile()
{
    const QString path = FDir.filePath("held.mul");
    TileDataWriter writer(31);
    writer.WriteTo(path);
    auto store = std::make_unique<TTileData>(path);
    QStringList lines;
    store->LoadTiles(lines);
    store->SetName(5, "edited");

    QProcess holder;
    HoldOpen(holder, path);
    ExpectInUse(*store, path);

    // Nobody can read the file while a Windows holder has it to itself, so
    // it is checked once the holder is gone.
    holder.kill();
    QVERIFY(holder.waitForFinished(10000));
    QVERIFY(TestFiles::ReadBytes(path) == writer.Bytes());
    store->Save();
    TileDataWriter::Record expected = writer.ReadRecord(5);
    expected.Name = "edited";
    writer.SetRecord(5, expected);
    QVERIFY(TestFiles::ReadBytes(path) == writer.Bytes());
}

void TileDataSharingTest::saveRefusedWhileThisProcessHasTheFileOpen()
{
    const QString path = FDir.filePath("own.mul");
    TileDataWriter(37).WriteTo(path);
    auto store = std::make_unique<TTileData>(path);
    QStringList lines;
    store->LoadTiles(lines);
    {
        // A descriptor that may write: one that only reads lets a save go
        // ahead.
        QFile writer(path);
        QVERIFY(writer.open(QIODevice::ReadWrite));
        ExpectInUse(*store, path);
    }
    store->Save();
}

void TileDataSharingTest::leaseHolderSurvivesAnotherOpen()
{
#ifdef _WIN32
    QSKIP("Windows has no leases: an open during a save is refused, not kept waiting");
#endif
    const QString path = FDir.filePath("lease.bin");
    TestFiles::WriteBytes(path, QByteArray("old contents"));

    ExclusiveWriteFile file(path.toStdString());
    // The reader's open waits until we give the file up; meanwhile the kernel
    // tells us about it with a signal that must not end this process.
    QProcess reader;
    reader.start("cat", {path});
    QVERIFY(reader.waitForStarted(10000));
    QVERIFY(!reader.waitForFinished(500));

    file.WriteAllAt(0, "new", 3);
    file.Flush();
    file.Close();

    QVERIFY(reader.waitForFinished(10000));
    QCOMPARE(reader.readAllStandardOutput(), QByteArray("new contents"));
}

void TileDataSharingTest::readRefusedWhileASaveHoldsTheFile()
{
    const QString path = FDir.filePath("reading.bin");
    TestFiles::WriteBytes(path, QByteArray("contents"));
    ExclusiveWriteFile file(path.toStdString());
    try {
        SharedReadFile reader(path.toStdString());
        QFAIL("read while a save held the file");
    } catch (const Error &e) {
        QCOMPARE(QString::fromUtf8(e.what()),
                 TestFiles::CannotOpenText(path, "The file is in use by another process"));
    }
    file.Close();
    QCOMPARE(SharedReadFile(path.toStdString()).Size(), std::int64_t(8));
}

void TileDataSharingTest::modifiedComparesBytes_data()
{
    QTest::addColumn<qint64>("length");
    QTest::addColumn<int>("tile");
    QTest::addColumn<bool>("modified");
    const qint64 full = qint64(TileDataWriter::FullSize);
    QTest::newRow("whole file") << full << 0 << true;
    QTest::newRow("whole file, last tile") << full << 0x3FFE << true;
    // A tile not wholly in the file cannot be edited, so no edit is made that
    // a save could not write.
    QTest::newRow("short file, tile cut in half") << qint64(TileDataWriter::OffsetOf(40) + 6) << 40 << false;
    QTest::newRow("short file, tile past the end") << qint64(TileDataWriter::OffsetOf(40) + 4) << 40 << false;
}

void TileDataSharingTest::modifiedComparesBytes()
{
    QFETCH(qint64, length);
    QFETCH(int, tile);
    QFETCH(bool, modified);
    const QString path = FDir.filePath(QString("modified-%1.mul").arg(length));
    TileDataWriter writer(43, std::size_t(length));
    writer.WriteTo(path);
    auto store = Loaded(path);
    QVERIFY(!store->IsModified());

    const int weight = store->GetWeight(tile);
    store->SetWeight(tile, weight + 1);
    QCOMPARE(store->IsModified(), modified);
    store->SetWeight(tile, weight); // typed back
    QVERIFY(!store->IsModified());

    store->SetWeight(tile, weight + 1);
    store->Save();
    QVERIFY(!store->IsModified());
    QCOMPARE(TestFiles::ReadBytes(path).size(), std::size_t(length));
}

void TileDataSharingTest::saveAsksBeforeOverwritingAnotherProgramsChange_data()
{
    QTest::addColumn<bool>("changedElsewhere");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<int>("theirTile"); // the tile whose weight the other program changed
    QTest::newRow("unchanged: no question") << false << false << 9;
    QTest::newRow("changed, overwrite") << true << true << 9;
    QTest::newRow("changed, cancel") << true << false << 9;
    QTest::newRow("both changed tile 3, overwrite") << true << true << 3;
}

void TileDataSharingTest::saveAsksBeforeOverwritingAnotherProgramsChange()
{
    QFETCH(bool, changedElsewhere);
    QFETCH(bool, overwrite);
    QFETCH(int, theirTile);
    const QString path = FDir.filePath("changed.mul");
    TileDataWriter writer(47);
    writer.WriteTo(path);
    auto store = Loaded(path);
    store->SetName(3, "ours");
    const std::size_t theirs = TileDataWriter::OffsetOf(theirTile) + 4; // the tile's weight
    // The other program also changes a group header and a land record.
    const std::vector<std::size_t> alsoTheirs = {428032, 100};
    if (changedElsewhere) {
        QVERIFY(TestFiles::WriteByteElsewhere(path, theirs, 'T'));
        for (const std::size_t at : alsoTheirs)
            QVERIFY(TestFiles::WriteByteElsewhere(path, at, 'U'));
    }
    const std::vector<unsigned char> onDisk = TestFiles::ReadBytes(path);

    int asked = 0;
    std::vector<int> conflicts;
    const bool saved = store->Save([&](const TSaveConflicts &both) {
        ++asked;
        conflicts = both.Items;
        return overwrite;
    });
    QCOMPARE(asked, changedElsewhere ? 1 : 0);
    QCOMPARE(conflicts, changedElsewhere && theirTile == 3 ? std::vector<int>{3} : std::vector<int>{});
    QCOMPARE(saved, !changedElsewhere || overwrite);
    if (!saved) {
        QVERIFY(TestFiles::ReadBytes(path) == onDisk);
        QVERIFY(store->IsModified());
        QCOMPARE(store->GetName(3), QString("ours"));
        return;
    }
    // Only tile 3's record is ours; every other change of the other program stays.
    std::vector<unsigned char> expected = onDisk;
    const std::size_t name = TileDataWriter::OffsetOf(3) + 17;
    std::fill(expected.begin() + std::ptrdiff_t(name), expected.begin() + std::ptrdiff_t(name + 20), 0);
    std::copy_n("ours", 4, expected.begin() + std::ptrdiff_t(name));
    if (theirTile == 3)
        expected[theirs] = writer.Bytes()[theirs];
    QVERIFY(TestFiles::ReadBytes(path) == expected);
    QVERIFY(!store->IsModified());
    // The store now holds what the file holds, the other program's change included.
    if (changedElsewhere && theirTile != 3)
        QCOMPARE(store->GetWeight(theirTile), int('T'));
    // What we saved is what we expect to find next time.
    QVERIFY(store->Save([&](const TSaveConflicts &) { return ++asked, false; }));
    QCOMPARE(asked, changedElsewhere ? 1 : 0);
}

// While the changed-on-disk question is open, another program can write the
// file at once (a hold would keep it waiting: a lease for 45 seconds). A
// record it changes meanwhile is asked about again before anything is
// written.
void TileDataSharingTest::questionLeavesTheFileFree()
{
    const QString path = FDir.filePath("question.mul");
    TileDataWriter(53).WriteTo(path);
    auto store = Loaded(path);
    store->SetName(3, "ours");
    QVERIFY(TestFiles::WriteByteElsewhere(path, TileDataWriter::OffsetOf(9) + 4, 'T'));
    std::vector<std::vector<int>> questions;
    bool wroteMeanwhile = false;
    const bool saved = store->Save([&](const TSaveConflicts &both) {
        questions.push_back(both.Items);
        if (questions.size() == 1)
            wroteMeanwhile = TestFiles::WriteByteElsewhere(path, TileDataWriter::OffsetOf(3) + 4, 'U');
        return true;
    });
    QVERIFY(wroteMeanwhile);
    QVERIFY(saved);
    QCOMPARE(questions, (std::vector<std::vector<int>>{{}, {3}}));
    TileDataWriter written;
    written.Bytes() = TestFiles::ReadBytes(path);
    QCOMPARE(written.ReadRecord(3).Name, std::string("ours"));
    QCOMPARE(int(written.ReadRecord(9).Weight), int('T'));
}

QTEST_GUILESS_MAIN(TileDataSharingTest)
#include "tst_tiledata_sharing.moc"
