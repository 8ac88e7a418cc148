// The window on files of either layout, and on files that are short or fit
// neither layout exactly.

#include "app/document/TileDocument.h"
#include "app/form/Unit1.h"
#include "app/form/UpperFlagBoxes.h"
#include "app/pictures/PictureDelegate.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/TestFiles.h"
#include "tiledata/TileDataReader.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QAction>
#include <QMenu>
#include <QToolButton>
#include <QtTest>

namespace {

// A newer-layout file of two item groups, 64 tiles, worked out by hand:
// 512 land groups of 4 + 32 * 30 bytes, then groups of 4 + 32 * 41 bytes,
// each item record a u64 flags word and the classic 33 bytes.
constexpr std::size_t NewerLand = 512 * (4 + 32 * 30);
constexpr std::size_t NewerItemAt(int Tile)
{
    return NewerLand + 1316 * std::size_t(Tile / 32) + 4 + 41 * std::size_t(Tile % 32);
}

std::vector<unsigned char> NewerFile()
{
    std::vector<unsigned char> bytes(NewerLand + 2 * 1316);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + 3);
    for (int tile = 0; tile < 64; ++tile) {
        const std::size_t name = NewerItemAt(tile) + 8 + 13;
        const QByteArray text = QByteArray("tile ") + QByteArray::number(tile);
        std::fill_n(bytes.begin() + std::ptrdiff_t(name), 20, 0);
        std::copy(text.begin(), text.end(), bytes.begin() + std::ptrdiff_t(name));
        bytes[NewerItemAt(tile) + 4] = 0; // bits 32 to 39 clear
    }
    return bytes;
}

} // namespace

class LayoutsTest : public WindowTest
{
    Q_OBJECT

private slots:
    void newerFileShowsAndEditsTheUpperBits()
    {
        const std::vector<unsigned char> before = NewerFile();
        TestFiles::WriteBytes(Files->Path(), before);
        auto window = OpenWindow(*Answers, Files->Path());
        QCOMPARE(ListCount(*window), 64);
        QCOMPARE(ListLine(*window, 0x3F), QStringLiteral("0x3F - tile 63"));
        QCOMPARE(window->LayoutField->text(), QStringLiteral("64 tiles \u00B7 64-bit flags"));
        QVERIFY(Answers->Boxes.isEmpty());

        ClickLine(*window, 5);
        QToolButton *page = window->UpperFlags->PageButton();
        QVERIFY(page->isVisible());
        QTest::mouseClick(page, Qt::LeftButton);
        QCheckBox *bit37 = window->UpperFlags->Box(5);
        QCOMPARE(bit37->text(), QStringLiteral("PixelBleed"));
        QCOMPARE(bit37->objectName(), QStringLiteral("cbBit37"));
        QCOMPARE(window->UpperFlags->Box(6)->text(), QStringLiteral("Bit 38"));
        QVERIFY(bit37->isVisible() && !window->cbWall->isVisible());
        QTest::mouseClick(bit37, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);

        std::vector<unsigned char> expected = before;
        expected[NewerItemAt(5) + 4] = 0x20;
        QVERIFY(TestFiles::ReadBytes(Files->Path()) == expected);
    }

    void classicFileHasNoUpperPage()
    {
        auto window = Open();
        QCOMPARE(window->LayoutField->text(), QStringLiteral("16,383 tiles \u00B7 32-bit flags"));
        QVERIFY(!window->UpperFlags->PageButton()->isVisible());
        QVERIFY(window->cbWall->isVisible());
    }

