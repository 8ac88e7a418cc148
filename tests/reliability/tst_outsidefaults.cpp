// Faults that come from outside the program: the tile data file deleted,
// made read-only, replaced by a folder, cut short or held by another
// process between load and save, and files too short at every part of
// their layout. Each time: a clear message, no crash, no byte lost.

#include "platform/Error.h"
#include "tests/reliability/StoreModelRun.h"
#include "tests/reliability/TileFileModel.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TileDataWriter.h"
#include "tiledata/TileDataReader.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifdef _WIN32
#include "platform/FileSystem.h"

#include <windows.h>
#else
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include <memory>

namespace {

enum class Fault { Deleted, Folder, ReadOnly, CutShort, Grown };
enum class Holder { Reader, Writer, ExclusiveSave };

const QString InUse = QStringLiteral("The file is in use by another process");

#ifndef _WIN32
// Sets or clears the immutable attribute, which stops every writer,
// root included. False where the file system or our privileges do not
// allow it.
bool SetImmutable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}
#endif

// Makes a file read-only for this process until destroyed. Root ignores
// permission bits, so root gets the immutable attribute instead. On Windows
// the permissions are the file's read-only attribute, which binds everyone.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const QString &path)
        : FPath(path)
    {
#ifndef _WIN32
        if (SetImmutable(path, true)) {
            FHow = How::Immutable;
            return;
        }
        if (::geteuid() == 0)
            return;
#endif
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        FHow = How::Permissions;
#ifdef _WIN32
        // Wine run by root lets a write through the read-only attribute.
        if (QFile(path).open(QIODevice::ReadWrite))
            Undo();
#endif
    }
    ~ReadOnlyFile() { Undo(); }
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    bool Made() const { return FHow != How::None; }
    // What the system says when the save opens the file.
    QString Reason() const
    {
#ifdef _WIN32
        return QString::fromStdString(FileSystem::SystemErrorText(ERROR_ACCESS_DENIED));
#else
        return FHow == How::Immutable ? QStringLiteral("Operation not permitted") : QStringLiteral("Permission denied");
#endif
    }
    void Undo()
    {
#ifndef _WIN32
        if (FHow == How::Immutable)
            SetImmutable(FPath, false);
#endif
        if (FHow == How::Permissions)
            QFile::setPermissions(FPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        FHow = How::None;
    }

private:
    enum class How { None, Immutable, Permissions };
    QString FPath;
    How FHow = How::None;
};

QString OpenError(const QString &path, const QString &reason)
{
    return TestFiles::CannotOpenText(path, reason);
}

QString SaveError(TTileData &store)
{
    try {
        store.Save();
    } catch (const Error &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Holder)

class OutsideFaultsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    TileDataWriter FWriter{41};
    QString FPath;
    std::unique_ptr<TTileData> FStore;
    std::vector<unsigned char> FExpected; // the file after a save of the edits

    // Writes a fresh file, loads it and makes the same edits in the store
    // and in a model, which gives the bytes a save must write.
    void LoadAndEdit(const char *name)
    {
        FPath = FDir.filePath(QLatin1String(name));
        FWriter.WriteTo(FPath);
        FStore = std::make_unique<TTileData>(FPath);
        QStringList lines;
        FStore->LoadTiles(lines);
        TileFileModel model(FWriter.Bytes());
        model.Load();
        FStore->SetName(31, QStringLiteral("abcdefghijklmnopqrst"));
        model.SetName(31, "abcdefghijklmnopqrst");
        FStore->SetFlags(0x3FFE, 0xDEADBEEF);
        model.SetField(0x3FFE, 0, 4, 0xDEADBEEF);
        FStore->SetAnim(5, 0x1FFFF);
        model.SetField(5, 10, 2, 0x1FFFF);
        model.Save();
        FExpected = model.Image();
    }

    // Starts a process that holds the file in the given way.
    void StartHolder(QProcess &process, Holder how)
    {
        if (how == Holder::ExclusiveSave) {
            process.start(QStringLiteral(LEASE_HOLDER), {FPath});
        } else {
#ifdef _WIN32
            process.start(QStringLiteral(SHARE_HOLDER), {how == Holder::Reader ? "read" : "write", FPath});
#else
            const QString script = how == Holder::Reader ? QStringLiteral("exec 3<\"$1\"; echo held; exec cat")
                                                         : QStringLiteral("exec 3>>\"$1\"; echo held; exec cat");
            process.start(QStringLiteral("sh"), {QStringLiteral("-c"), script, QStringLiteral("sh"), FPath});
#endif
        }
        QVERIFY(process.waitForReadyRead(10000));
        QCOMPARE(process.readAllStandardOutput().trimmed(), QByteArray("held"));
    }

private slots:
    void init()
    {
        FWriter = TileDataWriter(41);
        FWriter.RandomizeRecords();
    }
    void cleanup() { FStore.reset(); }

    void saveAfterTheFileChanged_data();
    void saveAfterTheFileChanged();
    void saveWhileAnotherProcessHoldsTheFile_data();
    void saveWhileAnotherProcessHoldsTheFile();
    void openWhileAnotherProcessSaves();
    void truncatedFiles_data();
    void truncatedFiles();
};

