// The art files from outside: files that vanish, turn into folders or are
// emptied between start-up and a draw, and art, patch and hue files cut
// short at every part of their layouts. Each time: a clear message or a
// defined picture, no crash, and the view recovers once the files are back.

#include "art/MessageBoxes.h"
#include "art/ReadArtIDX.h"
#include "art/VellArtReader.h"
#include "art/huechooser.h"
#include "art/unverdata.h"
#include "platform/Error.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/HueWriter.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

enum class Change { Nothing, ArtDeleted, IndexDeleted, PatchesDeleted, FolderDeleted, ArtIsFolder, ArtEmptied };

// Tile 0 is a run-length picture in the art file, tile 1 is absent there
// and has a patch, tile 2 is absent without one.
constexpr int PictureWidth = 6;
constexpr int PictureHeight = 4;
constexpr int PatchWidth = 3;
constexpr int PatchHeight = 2;

ArtWriter::Pixels Colours(int Count)
{
    ArtWriter::Pixels pixels(std::size_t(Count), 0);
    for (int i = 0; i < Count; ++i)
        pixels[std::size_t(i)] = std::uint16_t(0x0421 * (i % 30) + 1);
    return pixels;
}

ArtWriter ArtFiles()
{
    ArtWriter writer;
    writer.PadToEntry(ArtWriter::StaticArtBase);
    writer.AddRunLength(PictureWidth, PictureHeight, Colours(PictureWidth * PictureHeight), 0x7FFF);
    writer.AddAbsent();
    writer.AddAbsent();
    writer.AddPatch(ArtWriter::ArtFileId, ArtWriter::StaticArtBase + 1,
                    ArtWriter::RunLengthEntry(ArtWriter::RunsOf(PatchWidth, PatchHeight,
                                                                Colours(PatchWidth * PatchHeight), 0x7FFF)));
    return writer;
}

QString DrawError(TVellArtReader &View, int Tile, QImage &Target, QPoint &Size)
{
    try {
        View.DrawArt(Tile + ArtWriter::StaticArtBase, Target, Size);
    } catch (const Error &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

} // namespace

Q_DECLARE_METATYPE(Change)

class ArtFaultsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString FFolder;
    MessageBoxes::THandler FBoxes;
    QStringList FShown;

    QString FileIn(const char *Name) const { return FFolder + QLatin1Char('/') + QLatin1String(Name); }

    void Apply(Change What)
    {
        switch (What) {
        case Change::Nothing:
            break;
        case Change::ArtDeleted:
            QVERIFY(QFile::remove(FileIn("art.mul")));
            break;
        case Change::IndexDeleted:
            QVERIFY(QFile::remove(FileIn("artidx.mul")));
            break;
        case Change::PatchesDeleted:
            QVERIFY(QFile::remove(FileIn("verdata.mul")));
            break;
        case Change::FolderDeleted:
            QVERIFY(QDir(FFolder).removeRecursively());
            break;
        case Change::ArtIsFolder:
            QVERIFY(QFile::remove(FileIn("art.mul")));
            QVERIFY(QDir().mkdir(FileIn("art.mul")));
            break;
        case Change::ArtEmptied:
            QVERIFY(QFile::resize(FileIn("art.mul"), 0));
            break;
        }
    }

    void Restore()
    {
        QDir(FileIn("art.mul")).removeRecursively();
        QDir().mkpath(FFolder);
        ArtFiles().WriteTo(FFolder);
    }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init() { Restore(); }

    void filesChangeBetweenStartAndDraw_data();
    void filesChangeBetweenStartAndDraw();
    void truncatedArtFiles_data();
    void truncatedArtFiles();
    void truncatedPatchFiles_data();
    void truncatedPatchFiles();
    void truncatedHueFiles_data();
    void truncatedHueFiles();
};

void ArtFaultsTest::initTestCase()
{
    FFolder = FDir.filePath(QStringLiteral("art"));
    FBoxes = MessageBoxes::SetHandler([this](MessageBoxes::TBoxKind, const QString &Text) { FShown << Text; });
    // The first art reader of the process loads the one patch list, from
    // this folder's patch file.
    Restore();
    TVellArtReader first;
    first.SetArtMulPath(FFolder);
    QVERIFY(first.Ready());
    QVERIFY(SharedPatchReader() != nullptr);
    QCOMPARE(SharedPatchReader()->PatchCount(), 1);
}

void ArtFaultsTest::cleanupTestCase()
{
    MessageBoxes::SetHandler(FBoxes);
}