    void openingWarns_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("answer"); // to the layout question; empty: none is asked
        QTest::addColumn<QString>("warning");
        QTest::addColumn<bool>("editable"); // the tiles the file holds
        const QString shortFile = QStringLiteral(
            "tiledata.mul is 512,000 bytes long, too short for either tile data layout, so its length cannot tell "
            "which it is. Its names do not tell the layouts apart.\n\nRead it as the classic layout (16,383 tiles "
            "\u00B7 32-bit flags), as the newer layout (65,536 tiles \u00B7 64-bit flags), or open it read-only?");
        QTest::newRow("short, Classic") << qint64(512000) << "Classic" << shortFile << true;
        const QString fitsNeither = QStringLiteral(
            "tiledata.mul is 1,036,289 bytes long, which fits neither tile data layout exactly. Its names do not tell "
            "the layouts apart.\n\nRead it as the classic layout (16,383 tiles \u00B7 32-bit flags), as the newer "
            "layout (13,184 tiles \u00B7 64-bit flags), or open it read-only?");
        const qint64 oneTooMany = qint64(TileDataWriter::FullSize + 1);
        QTest::newRow("fits neither, Return") << oneTooMany << "Return" << fitsNeither << false;
        QTest::newRow("fits neither, Classic") << oneTooMany << "Classic" << fitsNeither << true;
    }

    // A tile beyond the end of a short file is shown greyed out and takes
    // no edit; one inside it is edited as ever. A file whose length cannot
    // tell its layout, and whose names do not either, opens read-only
    // unless the user names its layout.
    void openingWarns()
    {
        QFETCH(qint64, size);
        QFETCH(QString, answer);
        QFETCH(QString, warning);
        QFETCH(bool, editable);
        Files->Writer.Bytes().resize(std::size_t(size));
        QStringList seen;
        Files->Write();
        // The question comes right after the open-file dialog.
        if (!answer.isEmpty()) {
            Answers->Then(ChooseFile(Files->Path()));
            Answers->Then(Press(answer, &seen));
            Answers->Then(Press(QStringLiteral("OK"), &seen)); // the short file's warning
        }
        auto window = OpenWindow(*Answers, Files->Path());
        QCOMPARE(answer.isEmpty() ? Answers->Boxes.value(0).Text : seen.value(0), warning);
        QCOMPARE(!seen.filter(QLatin1String("holds 2,261 of the 16,383 tiles")).isEmpty(), editable && size == 512000);
        ClickLine(*window, 2260);
        QCOMPARE(window->Edit1->isEnabled() && window->cbWall->isEnabled(), editable);
        QCOMPARE(window->windowTitle().contains(QLatin1String("read-only")), !editable);
        ClickLine(*window, 2261);
        QCOMPARE(window->Edit1->isEnabled(), editable && size > 512000);
        QCOMPARE(window->cbWall->isEnabled(), editable && size > 512000);
    }

    void layoutQuestionProposesWhatTheNamesRead_data()
    {
        QTest::addColumn<qint64>("size"); // of a newer file of 65,536 tiles
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("readOnly");
        const QString newer = QStringLiteral("65,536 tiles \u00B7 64-bit flags");
        const qint64 oneTooMany =
            qint64(LayoutTileWriter::NewerLandSection + 2048 * LayoutTileWriter::NewerItemGroup + 1);
        QTest::newRow("cut short, Return") << qint64(500000) << "Return" << newer << false;
        QTest::newRow("cut short, Read-only") << qint64(500000) << "Read-only" << newer << true;
        QTest::newRow("a byte too many, Read-only") << oneTooMany << "Read-only" << newer << true;
        QTest::newRow("cut to the classic length, Read-only")
            << qint64(LayoutTileWriter::ClassicFileSize) << "Read-only" << QStringLiteral("13,184 tiles \u00B7 64-bit flags")
            << true;
    }

    // A file whose length cannot tell its layout is offered, by default, in
    // the layout its names read as text in, and shown in it read-only;
    // there neither Paste nor Save passes for done.
    void layoutQuestionProposesWhatTheNamesRead()
    {
        QFETCH(qint64, size);
        QFETCH(QString, answer);
        QFETCH(QString, layout);
        QFETCH(bool, readOnly);
        LayoutTileWriter file = LayoutTileWriter::Newer(2048, 9);
        file.NameAllLand();
        file.Bytes().resize(std::size_t(size), 0);
        file.WriteTo(Files->Path());
        QStringList seen;
        auto window = OpenWindow(*Answers, Files->Path(), Press(answer, &seen));
        QVERIFY2(seen.value(0).contains(QLatin1String(". Its names read as text in the newer layout.\n")),
                 qPrintable(seen.value(0)));
        QCOMPARE(window->LayoutField->text(), layout);
        QCOMPARE(window->windowTitle().contains(QLatin1String("read-only")), readOnly);
        if (!readOnly) {
            // Save As writes its copy in the layout chosen too.
            ClickLine(*window, 5);
            QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
            const QString copy = Files->Folder() + QStringLiteral("/copy.mul");
            Answers->Then(ChooseFile(copy));
            Answers->Then(Press(QStringLiteral("Newer"), &seen));
            Shortcut(*window, Qt::CTRL | Qt::SHIFT | Qt::Key_S);
            const std::size_t flags = file.ItemOffset(5);
            QCOMPARE(int(TestFiles::ReadBytes(copy).at(flags)), file.Bytes()[flags] ^ 0x10);
            return;
        }
        ClickLine(*window, 5);
        QGuiApplication::clipboard()->setText(QStringLiteral("weight\n7\n"));
        Shortcut(*window, Qt::CTRL | Qt::Key_V);
        QCOMPARE(window->StatusBar1->currentMessage(),
                 QStringLiteral("tiledata.mul is open read-only; nothing was pasted"));
        QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
        QCOMPARE(window->StatusBar1->currentMessage(),
                 QStringLiteral("tiledata.mul is open read-only; nothing was saved"));
        QVERIFY(TestFiles::ReadBytes(Files->Path()) == file.Bytes());
    }

    void aClassicFileTurnsBackToTheFirstFlagPage_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Open") << "open";
        QTest::newRow("Reload") << "reload";
        QTest::newRow("drop") << "drop";
    }

    // Its flags could otherwise be neither seen nor edited.
    void aClassicFileTurnsBackToTheFirstFlagPage()
    {
        QFETCH(QString, way);
        TestFiles::WriteBytes(Files->Path(), NewerFile());
        auto window = OpenWindow(*Answers, Files->Path());
        ClickLine(*window, 5);
        QTest::mouseClick(window->UpperFlags->PageButton(), Qt::LeftButton);
        QVERIFY(window->UpperFlags->IsUpperPageShown());
        TileFolder classic(3);
        classic.Write();
        if (way == QLatin1String("open")) {
            Answers->Then(ChooseFile(classic.Path()));
            Shortcut(*window, Qt::CTRL | Qt::Key_O);
        } else if (way == QLatin1String("drop")) {
            DropFile(*window, classic.Path());
        } else {
            TestFiles::WriteBytes(Files->Path(), TestFiles::ReadBytes(classic.Path()));
            MenuAction(*window, QStringLiteral("&Reload"))->trigger();
        }
        QCOMPARE(window->LayoutField->text(), QStringLiteral("16,383 tiles \u00B7 32-bit flags"));
        QVERIFY(!window->UpperFlags->IsUpperPageShown() && window->cbWall->isVisible());
    }

    // The filter offers the flags the file has, bit 31 above bit 30 as the
    // flag boxes stand, and bits 32 to 63 filter too.
    void theFilterOffersTheFilesFlags()
    {
        std::vector<unsigned char> bytes = NewerFile();
        bytes[NewerItemAt(9) + 4] = 0x20; // bit 37
        TestFiles::WriteBytes(Files->Path(), bytes);
        auto window = OpenWindow(*Answers, Files->Path());
        auto *button = window->findChild<QToolButton *>(QStringLiteral("FilterFlags"));
        QList<QAction *> flags = button->menu()->actions();
        QCOMPARE(flags.size(), 64 + 2);
        QVERIFY(flags[30]->text().startsWith(QLatin1String("StairRight")));
        QVERIFY(flags[31]->text().startsWith(QLatin1String("Stairsback")));
        QVERIFY(flags[37]->text().startsWith(QLatin1String("PixelBleed")));
        flags[37]->trigger();
        QCOMPARE(ListCount(*window), 1);
        QCOMPARE(ListLine(*window, 0), QStringLiteral("0x9 - tile 9"));
    }

    void upperFlagsCountWhereFlagsDo_data()
    {
        QTest::addColumn<quint64>("flags");
        QTest::addColumn<QString>("named"); // as the picture cell's tooltip names them
        QTest::newRow("none") << quint64(0) << QString();
        QTest::newRow("NoShadow, bit 36") << (quint64(1) << 36) << QStringLiteral(": NoShadow");
        QTest::newRow("unnamed bit 40") << (quint64(1) << 40) << QStringLiteral(": Bit40");
        QTest::newRow("both") << (quint64(0x11) << 36) << QStringLiteral(": NoShadow, Bit40");
    }

    // A nameless, all-zero tile without a picture whose only flags are bits
    // 32 to 63 is no free slot, and the Pictures cell's tooltip names those flags.
    void upperFlagsCountWhereFlagsDo()
    {
        QFETCH(quint64, flags);
        QFETCH(QString, named);
        std::vector<unsigned char> bytes = NewerFile();
        std::fill_n(bytes.begin() + std::ptrdiff_t(NewerItemAt(3)), 8 + 13 + 20, 0);
        for (int k = 0; k < 8; ++k)
            bytes[NewerItemAt(3) + std::size_t(k)] = static_cast<unsigned char>(flags >> (8 * k));
        TestFiles::WriteBytes(Files->Path(), bytes);
        auto window = OpenWindow(*Answers, Files->Path());
        window->findChild<QToolButton *>(QStringLiteral("FreeOnly"))->click();
        QCOMPARE(ListCount(*window), flags == 0 ? 1 : 0);
        const QString tip = TPictureDelegate::TipText(*window->Document->Store(), TTileKind::Item, 3);
        QCOMPARE(tip.section(QLatin1Char(';'), 0, 0), QStringLiteral("0x0003") + named);
    }
};

QTEST_MAIN(LayoutsTest)
#include "tst_layouts.moc"
