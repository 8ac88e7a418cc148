// What a save writes, and what it leaves on the disk when a write fails.

#include "platform/Error.h"
#include "platform/FileProbe.h"
#include "platform/FileSystem.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TileDataWriter.h"
#include "tiledata/TileDataReader.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <memory>

using FileProbe::Step;

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t Syncs = 0;
volatile std::sig_atomic_t SyncsWhenSignalled = -1;

extern "C" void RecordSignal(int)
{
    SyncsWhenSignalled = Syncs;
}

} // namespace
#endif

class SaveWritesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FPath;
    std::vector<unsigned char> FBefore;
    std::unique_ptr<TTileData> FStore;

    // A store with four edits that lie apart: land tile 3 and item tiles 0,
    // 100 and 5000, so a save writes four stretches.
    void OpenEdited(std::size_t size = TileDataWriter::FullSize)
    {
        FPath = FDir.filePath("tiledata.mul");
        // A row whose put-back failed leaves its journal for the next open.
        QFile::remove(FPath + "-journal");
        TileDataWriter writer(71, size);
        writer.RandomizeRecords();
        writer.WriteTo(FPath);
        FBefore = writer.Bytes();
        FStore = std::make_unique<TTileData>(FPath);
        QStringList lines;
        FStore->LoadTiles(lines);
        FStore->SetFlags(TTileKind::Land, 3, FStore->GetFlags(TTileKind::Land, 3) ^ 1);
        for (const int tile : {0, 100, 5000})
            FStore->SetWeight(tile, FStore->GetWeight(tile) ^ 0x55);
    }

    // The probes below see only the file's own steps, not the journal's.
    bool OfFile(const std::string &Path) const { return Path == FPath.toStdString(); }

    QString SaveError()
    {
        try {
            FStore->Save();
        } catch (const Error &e) {
            return QString::fromUtf8(e.what());
        }
        return QString();
    }

    // The system's text for a failed write as the file seam makes one: EIO
    // on POSIX, ERROR_WRITE_FAULT (29) on Windows.
    static QString WriteFailure()
    {
#ifdef _WIN32
        return QString::fromStdString(FileSystem::SystemErrorText(29));
#else
        return QString::fromStdString(FileSystem::SystemErrorText(EIO));
#endif
    }

