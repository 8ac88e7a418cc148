#include "art/huechooser.h"
#include "platform/Error.h"
#include "tests/support/HueWriter.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// The colour word of a shade in the generated files: every hue and shade
// gets a word of its own, so a lookup that reads the wrong place shows.
std::uint16_t WordOf(int hue, int shade)
{
    return HueWriter::Colour15(hue % 32, shade, (hue / 32) % 32);
}

// The same word as an RGB value, worked out from the layout by hand.
std::uint32_t RgbOf(int hue, int shade)
{
    const std::uint32_t red = std::uint32_t(hue % 32) * 8;
    const std::uint32_t green = std::uint32_t(shade) * 8;
    const std::uint32_t blue = std::uint32_t((hue / 32) % 32) * 8;
    return red | green << 8 | blue << 16;
}

HueWriter NumberedHues(int blocks)
{
    HueWriter writer(blocks);
    for (int hue = 1; hue <= writer.HueCount(); ++hue) {
        for (int shade = 0; shade < HueWriter::Shades; ++shade)
            writer.SetColor(hue, shade, WordOf(hue, shade));
    }
    for (int block = 0; block < blocks; ++block)
        writer.SetHeader(block, 0xDEADBEEF);
    return writer;
}

// Watches for the progress window while a load runs and notes what it
// shows at the moment it appears.
class ProgressWatcher : public QObject
{
public:
    QPointer<QWidget> Window;
    QRect Geometry;
    Qt::WindowFlags Flags;
    QPoint BarPosition;
    QPoint LabelPosition;
    QString LabelText;
    QSize LabelSize;
    QSize LabelHint;
    bool BusyCursor = false;
    int BarMaximum = -1;
    int BarLastValue = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow() && !Window
            && widget->findChild<QProgressBar *>())
            Note(widget);
        return false;
    }

private:
    void Note(QWidget *window)
    {
        Window = window;
        Geometry = window->geometry();
        Flags = window->windowFlags();
        auto *bar = window->findChild<QProgressBar *>();
        BarPosition = bar->pos();
        connect(bar, &QProgressBar::valueChanged, this, [this, bar](int value) {
            BarMaximum = bar->maximum();
            BarLastValue = value;
        });
        if (auto *label = window->findChild<QLabel *>()) {
            LabelPosition = label->pos();
            LabelText = label->text();
            LabelSize = label->size();
            LabelHint = label->sizeHint();
        }
        const QCursor *cursor = QApplication::overrideCursor();
        BusyCursor = cursor && cursor->shape() == Qt::WaitCursor;
    }
};

} // namespace

class HueTableTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    THUEColorChooser FFullTable; // 375 blocks, hues 1 to 3000

    QString PathOf(const char *name) const { return FDir.filePath(QLatin1String(name)); }

    int TopLevelCount() const { return int(QApplication::topLevelWidgets().size()); }

private slots:
    void initTestCase();
    void blocksAndEntries_data();
    void blocksAndEntries();
    void entriesTakeTheirSlotsBytes();
    void lookups_data();
    void lookups();
    void keysAreMadeOnDemand();
    void color15ToRgb_data();
    void color15ToRgb();
    void missingFileFailsBeforeAnything();
    void shortFileIsQuietlyEmpty_data();
    void shortFileIsQuietlyEmpty();
    void readFailureKeepsWhatWasRead();
    void progressWindowWhileLoading();
};

void HueTableTest::initTestCase()
{
    NumberedHues(375).WriteTo(PathOf("full.mul"));
    FFullTable.LoadHues(PathOf("full.mul"));
}

void HueTableTest::blocksAndEntries_data()
{
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("trailing");
    QTest::addColumn<QString>("lastKey");

    QTest::newRow("one block") << 1 << 0 << "008";
    QTest::newRow("three blocks and 100 bytes") << 3 << 100 << "0018";
    QTest::newRow("trailing bytes of almost a block") << 2 << 707 << "0010";
    QTest::newRow("a full file of 375 blocks") << 375 << 0 << "00BB8";
}

void HueTableTest::blocksAndEntries()
{
    QFETCH(int, blocks);
    QFETCH(int, trailing);
    QFETCH(QString, lastKey);

    HueWriter writer = NumberedHues(blocks);
    // Trailing bytes that would read as bright colours if taken for a hue.
    writer.SetTrailing(std::vector<unsigned char>(std::size_t(trailing), 0x7F));
    const QString path = PathOf("hues.mul");
    writer.WriteTo(path);

    THUEColorChooser table;
    table.LoadHues(path);

    QCOMPARE(int(table.Blocks().size()), blocks);
    QCOMPARE(int(table.Entries().size()), 8 * blocks);
    QCOMPARE(table.Entries().back().Number, 8 * blocks);
    const std::vector<unsigned char> bytes = writer.Bytes();
    QVERIFY(std::equal(table.Blocks().back().begin(), table.Blocks().back().end(),
                       bytes.begin() + std::ptrdiff_t(blocks - 1) * 708));

    QCOMPARE(table.GetHueColor(lastKey, 31), RgbOf(8 * blocks, 31));
    QCOMPARE(table.Entries().back().Key, lastKey);
    const QString beyond = QStringLiteral("00") + QString::number(8 * blocks + 1, 16).toUpper();
    QCOMPARE(table.GetHueColor(beyond, 0), 0u);
}