void ArtFaultsTest::filesChangeBetweenStartAndDraw_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<int>("tile");
    QTest::addColumn<QString>("error"); // %1 is the art folder
    QTest::addColumn<QSize>("drawn");   // the picture's size when there is no error

    using TestFiles::OpenFailure;
    // The readers join folder and file with the system's separator.
    const QString cannotOpen = QStringLiteral("Cannot open file \"%1") + QDir::separator() + QStringLiteral("%2\". %3");
    const QString missingArt = cannotOpen.arg("%1", "art.mul", TestFiles::OpenFailureReason(OpenFailure::NoFile));
    const QSize picture(PictureWidth, PictureHeight);
    const QSize patch(PatchWidth, PatchHeight);
    QTest::newRow("nothing changed, art") << Change::Nothing << 0 << QString() << picture;
    QTest::newRow("nothing changed, patch") << Change::Nothing << 1 << QString() << patch;
    QTest::newRow("art deleted, art") << Change::ArtDeleted << 0 << missingArt << QSize();
    QTest::newRow("art deleted, patch") << Change::ArtDeleted << 1 << missingArt << QSize();
    QTest::newRow("art deleted, neither") << Change::ArtDeleted << 2 << missingArt << QSize();
    QTest::newRow("index deleted") << Change::IndexDeleted << 0 << QString() << picture;
    QTest::newRow("patches deleted, art") << Change::PatchesDeleted << 0 << QString() << picture;
    QTest::newRow("patches deleted, patch")
        << Change::PatchesDeleted << 1
        << cannotOpen.arg("%1", "verdata.mul", TestFiles::OpenFailureReason(OpenFailure::NoFile)) << QSize();
    QTest::newRow("folder deleted")
        << Change::FolderDeleted << 0
        << cannotOpen.arg("%1", "art.mul", TestFiles::OpenFailureReason(OpenFailure::NoFolder)) << QSize();
    QTest::newRow("art is a folder")
        << Change::ArtIsFolder << 0
        << cannotOpen.arg("%1", "art.mul", TestFiles::OpenFailureReason(OpenFailure::IsAFolder)) << QSize();
    QTest::newRow("art emptied") << Change::ArtEmptied << 0 << QString() << QSize(0, 0);
}

void ArtFaultsTest::filesChangeBetweenStartAndDraw()
{
    QFETCH(Change, change);
    QFETCH(int, tile);
    QFETCH(QString, error);
    QFETCH(QSize, drawn);
    // Messages show the folder in the system's separators.
    if (!error.isEmpty())
        error = error.arg(QDir::toNativeSeparators(FFolder));

    TVellArtReader view;
    view.SetArtMulPath(FFolder);
    QVERIFY(view.Ready());
    Apply(change);

    QImage target(5, 5, QImage::Format_RGB555);
    target.fill(Qt::black);
    const QImage before = target;
    QPoint size(-1, -1);
    const QString got = DrawError(view, tile, target, size);
    if (!error.isEmpty()) {
        QCOMPARE(got, error);
        // The art file fails before the target is touched; the patch file
        // only once the draw has begun.
        if (change != Change::PatchesDeleted)
            QVERIFY(target == before && size == QPoint(-1, -1));
        // The view's own draw reports the same, and the view stays usable.
        try {
            view.SetArtIndex(tile);
            QFAIL("the view drew without its files");
        } catch (const Error &e) {
            QCOMPARE(QString::fromUtf8(e.what()), error);
        }
        QVERIFY(view.Ready());
    } else {
        QCOMPARE(got, QString());
        QCOMPARE(size, QPoint(drawn.width(), drawn.height()));
    }

    // Once the files are back, drawing works again.
    Restore();
    target = QImage();
    QCOMPARE(DrawError(view, tile, target, size), QString());
    const QPoint sizes[] = {{PictureWidth, PictureHeight}, {PatchWidth, PatchHeight}, {0, 0}};
    QCOMPARE(size, sizes[tile]);
    QVERIFY(!target.isNull());
    if (size != QPoint(0, 0))
        QCOMPARE(target.size(), QSize(size.x(), size.y()));
}

void ArtFaultsTest::truncatedArtFiles_data()
{
    QTest::addColumn<bool>("cutIndex"); // else the art file is cut
    QTest::addColumn<int>("length");
    // The index holds a raw entry (0) and a run-length entry (1).
    QTest::newRow("index empty") << true << 0;
    QTest::newRow("index inside the first record") << true << 11;
    QTest::newRow("index of one record") << true << 12;
    QTest::newRow("index one byte into the second") << true << 13;
    QTest::newRow("index one byte short") << true << 23;
    QTest::newRow("art empty") << false << 0;
    QTest::newRow("art inside the raw header") << false << 3;
    QTest::newRow("art after the raw header") << false << 4;
    QTest::newRow("art inside a raw pixel") << false << 5;
    QTest::newRow("art inside the diamond") << false << 1000;
    QTest::newRow("art one byte short of the raw entry") << false << 2027;
    QTest::newRow("art the raw entry only") << false << 2028;
    QTest::newRow("art inside the run-length header") << false << 2028 + 6;
    QTest::newRow("art inside the line table") << false << 2028 + 9;
    QTest::newRow("art inside the rows") << false << 2028 + 20;
}