void OutsideFaultsTest::saveAfterTheFileChanged_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::newRow("deleted") << Fault::Deleted;
    QTest::newRow("replaced by a folder") << Fault::Folder;
    QTest::newRow("made read-only") << Fault::ReadOnly;
    QTest::newRow("cut short by another program") << Fault::CutShort;
    QTest::newRow("grown by another program") << Fault::Grown;
}

void OutsideFaultsTest::saveAfterTheFileChanged()
{
    QFETCH(Fault, fault);
    LoadAndEdit("changed.mul");
    const QByteArray tail(300, 'T');

    std::unique_ptr<ReadOnlyFile> readOnly;
    switch (fault) {
    case Fault::Deleted:
        QVERIFY(QFile::remove(FPath));
        QCOMPARE(SaveError(*FStore), OpenError(FPath, TestFiles::OpenFailureReason(TestFiles::OpenFailure::NoFile)));
        QVERIFY(!QFileInfo::exists(FPath)); // a save never creates the file
        FWriter.WriteTo(FPath);             // the user puts it back
        break;
    case Fault::Folder:
        QVERIFY(QFile::remove(FPath));
        QVERIFY(QDir().mkdir(FPath));
        QCOMPARE(SaveError(*FStore), OpenError(FPath, TestFiles::OpenFailureReason(TestFiles::OpenFailure::IsAFolder)));
        QVERIFY(QFileInfo(FPath).isDir());
        QVERIFY(QDir().rmdir(FPath));
        FWriter.WriteTo(FPath);
        break;
    case Fault::ReadOnly:
        readOnly = std::make_unique<ReadOnlyFile>(FPath);
        if (!readOnly->Made())
            QSKIP("nothing here makes a file read-only for root: no immutable attribute, or wine ignoring the read-only one");
        QCOMPARE(SaveError(*FStore), OpenError(FPath, readOnly->Reason()));
        QVERIFY(TestFiles::ReadBytes(FPath) == FWriter.Bytes());
        readOnly->Undo();
        break;
    case Fault::CutShort: {
        QFile file(FPath);
        QVERIFY(file.resize(1000));
        break;
    }
    case Fault::Grown: {
        QFile file(FPath);
        QVERIFY(file.open(QIODevice::Append));
        QCOMPARE(file.write(tail), qint64(tail.size()));
        FExpected.insert(FExpected.end(), tail.begin(), tail.end());
        break;
    }
    }

    // The edits survived the failure in memory and reach the file now. A
    // file changed behind the store's back gets the whole image again.
    QCOMPARE(SaveError(*FStore), QString());
    QVERIFY(TestFiles::ReadBytes(FPath) == FExpected);
}

void OutsideFaultsTest::saveWhileAnotherProcessHoldsTheFile_data()
{
    QTest::addColumn<Holder>("holder");
    QTest::addColumn<bool>("inUse");
    // A reader that keeps the file open must not make saving impossible.
    QTest::newRow("open for reading") << Holder::Reader << false;
    QTest::newRow("open for writing") << Holder::Writer << true;
    QTest::newRow("in the middle of its own save") << Holder::ExclusiveSave << true;
}