void HueTableTest::entriesTakeTheirSlotsBytes()
{
    HueWriter writer(2);
    HueWriter::Hue first;
    first.Colors = HueWriter::Ramp(0x0000, 0x7FFF);
    first.TableStart = 0x1111;
    first.TableEnd = 0x2222;
    first.Name = "Crimson";
    writer.SetHue(1, first);
    HueWriter::Hue eighth;
    eighth.Colors.fill(0x001F);
    eighth.Name = "Sea";
    writer.SetHue(8, eighth);
    writer.SetRawName(9, std::string("ABCDEFGHIJKLMNOPQRST")); // all 20 bytes used
    writer.SetColor(9, 0, 0x7C00);
    writer.SetColor(9, 31, 0x03E0);
    const QString path = PathOf("slots.mul");
    writer.WriteTo(path);

    THUEColorChooser table;
    table.LoadHues(path);
    const auto &entries = table.Entries();
    QCOMPARE(entries.size(), std::size_t(16));

    QCOMPARE(entries[0].Number, 1);
    QVERIFY(entries[0].Colors == first.Colors);
    QCOMPARE(QByteArray(entries[0].Name.data(), 20), QByteArray("Crimson", 7) + QByteArray(13, '\0'));
    QVERIFY(entries[0].Key.isEmpty());

    QCOMPARE(entries[7].Number, 8);
    QVERIFY(entries[7].Colors == eighth.Colors);
    QCOMPARE(QByteArray(entries[7].Name.data(), 3), QByteArray("Sea"));

    QCOMPARE(entries[8].Number, 9);
    QCOMPARE(entries[8].Colors[0], std::uint16_t(0x7C00));
    QCOMPARE(entries[8].Colors[31], std::uint16_t(0x03E0));
    QCOMPARE(QByteArray(entries[8].Name.data(), 20), QByteArray("ABCDEFGHIJKLMNOPQRST"));
}

void HueTableTest::lookups_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("shade");
    QTest::addColumn<uint>("expected");

    QTest::newRow("first hue, shade 0") << "001" << 0 << uint(RgbOf(1, 0));
    QTest::newRow("hue 26") << "001A" << 30 << uint(RgbOf(26, 30));
    QTest::newRow("hue 1161") << "00489" << 30 << uint(RgbOf(1161, 30));
    QTest::newRow("last hue, last shade") << "00BB8" << 31 << uint(RgbOf(3000, 31));
    QTest::newRow("lower-case key") << "001a" << 30 << 0u;
    QTest::newRow("three leading zeros") << "0001" << 0 << 0u;
    QTest::newRow("no leading zeros") << "1A" << 0 << 0u;
    QTest::newRow("empty key") << "" << 0 << 0u;
    QTest::newRow("past the last hue") << "00BB9" << 0 << 0u;
    QTest::newRow("shade below range") << "001" << -1 << 0u;
    QTest::newRow("shade above range") << "001" << 32 << 0u;
    QTest::newRow("shade far above range") << "00BB8" << 100000 << 0u;
}

void HueTableTest::lookups()
{
    QFETCH(QString, key);
    QFETCH(int, shade);
    QFETCH(uint, expected);

    QCOMPARE(FFullTable.GetHueColor(key, shade), std::uint32_t(expected));
}

void HueTableTest::keysAreMadeOnDemand()
{
    NumberedHues(4).WriteTo(PathOf("keys.mul"));
    THUEColorChooser table;
    table.LoadHues(PathOf("keys.mul"));

    QCOMPARE(table.GetHueColor(QStringLiteral("005"), 1), RgbOf(5, 1));
    QCOMPARE(table.Entries()[4].Key, QStringLiteral("005"));
    QVERIFY(table.Entries()[5].Key.isEmpty());

    // A miss walks the whole table and leaves every key filled in.
    QCOMPARE(table.GetHueColor(QStringLiteral("nothing"), 1), 0u);
    QCOMPARE(table.Entries()[25].Key, QStringLiteral("001A"));
    QCOMPARE(table.Entries()[31].Key, QStringLiteral("0020"));
}