void ArtFaultsTest::truncatedArtFiles()
{
    QFETCH(bool, cutIndex);
    QFETCH(int, length);
    ArtWriter writer;
    writer.AddRaw(Colours(1012));
    writer.AddRunLength(PictureWidth, PictureHeight, Colours(PictureWidth * PictureHeight), 0x7FFF);
    const QString folder = FDir.filePath(QStringLiteral("cut"));
    QDir().mkpath(folder);
    writer.WriteArtFilesTo(folder);
    const QString cut = folder + (cutIndex ? QStringLiteral("/artidx.mul") : QStringLiteral("/art.mul"));
    QVERIFY(QFile::resize(cut, length));

    TArtReader reader(folder + QStringLiteral("/art.mul"), folder + QStringLiteral("/artidx.mul"), false);
    QVERIFY(FShown.isEmpty());
    QCOMPARE(reader.EntryCount(), cutIndex ? length / 12 : 2);
    for (int entry = 0; entry < 2; ++entry) {
        QImage target;
        QPoint size(-1, -1);
        reader.DrawArt(entry, target, size);
        if (entry >= reader.EntryCount()) {
            QVERIFY(target.isNull());
            continue;
        }
        const bool whole = cutIndex || length >= (entry == 0 ? 2028 : int(writer.ArtBytes().size()));
        // A raw entry is 44 x 44 with no size; a run-length one reports its
        // size only when all of it was there. Never anything else.
        QCOMPARE(size, entry == 1 && whole ? QPoint(PictureWidth, PictureHeight) : QPoint(0, 0));
        QVERIFY(!target.isNull());
    }
}

void ArtFaultsTest::truncatedPatchFiles_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("patches");
    // A count of 3, then three art records, then the patch data.
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("inside the count") << 3 << 0;
    QTest::newRow("the count only") << 4 << 0;
    QTest::newRow("inside the first record") << 23 << 0;
    QTest::newRow("one record") << 24 << 1;
    QTest::newRow("inside the third record") << 60 << 2;
    QTest::newRow("the records, no data") << 64 << 3;
    QTest::newRow("inside the data") << 70 << 3;
}

void ArtFaultsTest::truncatedPatchFiles()
{
    QFETCH(int, length);
    QFETCH(int, patches);
    ArtWriter writer;
    for (int block = 0; block < 3; ++block) {
        writer.AddPatch(ArtWriter::ArtFileId, ArtWriter::StaticArtBase + block,
                        ArtWriter::RunLengthEntry(ArtWriter::RunsOf(2, 2, Colours(4), 0x7FFF)));
    }
    const QString folder = FDir.filePath(QStringLiteral("patches"));
    QDir().mkpath(folder);
    writer.WriteVerdataTo(folder);
    QVERIFY(QFile::resize(folder + QStringLiteral("/verdata.mul"), length));

    TVerdataReader reader(folder + QStringLiteral("/verdata.mul"));
    QVERIFY(reader.Open());
    reader.LoadPatches();
    reader.Close();
    QCOMPARE(reader.PatchCount(), patches);
    for (int i = 0; i < patches; ++i) {
        TPatchEntry patch;
        reader.GetPatch(i, patch);
        QCOMPARE(patch.Block, i);
        QImage target;
        QPoint size(0, 0);
        reader.DrawPatch(patch.Offset, target, size);
        QVERIFY(size == QPoint(0, 0) || size == QPoint(2, 2));
    }
}

void ArtFaultsTest::truncatedHueFiles_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("empty") << 0;
    QTest::newRow("one byte short of a block") << 707;
    QTest::newRow("one block") << 708;
    QTest::newRow("one byte into the second") << 709;
    QTest::newRow("one byte short of two") << 1415;
    QTest::newRow("two blocks") << 1416;
}

void ArtFaultsTest::truncatedHueFiles()
{
    QFETCH(int, length);
    HueWriter writer(2);
    for (int hue = 1; hue <= writer.HueCount(); ++hue)
        writer.SetColor(hue, 30, HueWriter::Colour15(hue, 31 - hue, 3));
    const QString path = FDir.filePath(QStringLiteral("hues.mul"));
    writer.WriteTo(path);
    QVERIFY(QFile::resize(path, length));

    THUEColorChooser table;
    table.LoadHues(path);
    const int hues = (length / 708) * 8;
    QCOMPARE(int(table.Entries().size()), hues);
    const auto colourOf = [](int hue) {
        return std::uint32_t(hue << 3) | (std::uint32_t((31 - hue) << 3) << 8) | (std::uint32_t(3 << 3) << 16);
    };
    for (int hue = 1; hue <= 16; ++hue) {
        const QString key = QStringLiteral("00") + QString::number(hue, 16).toUpper();
        QCOMPARE(table.GetHueColor(key, 30), hue <= hues ? colourOf(hue) : 0u);
    }
}

QTEST_MAIN(ArtFaultsTest)
#include "tst_artfaults.moc"
