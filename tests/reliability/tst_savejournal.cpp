// A save cut off where nothing can catch it, a kill or a power cut, and the
// journals the next open finds beside the file.

#include "platform/FileProbe.h"
#include "tests/support/JournalWriter.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TileDataWriter.h"
#include "tiledata/JournalRecovery.h"
#include "tiledata/TileDataReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <memory>
#include <random>

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using FileProbe::Step;
using State = TJournalRecovery::TState;

class SaveJournalTest : public QObject
{
    Q_OBJECT

    // In memory where the system has such a folder: the hundreds of saves
    // below flush often, and what a flush promises is what the test models.
    QTemporaryDir FDir{QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/savejournal-XXXXXX")
                                                                   : QDir::tempPath() + "/savejournal-XXXXXX"};
    QString FPath;
    QString FJournal;
    std::vector<unsigned char> FOld;
    std::vector<unsigned char> FNew;

    // A file, and a store with Edits tiles renamed three apart, so that a
    // save writes a stretch for each; FNew is the file once saved.
    std::unique_ptr<TTileData> Edited(int Edits)
    {
        FPath = FDir.filePath("tiledata.mul");
        FJournal = FPath + "-journal";
        QFile::remove(FJournal);
        static const TileDataWriter randomized = [] {
            TileDataWriter writer(91);
            writer.RandomizeRecords();
            return writer;
        }();
        TileDataWriter writer = randomized;
        writer.WriteTo(FPath);
        FOld = writer.Bytes();
        auto store = std::make_unique<TTileData>(FPath);
        store->LoadTiles();
        for (int k = 0; k < Edits; ++k) {
            const int tile = 3 * k + 1;
            TileDataWriter::Record record = writer.ReadRecord(tile);
            record.Name = "saved " + std::to_string(k);
            writer.SetRecord(tile, record);
            store->SetName(tile, QString::fromStdString(record.Name));
        }
        FNew = writer.Bytes();
        return store;
    }

    // What the next open does; then the file must be wholly old or wholly
    // new, and the journal gone.
    void OpenAgainFindsOldOrNew(const QByteArray &Case)
    {
        TJournalRecovery recovery(FPath.toStdString());
        QVERIFY2(recovery.State() != State::Conflict, Case.constData());
        recovery.Settle();
        const std::vector<unsigned char> bytes = TestFiles::ReadBytes(FPath);
        QVERIFY2(bytes == FOld || bytes == FNew, Case.constData());
        QVERIFY2(!QFile::exists(FJournal), Case.constData());
    }

private slots:
    void cleanup()
    {
        FileProbe::Set({});
        FileProbe::Watch({});
    }

#ifndef _WIN32
    // A child saves 200 edits through the real save and kills itself at
    // its Nth step that changes a file (a write, flush, creation, removal),
    // for every N until one save runs to its end.
    void killAtEveryStep()
    {
        int finished = 0;
        for (int n = 1; finished == 0; ++n) {
            QVERIFY(n < 1000);
            std::unique_ptr<TTileData> store = Edited(200);
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                int steps = 0;
                FileProbe::Set([&](Step step, const std::string &, std::int64_t) {
                    if (step != Step::Read && ++steps == n)
                        ::raise(SIGKILL);
                    return false;
                });
                store->Save();
                ::_exit(0);
            }
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            if (WIFEXITED(status))
                finished = n;
            else
                QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
            OpenAgainFindsOldOrNew("killed at step " + QByteArray::number(n));
            if (QTest::currentTestFailed())
                return;
        }
        // A journal write, its flush, 200 writes, the file's flush and more.
        QVERIFY(finished > 203);
        QVERIFY(TestFiles::ReadBytes(FPath) == FNew);
    }