void OutsideFaultsTest::saveWhileAnotherProcessHoldsTheFile()
{
    QFETCH(Holder, holder);
    QFETCH(bool, inUse);
    LoadAndEdit("held.mul");
    QProcess process;
    StartHolder(process, holder);

    if (!inUse) {
        QCOMPARE(SaveError(*FStore), QString());
        QVERIFY(TestFiles::ReadBytes(FPath) == FExpected);
        return;
    }
    QCOMPARE(SaveError(*FStore), OpenError(FPath, InUse));
    QCOMPARE(SaveError(*FStore), OpenError(FPath, InUse));

    // The other process lets go (only then can the file be read: an open
    // waits for a save in progress); the next save goes through.
    process.write("\n");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(TestFiles::ReadBytes(FPath) == FWriter.Bytes());
    QCOMPARE(SaveError(*FStore), QString());
    QVERIFY(TestFiles::ReadBytes(FPath) == FExpected);
}

void OutsideFaultsTest::openWhileAnotherProcessSaves()
{
    FPath = FDir.filePath(QStringLiteral("saving.mul"));
    FWriter.WriteTo(FPath);
    QProcess process;
    StartHolder(process, Holder::ExclusiveSave);
    try {
        TTileData store(FPath);
        QFAIL("opened a file that another program holds for its save");
    } catch (const Error &e) {
        QCOMPARE(QString::fromUtf8(e.what()), OpenError(FPath, InUse));
    }
    process.write("\n");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(10000));
    TTileData store(FPath); // and opens once the other program is done

    // A save that ends within the half second of retries is waited out.
    QProcess shortSave;
    StartHolder(shortSave, Holder::ExclusiveSave);
    shortSave.write("\n");
    QVERIFY(shortSave.waitForBytesWritten(10000));
    TTileData waited(FPath);
    QVERIFY(shortSave.waitForFinished(10000));
}

void OutsideFaultsTest::truncatedFiles_data()
{
    QTest::addColumn<qint64>("length");
    const qint64 record0 = qint64(TileDataWriter::OffsetOf(0));
    const qint64 group1 = qint64(TileDataWriter::OffsetOf(32)) - 4;
    QTest::newRow("empty") << qint64(0);
    QTest::newRow("one byte") << qint64(1);
    QTest::newRow("inside the leading section") << qint64(200000);
    QTest::newRow("the leading section only") << record0 - 4;
    QTest::newRow("inside the first group header") << record0 - 2;
    QTest::newRow("up to the first record") << record0;
    QTest::newRow("inside the first flags") << record0 + 2;
    QTest::newRow("inside the first fields") << record0 + 11;
    QTest::newRow("up to the first name") << record0 + 17;
    QTest::newRow("inside the first name") << record0 + 25;
    QTest::newRow("one byte short of the first record") << record0 + 36;
    QTest::newRow("the first record") << record0 + 37;
    QTest::newRow("inside a group header") << group1 + 3;
    QTest::newRow("up to a group's first record") << group1 + 4;
    QTest::newRow("one byte short of the last record") << qint64(TileDataWriter::RecordsEnd) - 1;
    QTest::newRow("up to the end of the last record") << qint64(TileDataWriter::RecordsEnd);
}

void OutsideFaultsTest::truncatedFiles()
{
    QFETCH(qint64, length);
    FWriter.Truncate(std::size_t(length));
    const QString path = FDir.filePath(QStringLiteral("short-%1.mul").arg(length));
    FWriter.WriteTo(path);
    try {
        // Edits, saves, reloads and reopens against the model: the file
        // keeps its length and every byte outside the records.
        StoreModelRun run(quint32(length), path, FWriter.Bytes());
        run.Run(150);
    } catch (const std::exception &e) {
        QFAIL(e.what());
    }
}

QTEST_MAIN(OutsideFaultsTest)
#include "tst_outsidefaults.moc"
