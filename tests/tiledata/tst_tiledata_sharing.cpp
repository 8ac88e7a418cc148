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

    // Starts a shell that opens the file for reading and keeps it open.
    static void HoldOpen(QProcess &process, const QString &path)
    {
        process.start("sh", {"-c", "exec 3<\"$1\"; echo held; exec sleep 60", "sh", path});
        QVERIFY(process.waitForReadyRead(10000));
        QCOMPARE(process.readAllStandardOutput(), QByteArray("held\n"));
    }

    static void ExpectInUse(TTileData &store, const QString &path)
    {
        try {
            store.Save();
            QFAIL("saved while the file was open elsewhere");
        } catch (const Error &e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QString("Cannot open file \"%1\". The file is in use by another process").arg(path));
        }
    }

private slots:
    void saveRefusedWhileAnotherProcessHasTheFile();
    void saveRefusedWhileThisProcessHasTheFileOpen();
    void leaseHolderSurvivesAnotherOpen();
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
    QVERIFY(TestFiles::ReadBytes(path) == writer.Bytes());

    holder.kill();
    QVERIFY(holder.waitForFinished(10000));
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
        SharedReadFile reader(path.toStdString());
        ExpectInUse(*store, path);
    }
    store->Save();
}

void TileDataSharingTest::leaseHolderSurvivesAnotherOpen()
{
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

QTEST_GUILESS_MAIN(TileDataSharingTest)
#include "tst_tiledata_sharing.moc"
