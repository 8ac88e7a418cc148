#include "tests/reliability/NameAlphabet.h"
#include "tests/reliability/StoreModelRun.h"
#include "tests/support/TileDataWriter.h"

#include <QTemporaryDir>
#include <QtTest>

#include <exception>

// Thousands of random edits, saves, reloads and reopens of a tile data
// store, checked against a plain model of the file's bytes.
//
// Each row runs with a fixed seed, so a failure repeats. To try other
// seeds or a longer run:
//   QUORVANE_MODEL_SEED=12345 QUORVANE_MODEL_STEPS=100000 ./test_modelsave
class ModelSaveTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;

    static quint32 SeedFor(quint32 rowSeed)
    {
        bool ok = false;
        const quint32 chosen = qEnvironmentVariable("QUORVANE_MODEL_SEED").toUInt(&ok);
        return ok ? chosen : rowSeed;
    }

    static int Steps()
    {
        bool ok = false;
        const int chosen = qEnvironmentVariableIntValue("QUORVANE_MODEL_STEPS", &ok);
        return ok && chosen > 0 ? chosen : 2000;
    }

    // A file with random records whose names come from the test alphabet,
    // with groups of tiles sharing a name in different cases so that
    // global renames hit many tiles.
    static TileDataWriter MakeFile(quint32 seed, std::size_t size)
    {
        TileDataWriter writer(seed, size);
        writer.RandomizeRecords();
        std::mt19937 random(seed);
        const auto rawName = [&random](const NameAlphabet::Text &text) {
            std::string bytes = text.Bytes.substr(0, 20);
            if (bytes.size() < 20)
                bytes.push_back('\0');
            while (bytes.size() < 20) // leftovers after the zero
                bytes += NameAlphabet::Random(random, 1).Bytes;
            return bytes;
        };
        for (int shared = 0; shared < 6; ++shared) {
            const NameAlphabet::Text name = NameAlphabet::Random(random, int(random() % 21));
            for (int k = 0; k < 40; ++k) {
                const int tile = int(random() % TileDataWriter::Tiles);
                if (TileDataWriter::OffsetOf(tile) + 37 <= size)
                    writer.SetRawName(tile, rawName(NameAlphabet::SwitchCase(name, random, true)));
            }
        }
        writer.Truncate(size);
        return writer;
    }

private slots:
    void randomOperationsMatchTheModel_data();
    void randomOperationsMatchTheModel();
};

void ModelSaveTest::randomOperationsMatchTheModel_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<qint64>("size");
    QTest::newRow("a file as the game ships it") << 1u << qint64(TileDataWriter::FullSize);
    QTest::newRow("ends with the last record") << 2u << qint64(TileDataWriter::RecordsEnd);
    QTest::newRow("a long tail") << 3u << qint64(TileDataWriter::FullSize + 4096);
    QTest::newRow("cut inside a name") << 4u << qint64(TileDataWriter::OffsetOf(9000) + 17 + 5);
    QTest::newRow("cut inside a group header") << 5u << qint64(428032 + 1188 * 300 + 2);
}

void ModelSaveTest::randomOperationsMatchTheModel()
{
    QFETCH(quint32, seed);
    QFETCH(qint64, size);
    seed = SeedFor(seed);
    const QString path = FDir.filePath(QString("model-%1.mul").arg(QTest::currentDataTag()));
    const TileDataWriter writer = MakeFile(seed, std::size_t(size));
    writer.WriteTo(path);
    try {
        StoreModelRun run(seed, path, writer.Bytes());
        run.Run(Steps());
        QVERIFY(run.SaveCount() > 0);
    } catch (const std::exception &e) {
        QFAIL(qPrintable(QString("seed %1 (repeat with QUORVANE_MODEL_SEED=%1): %2").arg(seed).arg(e.what())));
    }
}

QTEST_MAIN(ModelSaveTest)
#include "tst_modelsave.moc"