void HueTableTest::color15ToRgb_data()
{
    QTest::addColumn<uint>("word");
    QTest::addColumn<uint>("rgb");

    QTest::newRow("all colour bits") << 0x7FFFu << 0x00F8F8F8u;
    QTest::newRow("red bits only") << 0x7C00u << 0x000000F8u;
    QTest::newRow("green bits only") << 0x03E0u << 0x0000F800u;
    QTest::newRow("blue bits only") << 0x001Fu << 0x00F80000u;
    QTest::newRow("bit 15 only") << 0x8000u << 0u;
    QTest::newRow("bit 15 is ignored") << 0xFFFFu << 0x00F8F8F8u;
    QTest::newRow("lowest step of each channel") << 0x0421u << 0x00080808u;
}

void HueTableTest::color15ToRgb()
{
    QFETCH(uint, word);
    QFETCH(uint, rgb);
    QCOMPARE(THUEColorChooser::Color15ToRGB(std::uint16_t(word)), std::uint32_t(rgb));
}

void HueTableTest::missingFileFailsBeforeAnything()
{
    const QString path = PathOf("absent/hues.mul");
    const int windows = TopLevelCount();
    ProgressWatcher watcher;
    qApp->installEventFilter(&watcher);

    THUEColorChooser table;
    QString message;
    try {
        table.LoadHues(path);
    } catch (const Error &e) {
        message = QString::fromUtf8(e.what());
    }
    qApp->removeEventFilter(&watcher);

    QVERIFY2(message.startsWith(TestFiles::CannotOpenText(path, QString())), qPrintable(message));
    QVERIFY(message.size() > TestFiles::CannotOpenText(path, QString()).size());
    QVERIFY(!watcher.Window);
    QCOMPARE(TopLevelCount(), windows);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(table.Entries().empty());
    QCOMPARE(table.GetHueColor(QStringLiteral("001"), 30), 0u);
}

void HueTableTest::shortFileIsQuietlyEmpty_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("one byte") << 1;
    QTest::newRow("one byte short of a block") << 707;
}

void HueTableTest::shortFileIsQuietlyEmpty()
{
    QFETCH(int, size);
    HueWriter writer;
    writer.SetTrailing(std::vector<unsigned char>(std::size_t(size), 0x7F));
    writer.WriteTo(PathOf("short.mul"));

    THUEColorChooser table;
    table.LoadHues(PathOf("short.mul"));

    QVERIFY(table.Blocks().empty());
    QVERIFY(table.Entries().empty());
    QCOMPARE(table.GetHueColor(QStringLiteral("001"), 0), 0u);
    QVERIFY(!QApplication::overrideCursor());
}

void HueTableTest::readFailureKeepsWhatWasRead()
{
    const QString path = PathOf("shrinking.mul");
    NumberedHues(4).WriteTo(path);
    THUEColorChooser table;

    // The load dispatches pending events right after opening the file; this
    // one cuts the file to a block and a half behind the table's back.
    QTimer::singleShot(0, this, [path] { QVERIFY(QFile::resize(path, 708 + 354)); });
    QString message;
    try {
        table.LoadHues(path);
    } catch (const Error &e) {
        message = QString::fromUtf8(e.what());
    }

    QVERIFY2(message.startsWith(QDir::toNativeSeparators(path) + ": the file ended at byte 1,062 while it was read"),
             qPrintable(message));
    QCOMPARE(int(table.Blocks().size()), 1);
    QVERIFY(table.Entries().empty());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(table.GetHueColor(QStringLiteral("001"), 0), 0u);
}

void HueTableTest::progressWindowWhileLoading()
{
    QMainWindow main;
    main.setGeometry(300, 200, 640, 480);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    NumberedHues(3).WriteTo(PathOf("progress.mul"));

    ProgressWatcher watcher;
    qApp->installEventFilter(&watcher);
    THUEColorChooser table;
    table.LoadHues(PathOf("progress.mul"));
    qApp->removeEventFilter(&watcher);

    QVERIFY2(watcher.Window.isNull(), "the progress window outlives the load");
    QVERIFY(watcher.Flags.testFlag(Qt::FramelessWindowHint));
    QCOMPARE(watcher.Geometry.size(), QSize(200, 40));
    QVERIFY((watcher.Geometry.center() - main.frameGeometry().center()).manhattanLength() <= 2);
    QCOMPARE(watcher.BarPosition, QPoint(10, 10));
    QCOMPARE(watcher.LabelPosition, QPoint(10, 20));
    QCOMPARE(watcher.LabelText, QStringLiteral("Lade hue.mul"));
    QCOMPARE(watcher.LabelSize, watcher.LabelHint);
    QVERIFY(watcher.BusyCursor);
    QVERIFY(!QApplication::overrideCursor());
    // Three blocks: a range of 0 to 2, and the building step runs past it.
    QCOMPARE(watcher.BarMaximum, 2);
    QCOMPARE(watcher.BarLastValue, 2);
    QCOMPARE(int(table.Entries().size()), 24);
}

QTEST_MAIN(HueTableTest)
#include "tst_hues.moc"