#endif

    // The save's writes, flushes and name changes are recorded; for every
    // prefix of them, with each write not yet flushed kept or dropped and
    // each name not yet flushed there or not, the disk's file and journal
    // are built and opened: always wholly old or wholly new.
    void powerCutAtEveryStep()
    {
        std::unique_ptr<TTileData> store = Edited(6);
        struct Event
        {
            Step What;
            std::string Path;
            std::int64_t At = 0;
            std::vector<unsigned char> Bytes;
        };
        std::vector<Event> events;
        FileProbe::Set([&](Step step, const std::string &path, std::int64_t) {
            if (step == Step::Sync || step == Step::Create || step == Step::Remove || step == Step::FolderSync)
                events.push_back({step, path, 0, {}});
            return false;
        });
        FileProbe::Watch([&](const std::string &path, std::int64_t at, const void *data, std::size_t size) {
            const auto *bytes = static_cast<const unsigned char *>(data);
            events.push_back({Step::Write, path, at, std::vector<unsigned char>(bytes, bytes + size)});
        });
        QVERIFY(store->Save());
        cleanup();
        const std::string file = FPath.toStdString();
        std::mt19937 random(5);
        for (std::size_t end = 0; end <= events.size(); ++end) {
            // What the disk holds for sure, and what it may.
            std::map<std::string, std::vector<const Event *>> unflushed;
            std::map<std::string, std::vector<unsigned char>> flushed{{file, FOld}};
            bool journalNamed = false; // the journal's name is on the disk
            bool journalNameUnsure = false;
            const auto apply = [](std::vector<unsigned char> &bytes, const Event &write) {
                if (bytes.size() < std::size_t(write.At) + write.Bytes.size())
                    bytes.resize(std::size_t(write.At) + write.Bytes.size());
                std::copy(write.Bytes.begin(), write.Bytes.end(), bytes.begin() + write.At);
            };
            for (std::size_t k = 0; k < end; ++k) {
                const Event &event = events[k];
                if (event.What == Step::Write) {
                    unflushed[event.Path].push_back(&event);
                } else if (event.What == Step::Sync) {
                    for (const Event *write : unflushed[event.Path])
                        apply(flushed[event.Path], *write);
                    unflushed[event.Path].clear();
                } else if (event.What == Step::Create || event.What == Step::Remove) {
                    if (event.What == Step::Create)
                        flushed[event.Path].clear();
                    journalNameUnsure = true;
                    journalNamed = event.What == Step::Create;
                } else if (event.What == Step::FolderSync) {
                    journalNameUnsure = false;
                }
            }
            std::vector<const Event *> pending;
            for (const auto &entry : unflushed)
                pending.insert(pending.end(), entry.second.begin(), entry.second.end());
            // Every combination of a few, a bounded sample of many.
            const bool all = pending.size() <= 10;
            const unsigned combinations = all ? 1u << pending.size() : 1024u;
            for (unsigned mask = 0; mask < combinations; ++mask) {
                for (const bool named : {journalNamed, !journalNamed}) {
                    if (named != journalNamed && !journalNameUnsure)
                        continue;
                    std::map<std::string, std::vector<unsigned char>> disk = flushed;
                    for (std::size_t p = 0; p < pending.size(); ++p) {
                        if (all ? (mask >> p) & 1 : random() & 1)
                            apply(disk[pending[p]->Path], *pending[p]);
                    }
                    TestFiles::WriteBytes(FPath, disk[file]);
                    QFile::remove(FJournal);
                    if (named)
                        TestFiles::WriteBytes(FJournal, disk[FJournal.toStdString()]);
                    OpenAgainFindsOldOrNew("cut after step " + QByteArray::number(qulonglong(end)) + ", writes kept "
                                           + QByteArray::number(mask));
                    if (QTest::currentTestFailed())
                        return;
                }
            }
        }
    }

    // Journals the next open finds: cut short, failing their checksum,
    // beyond the file's end, not ours, or over bytes another program wrote.
    void journalsFound_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("becomesNew"); // after Settle; else the file stays as found
        QTest::addColumn<bool>("journalStays");
        QTest::newRow("whole, nothing written yet") << "whole" << int(State::Finishable) << true << false;
        QTest::newRow("whole, one stretch half written") << "torn" << int(State::Finishable) << true << false;
        QTest::newRow("cut short") << "short" << int(State::Damaged) << false << false;
        QTest::newRow("wrong checksum") << "checksum" << int(State::Damaged) << false << false;
        QTest::newRow("a stretch beyond the length it names") << "beyond" << int(State::Damaged) << false << false;
        QTest::newRow("the file cut since") << "cut file" << int(State::Conflict) << false << true;
        QTest::newRow("another program's file (wrong magic)") << "magic" << int(State::NotOurs) << false << true;
        QTest::newRow("a stretch another program changed") << "changed" << int(State::Conflict) << false << true;
    }

    void journalsFound()
    {
        QFETCH(QString, kind);
        QFETCH(int, state);
        QFETCH(bool, becomesNew);
        QFETCH(bool, journalStays);
        Edited(0);
        // Two stretches: tile 5's name, and land tile 2's.
        const std::size_t item = TileDataWriter::OffsetOf(5) + 17;
        const std::size_t land = 4 + 26 * 2 + 6;
        std::vector<JournalWriter::Stretch> stretches;
        for (const std::size_t at : {land, item}) {
            JournalWriter::Stretch stretch{at, {FOld.begin() + at, FOld.begin() + at + 20}, std::vector<unsigned char>(20, 'n')};
            stretches.push_back(stretch);
        }
        FNew = FOld;
        for (const JournalWriter::Stretch &stretch : stretches)
            std::copy(stretch.New.begin(), stretch.New.end(), FNew.begin() + stretch.At);
        std::uint64_t length = FOld.size();
        std::vector<unsigned char> found = FOld;
        if (kind == "beyond")
            stretches.back().At = length - 10;
        std::vector<unsigned char> journal = JournalWriter::Build(length, stretches);
        if (kind == "torn")
            std::fill_n(found.begin() + item, 7, 'n');
        if (kind == "short")
            journal.resize(journal.size() - 9);
        if (kind == "checksum")
            journal[40] ^= 1;
        if (kind == "magic")
            journal[0] = 'X';
        if (kind == "changed")
            found[item + 3] = 'o';
        if (kind == "cut file")
            found.resize(item + 4);
        TestFiles::WriteBytes(FPath, found);
        TestFiles::WriteBytes(FJournal, journal);
        TJournalRecovery recovery(FPath.toStdString());
        QCOMPARE(int(recovery.State()), state);
        if (recovery.State() == State::Conflict)
            QCOMPARE(recovery.ChangedTiles(), std::string("0x5"));
        recovery.Settle();
        QVERIFY(TestFiles::ReadBytes(FPath) == (becomesNew ? FNew : found));
        QCOMPARE(QFile::exists(FJournal), journalStays);
        if (journalStays)
            QVERIFY(TestFiles::ReadBytes(FJournal) == journal);
    }
};

QTEST_GUILESS_MAIN(SaveJournalTest)
#include "tst_savejournal.moc"