private slots:
    void cleanup() { FileProbe::Set({}); }

    void saveWritesOnlyTheEditedRecords_data()
    {
        QTest::addColumn<int>("edits");
        QTest::addColumn<int>("writes");
        QTest::newRow("no edits: nothing written, nothing flushed") << 0 << 0;
        QTest::newRow("one tile: one write") << 1 << 1;
        QTest::newRow("two neighbours: one write") << 2 << 1;
    }

    void saveWritesOnlyTheEditedRecords()
    {
        QFETCH(int, edits);
        QFETCH(int, writes);
        FPath = FDir.filePath("only.mul");
        TileDataWriter(5).WriteTo(FPath);
        TTileData store(FPath);
        QStringList lines;
        store.LoadTiles(lines);
        for (int tile = 40; tile < 40 + edits; ++tile)
            store.SetHue(tile, store.GetHue(tile) + 1);
        std::vector<std::pair<Step, std::int64_t>> steps;
        FileProbe::Set([&](Step step, const std::string &path, std::int64_t offset) {
            if (step != Step::Read && OfFile(path))
                steps.push_back({step, offset});
            return false;
        });
        QVERIFY(store.Save());
        const auto count = [&steps](Step which) {
            return std::count_if(steps.begin(), steps.end(), [which](const auto &s) { return s.first == which; });
        };
        QCOMPARE(int(count(Step::Write)), writes);
        QCOMPARE(int(count(Step::Sync)), writes > 0 ? 1 : 0);
        if (writes > 0)
            QCOMPARE(steps.front().second, qint64(TileDataWriter::OffsetOf(40)));
    }

    // Whichever write or the flush fails, the file ends as it was before the
    // save, the message names the file and says so, and the edits stay.
    void failedWriteLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<int>("failingWrite"); // 0: the flush fails
        for (int k = 1; k <= 4; ++k)
            QTest::addRow("write %d of 4 fails", k) << k;
        QTest::newRow("the flush fails") << 0;
    }

    void failedWriteLeavesTheFileAsItWas()
    {
        QFETCH(int, failingWrite);
        OpenEdited();
        int writes = 0;
        FileProbe::Set([&](Step step, const std::string &path, std::int64_t) {
            if (!OfFile(path))
                return false;
            if (step == Step::Write)
                return ++writes == failingWrite;
            return step == Step::Sync && failingWrite == 0 && writes == 4;
        });
        QCOMPARE(SaveError(), QDir::toNativeSeparators(FPath) + ": " + WriteFailure() + "; nothing was changed");
        FileProbe::Set({});
        QVERIFY(TestFiles::ReadBytes(FPath) == FBefore);
        QVERIFY(FStore->IsModified());
        // The edits reach the file once the disk lets them.
        QCOMPARE(SaveError(), QString());
        QVERIFY(!FStore->IsModified());
    }

    // A folder where no journal can be made (read-only, say) does not stop
    // the save; the save says it was made without one.
    void saveWithoutAJournalSaysSo()
    {
        OpenEdited();
        FileProbe::Set([](Step step, const std::string &, std::int64_t) { return step == Step::Create; });
        QCOMPARE(SaveError(), QString());
        QCOMPARE(QString::fromStdString(FStore->SaveNote()),
                 QDir::toNativeSeparators(FPath) + " was saved without a journal ("
                     + QDir::toNativeSeparators(FPath) + "-journal: " + WriteFailure()
                     + "), so a kill or power cut during the save could have left it half-written");
        QVERIFY(TestFiles::ReadBytes(FPath) != FBefore);
        QVERIFY(!QFile::exists(FPath + "-journal"));
    }

    // Write calls are counted, so a write cut short takes two: the first
    // half lands, the call for the rest fails. Only bytes that reached the
    // file are put back, and only tiles whose bytes did are named.
    void failedPutBackSaysTheFileMayHoldPartOfTheSave_data()
    {
        QTest::addColumn<int>("failingCall");
        QTest::addColumn<int>("cutCall"); // 0: no write is cut short
        QTest::addColumn<bool>("putBackFails");
        QTest::addColumn<QString>("left"); // empty: the file is whole again
        QTest::newRow("second write fails, putting back the first fails") << 2 << 0 << true << "land 0x3";
        QTest::newRow("first write fails, nothing landed") << 1 << 0 << true << "";
        QTest::newRow("second write cut short, then fails") << 3 << 2 << false << "";
        QTest::newRow("second write cut short, then fails, putting back fails") << 3 << 2 << true << "land 0x3, 0x0";
    }

    void failedPutBackSaysTheFileMayHoldPartOfTheSave()
    {
        QFETCH(int, failingCall);
        QFETCH(int, cutCall);
        QFETCH(bool, putBackFails);
        QFETCH(QString, left);
        OpenEdited();
        int calls = 0;
        FileProbe::Set([&](Step step, const std::string &path, std::int64_t) {
            if (!OfFile(path))
                return false;
            if (step == Step::Cut)
                return calls == cutCall;
            return step == Step::Write && (++calls == failingCall || (putBackFails && calls > failingCall));
        });
        const QString failure = QDir::toNativeSeparators(FPath) + ": " + WriteFailure();
        QCOMPARE(SaveError(), left.isEmpty() ? failure + "; nothing was changed"
                                             : failure + "; putting the old bytes back failed too, so the file may "
                                                         "hold part of this save: " + left
                                                   + "; opening the file again completes the save");
        if (left.isEmpty())
            QVERIFY(TestFiles::ReadBytes(FPath) == FBefore);
    }

#ifndef _WIN32
    // A file turned away for good with EAGAIN fails the save with the
    // file's name, after a bounded number of tries.
    void busyFileFailsTheSave_data()
    {
        QTest::addColumn<int>("step");
        QTest::newRow("reading it") << int(Step::Read);
        QTest::newRow("writing it") << int(Step::Write);
    }

    void busyFileFailsTheSave()
    {
        QFETCH(int, step);
        OpenEdited();
        int calls = 0;
        FileProbe::SetFailureError(EAGAIN);
        // Far more tries than anyone would wait for, then the file is free.
        FileProbe::Set([&](Step at, const std::string &path, std::int64_t) {
            return OfFile(path) && int(at) == step && ++calls < 100000;
        });
        const QString error = SaveError();
        FileProbe::SetFailureError(EIO);
        QVERIFY2(error.startsWith(QDir::toNativeSeparators(FPath) + ": Resource temporarily unavailable"),
                 qPrintable(error));
        QVERIFY(calls < 1000);
    }

    // Putting back many stretches of a file that stays busy gives up after
    // a few seconds in all, not half a second each, and names what is left.
    void busyPutBackIsBoundedInAll()
    {
        OpenEdited();
        for (int tile = 1000; tile < 1400; tile += 2)
            FStore->SetHue(tile, FStore->GetHue(tile) ^ 1);
        int writes = 0;
        int retries = 0;
        FileProbe::Set([&](Step step, const std::string &path, std::int64_t) {
            if (!OfFile(path) || step != Step::Write || ++writes < 150)
                return false;
            retries += writes > 150 ? 1 : 0;
            FileProbe::SetFailureError(writes == 150 ? EIO : EAGAIN);
            return true;
        });
        const QString error = SaveError();
        FileProbe::SetFailureError(EIO);
        QVERIFY2(error.contains("putting the old bytes back failed too"), qPrintable(error));
        QVERIFY2(retries < 1000, qPrintable(QString::number(retries)));
    }

    void stopRequestWaitsUntilTheFileIsWhole_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("atCall");
        QTest::addColumn<bool>("writeFails"); // the fourth write, so that three are put back
        QTest::newRow("SIGTERM at the third write") << SIGTERM << 3 << false;
        QTest::newRow("SIGINT at the first write") << SIGINT << 1 << false;
        QTest::newRow("SIGHUP while putting back") << SIGHUP << 5 << true;
        QTest::newRow("SIGQUIT at the second write") << SIGQUIT << 2 << false;
        QTest::newRow("SIGUSR1 while putting back") << SIGUSR1 << 6 << true;
        QTest::newRow("SIGTSTP (Ctrl+Z) at the second write") << SIGTSTP << 2 << false;
    }

    // A real signal, sent at a chosen write, is acted on (here by the
    // test's handler) only after the flush that makes the file whole.
    void stopRequestWaitsUntilTheFileIsWhole()
    {
        QFETCH(int, signal);
        QFETCH(int, atCall);
        QFETCH(bool, writeFails);
        OpenEdited();
        const auto previous = std::signal(signal, RecordSignal);
        Syncs = 0;
        SyncsWhenSignalled = -1;
        int calls = 0;
        FileProbe::Set([&](Step step, const std::string &path, std::int64_t) {
            if (!OfFile(path))
                return false;
            Syncs = Syncs + (step == Step::Sync ? 1 : 0);
            if (step != Step::Write)
                return false;
            if (++calls == atCall)
                ::kill(::getpid(), signal);
            return writeFails && calls == 4;
        });
        const QString error = SaveError();
        std::signal(signal, previous);
        QCOMPARE(int(SyncsWhenSignalled), 1);
        QCOMPARE(error.isEmpty(), !writeFails);
        QCOMPARE(TestFiles::ReadBytes(FPath) == FBefore, writeFails);
    }

    // A request to stop that arrives while a failed save puts the old bytes
    // back ends the program only after its message is out: in a child
    // process, where SIGTERM has its default action.
    void failureIsToldBeforeTheSignalEndsTheProgram()
    {
        OpenEdited();
        const TestFiles::ChildRun run = TestFiles::RunInChild([this] {
            std::signal(SIGTERM, SIG_DFL);
            int calls = 0;
            FileProbe::Set([&](Step step, const std::string &path, std::int64_t) {
                if (!OfFile(path))
                    return false;
                if (step == Step::Write && ++calls == 5)
                    ::kill(::getpid(), SIGTERM);
                return step == Step::Write && calls == 4;
            });
            SaveError();
        });
        QVERIFY(WIFSIGNALED(run.Status) && WTERMSIG(run.Status) == SIGTERM);
        QCOMPARE(QString::fromUtf8(run.Told),
                 QDir::toNativeSeparators(FPath) + ": " + WriteFailure() + "; nothing was changed\n");
        QVERIFY(TestFiles::ReadBytes(FPath) == FBefore);
    }
#endif

    void shortFileWarning_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("warning");
        QTest::newRow("whole") << qint64(TileDataWriter::RecordsEnd) << QString();
        QTest::newRow("500 KB") << qint64(512000)
                                << "tiledata.mul is 512,000 bytes long and holds 2,261 of the 16,383 tiles; the "
                                   "others cannot be edited";
        QTest::newRow("empty") << qint64(0)
                               << "tiledata.mul is 0 bytes long and holds 0 of the 16,383 tiles; the others cannot "
                                  "be edited";
    }

    // A short file says how much of it can be edited, and an edit beyond its
    // end is never made, so a save cannot report success for it.
    void shortFileWarning()
    {
        QFETCH(qint64, size);
        QFETCH(QString, warning);
        OpenEdited(std::size_t(size));
        QCOMPARE(FStore->ShortFileWarning(), warning);
        const int last = FStore->ItemCount() - 1;
        FStore->SetName(last, "beyond");
        QCOMPARE(FStore->IsWhole(TTileKind::Item, last), warning.isEmpty());
        QCOMPARE(FStore->GetName(last) == QLatin1String("beyond"), warning.isEmpty());
    }
};

QTEST_GUILESS_MAIN(SaveWritesTest)
#include "tst_savewrites.moc"
