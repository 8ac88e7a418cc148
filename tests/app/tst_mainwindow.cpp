// The main window: start-up, layout, selection and display, key routing,
// flag and number editing.

#include "app/document/ErrorBox.h"
#include "app/form/StartFile.h"
#include "app/form/Unit1.h"
#include "app/pictures/NoPicture.h"
#include "app/pictures/PictureDelegate.h"
#include "art/VellArtReader.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/TestFiles.h"
#include "tiledata/TileDataReader.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>

class MainWindowTest : public WindowTest
{
    Q_OBJECT

private:
    // A window on a file whose tile 5 has known values.
    std::unique_ptr<TForm1> OpenSample()
    {
        TileDataWriter::Record record;
        record.Weight = 12;
        record.Hue = 34;
        record.Flags = 0x00000010;
        record.Name = "Rock";
        Files->Writer.SetRecord(5, record);
        return Open();
    }

private slots:
    // -- start-up ----------------------------------------------------------

    void startUpDialogIsSetUpForTileData()
    {
        QString title, preset, suffix, filter;
        QStringList filters;
        bool nonNative = false, hideDetails = false;
        Answers->Then([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            title = dialog->windowTitle();
            preset = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
            suffix = dialog->defaultSuffix();
            filters = dialog->nameFilters();
            filter = dialog->selectedNameFilter();
            nonNative = dialog->testOption(QFileDialog::DontUseNativeDialog);
            hideDetails = dialog->testOption(QFileDialog::HideNameFilterDetails);
            dialog->reject();
        });
        TForm1 window;
        QCOMPARE(title, QStringLiteral("Choose Tiledata"));
        QCOMPARE(preset, QStringLiteral("tiledata.mul"));
        QCOMPARE(suffix, QStringLiteral("mul"));
        QCOMPARE(filters, QStringList({QStringLiteral("Mul Filez (*.mul)"), QStringLiteral("all Filez (*)")}));
        QVERIFY2(filter.startsWith(QStringLiteral("Mul Filez")), qPrintable(filter));
        QVERIFY(nonNative);
        QVERIFY(hideDetails);
        QVERIFY(!window.isVisible()); // the dialog ran before the first show
    }

    void cancelledStartUpOpensAnEmptyWindow()
    {
        auto window = OpenWindow(*Answers, QString());
        QVERIFY(window->isVisible());
        QCOMPARE(ListCount(*window), 0);
        QVERIFY(!window->TileData());
        QVERIFY(window->VellArtReader1); // kept, never pointed anywhere
        QCOMPARE(window->VellArtReader1->ArtMulPath(), QString());
        QVERIFY(Answers->Boxes.isEmpty());
    }

    void failedStartUpShowsTheOpenErrorAndOpensAnEmptyWindow()
    {
        const QString missing = Files->Folder() + QStringLiteral("/missing.mul");
        auto window = OpenWindow(*Answers, missing);
        QCOMPARE(Answers->Boxes.size(), 1);
        QCOMPARE(Answers->Boxes[0].Title, QStringLiteral("Quorvane"));
        QCOMPARE(Answers->Boxes[0].Icon, QMessageBox::Critical);
        QCOMPARE(Answers->Boxes[0].Text,
                 TestFiles::CannotOpenText(missing, TestFiles::OpenFailureReason(TestFiles::OpenFailure::NoFile)) + '.');
        // Centred on the screen, as the window is, though shown before it.
        const QPoint centre = window->screen()->availableGeometry().center();
        QVERIFY((Answers->Boxes[0].Geometry.center() - centre).manhattanLength() <= 4);
        QVERIFY(window->isVisible());
        QCOMPARE(ListCount(*window), 0);
        QVERIFY(!window->TileData());
        QVERIFY(window->VellArtReader1);
    }

    // "quorvane FILE": the file opens as if picked in the dialog, which
    // never shows; one that cannot be opened gives the dialog's error box.
    void startFileOpensWithoutTheDialog_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("the file") << true;
        QTest::newRow("a missing file") << false;
    }

    void startFileOpensWithoutTheDialog()
    {
        QFETCH(bool, exists);
        ArtWriter art;
        art.PadToEntry(0x4000 + 3);
        art.AddRawPicture(ArtWriter::Pixels(44 * 44, 0x7C00));
        art.WriteTo(Files->Folder());
        if (exists)
            Files->Write();
        const QString path = QDir::toNativeSeparators(Files->Path());
        TForm1 window(nullptr, StartFile({QStringLiteral("quorvane"), Files->Path()}));
        QVERIFY(Answers->Unexpected.isEmpty()); // no dialog
        QCOMPARE(window.Edit3->text(), path);
        if (!exists) {
            QCOMPARE(Answers->Boxes.size(), 1);
            QCOMPARE(Answers->Boxes[0].Icon, QMessageBox::Critical);
            QCOMPARE(Answers->Boxes[0].Text,
                     TestFiles::CannotOpenText(path, TestFiles::OpenFailureReason(TestFiles::OpenFailure::NoFile)) + '.');
            QVERIFY(!window.TileData());
            return;
        }
        QVERIFY(Answers->Boxes.isEmpty());
        QCOMPARE(ListCount(window), TileCount);
        QCOMPARE(window.TileData()->GetFileName(), path);
        QCOMPARE(window.VellArtReader1->ArtMulPath(), QDir::toNativeSeparators(Files->Folder() + QLatin1Char('/')));
    }

    void startFileIsTheFirstArgumentMadeAbsolute_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const QString here = QDir::currentPath() + QLatin1Char('/');
        QTest::newRow("none") << QStringList{"quorvane"} << QString();
        QTest::newRow("empty") << QStringList{"quorvane", ""} << QString();
        QTest::newRow("relative") << QStringList{"quorvane", "data/tiledata.mul"} << here + "data/tiledata.mul";
        QTest::newRow("absolute, and more") << QStringList{"quorvane", here + "a.mul", "b.mul"} << here + "a.mul";
    }

    void startFileIsTheFirstArgumentMadeAbsolute()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        QCOMPARE(StartFile(arguments), QDir::toNativeSeparators(expected));
    }

    // A mistyped option is refused, never opened as a file of that name.
    void startCommandKnowsItsOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("help");
        QTest::addColumn<QString>("problem");
        QTest::newRow("--help") << QStringList{"quorvane", "--help"} << true << QString();
        QTest::newRow("-h after a file") << QStringList{"quorvane", "a.mul", "-h"} << true << QString();
        QTest::newRow("unknown") << QStringList{"quorvane", "--hlep"} << false << "\"--hlep\" is not an option";
        QTest::newRow("unknown after a file") << QStringList{"quorvane", "a.mul", "-x"} << false
                                              << "\"-x\" is not an option";
    }

    void startCommandKnowsItsOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, help);
        QFETCH(QString, problem);
        const StartCommand command = StartCommand::Read(arguments);
        QCOMPARE(command.Help, help);
        QCOMPARE(command.Problem, problem);
        QVERIFY(command.File.isEmpty());
    }

    void loadedStartUpListsEveryTileWithNothingSelected()
    {
        auto window = Open();
        QVERIFY(window->TileData());
        QCOMPARE(ListCount(*window), TileCount);
        QCOMPARE(ListLine(*window, 0), QStringLiteral("0x0 - n0"));
        QCOMPARE(ListLine(*window, 0xFF), QStringLiteral("0xFF - n255"));
        QCOMPARE(ListLine(*window, 0x3FFE), QStringLiteral("0x3FFE - n16382"));
        QCOMPARE(SelectedRow(*window), -1);
        QVERIFY(!window->TileShown);
        QCOMPARE(window->Label2->text(), QString());
        QCOMPARE(window->Edit3->text(), QDir::toNativeSeparators(Files->Path()));
        QVERIFY(window->ListBox1->uniformItemSizes());
        QCOMPARE(LineRect(*window, 0).height(), 13);
    }

    void artViewFollowsTheArtBesideTheFile_data()
    {
        QTest::addColumn<bool>("withArt");
        QTest::newRow("art.mul beside the file") << true;
        QTest::newRow("no art.mul") << false;
    }

    void artViewFollowsTheArtBesideTheFile()
    {
        QFETCH(bool, withArt);
        if (withArt) {
            ArtWriter art;
            art.PadToEntry(0x4000 + 3);
            art.AddRawPicture(ArtWriter::Pixels(44 * 44, 0x7C00));
            art.WriteTo(Files->Folder());
        }
        auto window = Open();
        if (!withArt) {
            QVERIFY(!window->VellArtReader1);
            QVERIFY(!window->findChild<TVellArtReader *>());
            ClickLine(*window, 3);
            QVERIFY(window->Image1->pixmap().isNull());
            return;
        }
        QVERIFY(window->VellArtReader1);
        QCOMPARE(window->VellArtReader1->ArtMulPath(), QDir::toNativeSeparators(Files->Folder() + QLatin1Char('/')));
        QVERIFY(window->VellArtReader1->Ready());
        QVERIFY(!window->VellArtReader1->isVisible());
    }

    // -- layout --------------------------------------------------------------

    void controlsStandWhereTheFormPlacesThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        // The section tabs and the filter's two rows stand above the list,
        // in its first 25 and 44 pixels.
        QTest::newRow("SectionTabs") << "SectionTabs" << QRect(0, 0, 209, 25) << QString();
        QTest::newRow("FilterBar") << "FilterBar" << QRect(0, 25, 209, 44) << QString();
        QTest::newRow("ListBox1") << "ListBox1" << QRect(0, 69, 209, 447) << QString();
        QTest::newRow("StatusBar1") << "StatusBar1" << QRect(0, 516, 718, 19) << QString();
        QTest::newRow("GroupBox3") << "GroupBox3" << QRect(224, 8, 225, 73) << "One Tile";
        QTest::newRow("GroupBox4") << "GroupBox4" << QRect(224, 80, 225, 97) << "Global";
        QTest::newRow("Panel1") << "Panel1" << QRect(224, 192, 217, 233) << QString();
        QTest::newRow("Image1") << "Image1" << QRect(1, 1, 215, 231) << QString();
        QTest::newRow("GroupBox2") << "GroupBox2" << QRect(456, 8, 249, 169) << "Properties";
        QTest::newRow("GroupBox1") << "GroupBox1" << QRect(456, 184, 249, 293) << "Tileflags";
        QTest::newRow("BitBtn3") << "BitBtn3" << QRect(376, 488, 75, 25) << "About";
        QTest::newRow("Button5") << "Button5" << QRect(464, 488, 75, 25) << "Find...";
        QTest::newRow("BitBtn1") << "BitBtn1" << QRect(544, 488, 75, 25) << "&Save";
        QTest::newRow("BitBtn2") << "BitBtn2" << QRect(624, 488, 75, 25) << "&Close";
        QTest::newRow("Edit1") << "Edit1" << QRect(96, 16, 121, 21) << QString();
        QTest::newRow("Button2") << "Button2" << QRect(128, 40, 89, 25) << "Rename";
        QTest::newRow("Edit2") << "Edit2" << QRect(88, 32, 121, 21) << QString();
        QTest::newRow("Button1") << "Button1" << QRect(120, 64, 89, 25) << "Global &Replace";
        QTest::newRow("edAnim") << "edAnim" << QRect(80, 136, 49, 21) << QString();
        QTest::newRow("edUnknown4") << "edUnknown4" << QRect(208, 112, 33, 21) << "0";
        QTest::newRow("cbBackground") << "cbBackground" << QRect(8, 16, 81, 17) << "&Background";
        QTest::newRow("cbWet") << "cbWet" << QRect(8, 128, 97, 17) << "&Liquid";
        QTest::newRow("cbStairRight") << "cbStairRight" << QRect(144, 256, 97, 17) << "StairRight";
        QTest::newRow("cbStairsback") << "cbStairsback" << QRect(144, 272, 97, 17) << "Stairsback";
    }

    void controlsStandWhereTheFormPlacesThem()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        auto window = OpenWindow(*Answers, QString());
        QCOMPARE(window->windowTitle(), QStringLiteral("Quorvane"));
        // The form stands below the menu bar, the window taller by as much.
        const int top = MenuHeight(*window);
        QVERIFY(top > 0);
        QCOMPARE(window->size(), QSize(718, 535 + top));
        auto *widget = window->findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), widget->parentWidget() == window.get() ? geometry.translated(0, top) : geometry);
        QVERIFY(widget->isVisible());
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            QCOMPARE(button->text(), text);
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            QCOMPARE(group->title(), text);
        else if (auto *edit = qobject_cast<QLineEdit *>(widget))
            QCOMPARE(edit->text(), text);
    }

    void onlyTheListAndTheStatusBarFollowAResize()
    {
        auto window = OpenWindow(*Answers, QString());
        const QRect flags = window->GroupBox1->geometry();
        const QRect save = window->BitBtn1->geometry();
        window->resize(900, 700);
        const int top = MenuHeight(*window);
        QCOMPARE(window->ListBox1->geometry(), QRect(0, top + 69, 209, 681 - top - 69));
        QCOMPARE(window->StatusBar1->geometry(), QRect(0, 681, 900, 19));
        QCOMPARE(window->GroupBox1->geometry(), flags);
        QCOMPARE(window->BitBtn1->geometry(), save);
    }

    void hiddenControlsStayHidden()
    {
        auto window = OpenWindow(*Answers, QString());
        for (const char *name : {"Label5", "Edit3", "Button4", "Button3", "VellArtReader1"}) {
            auto *widget = window->findChild<QWidget *>(QLatin1String(name));
            QVERIFY2(widget, name);
            QVERIFY2(!widget->isVisible(), name);
        }
    }

    void fontsAreSmallSansAndFixedPitch()
    {
        auto window = OpenWindow(*Answers, QString());
        QCOMPARE(window->font().pointSize(), 8);
        if (QFontDatabase::families().isEmpty())
            QSKIP("No font to measure: on Windows, Qt's offscreen platform looks for fonts only in Qt's own folder");
        auto isFixed = [](const QFont &font) {
            const QFontMetrics metrics(font);
            return metrics.horizontalAdvance(QLatin1Char('i')) == metrics.horizontalAdvance(QLatin1Char('W'));
        };
        QVERIFY(!isFixed(window->cbWall->font()));
        for (QWidget *fixed : {static_cast<QWidget *>(window->ListBox1), static_cast<QWidget *>(window->edWeight),
                               static_cast<QWidget *>(window->edAnim)}) {
            QCOMPARE(fixed->font().pointSize(), 8);
            QVERIFY2(isFixed(fixed->font()), qPrintable(fixed->objectName()));
        }
    }

    void labelsWithAcceleratorsFocusTheirBoxes()
    {
        auto window = Open();
        ClickLine(*window, 0); // the rename box is disabled until then
        QCOMPARE(window->Label4->text(), QStringLiteral("Rename &To"));
        QCOMPARE(window->Label4->buddy(), window->Edit1);
        QCOMPARE(window->Label3->text(), QStringLiteral("&With"));
        QCOMPARE(window->Label3->buddy(), window->Edit2);
        QTest::keyClick(window.get(), Qt::Key_T, Qt::AltModifier);
        QCOMPARE(FocusName(), QStringLiteral("Edit1"));
    }

    void tabVisitsTheControlsInTheFormsOrder()
    {
        auto window = Open();
        ClickLine(*window, 0); // the tile's controls are disabled until then
        QStringList expected = {QStringLiteral("ListBox1"), QStringLiteral("BitBtn1"), QStringLiteral("Button5")};
        const char *flags[] = {"cbBackground", "cbWeapon", "cbTransparent", "cbTranslucent", "cbWall", "cbDamaging",
                               "cbImpassable", "cbWet", "cbUnknown1", "cbSurface", "cbBridge", "cbGeneric",
                               "cbWindow", "cbNoShoot", "cbPrefixA", "cbPrefixAN", "cbMongen", "cbFoliage",
                               "cbPartialhue", "cbUnknown2", "cbMap", "cbContainer", "cbWearable", "cbLightsource",
                               "cbAnimated", "cbnodiagonal", "cbUnknown3", "cbArmor", "cbRoof", "cbDoor",
                               "cbStairsback", "cbStairRight"};
        for (const char *flag : flags)
            expected << QLatin1String(flag);
        for (const char *name : {"BitBtn2", "edWeight", "edQuality", "edHeight", "edHue", "edUnknown3",
                                 "edunknown2", "edAnim", "edQuantity", "edUnknown1", "edUnknown0", "edUnknown4",
                                 "Edit1", "Button2", "Edit2", "Button1", "BitBtn3", "SectionTabs", "FilterBox",
                                 "FilterFlags", "FreeOnly", "UsedByOnly", "ProblemsOnly",
                                 "ListBox1"})
            expected << QLatin1String(name);
        window->ListBox1->setFocus();
        QStringList visited = {FocusName()};
        for (int k = 1; k < expected.size(); ++k) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << FocusName();
        }
        QCOMPARE(visited, expected);
    }

    // -- selection and display ---------------------------------------------

    void selectionFillsEveryControl_data()
    {
        QTest::addColumn<quint32>("flags");
        QTest::addColumn<int>("byteValue");
        QTest::addColumn<int>("wordValue");
        QTest::addColumn<QString>("anim");
        QTest::newRow("largest values") << 0xFFFFFFFFu << 255 << 65535 << "FFFF";
        QTest::newRow("anim 1000") << 0x80000001u << 7 << 1000 << "3E8";
        QTest::newRow("zeros") << 0u << 0 << 0 << "0";
    }

    void selectionFillsEveryControl()
    {
        QFETCH(quint32, flags);
        QFETCH(int, byteValue);
        QFETCH(int, wordValue);
        QFETCH(QString, anim);
        TileDataWriter::Record r;
        r.Flags = flags;
        // Each one-byte field differs a little, so that a box fed by the
        // wrong field shows.
        r.Weight = std::uint8_t(byteValue);
        r.Quality = std::uint8_t(byteValue ? byteValue - 1 : 1);
        r.Unknown1 = std::uint8_t(byteValue ? byteValue - 2 : 2);
        r.Quantity = std::uint8_t(byteValue ? byteValue - 3 : 3);
        r.Unknown2 = std::uint8_t(byteValue ? byteValue - 4 : 4);
        r.Hue = std::uint8_t(byteValue ? byteValue - 5 : 5);
        r.Unknown3 = std::uint8_t(byteValue ? byteValue - 6 : 6);
        r.Unknown4 = std::uint8_t(byteValue ? byteValue - 7 : 7);
        r.Height = std::uint8_t(byteValue ? byteValue - 8 : 8);
        r.Unknown0 = std::uint16_t(wordValue);
        r.Anim = std::uint16_t(wordValue);
        r.Name = "TwentyCharacterName!";
        Files->Writer.SetRecord(40, r);
        auto window = Open();
        window->Edit2->setText(QStringLiteral("leftover"));
        ClickLine(*window, 40);

        auto number = [](int value) { return QString::number(value); };
        QCOMPARE(window->Edit1->text(), QStringLiteral("TwentyCharacterName!"));
        QCOMPARE(window->Label2->text(), QStringLiteral("TwentyCharacterName!"));
        QCOMPARE(window->Edit2->text(), QString());
        QCOMPARE(window->edWeight->text(), number(r.Weight));
        QCOMPARE(window->edQuality->text(), number(r.Quality));
        QCOMPARE(window->edUnknown1->text(), number(r.Unknown1));
        QCOMPARE(window->edQuantity->text(), number(r.Quantity));
        QCOMPARE(window->edunknown2->text(), number(r.Unknown2));
        QCOMPARE(window->edHue->text(), number(r.Hue));
        QCOMPARE(window->edUnknown3->text(), number(r.Unknown3));
        QCOMPARE(window->edUnknown4->text(), number(r.Unknown4));
        QCOMPARE(window->edHeight->text(), number(r.Height));
        QCOMPARE(window->edUnknown0->text(), number(wordValue));
        QCOMPARE(window->edAnim->text(), anim);
        QCOMPARE(window->CurrentFlags, flags);
        const QList<QCheckBox *> boxes = {
            window->cbBackground, window->cbWeapon, window->cbTransparent, window->cbTranslucent,
            window->cbWall, window->cbDamaging, window->cbImpassable, window->cbWet,
            window->cbUnknown1, window->cbSurface, window->cbBridge, window->cbGeneric,
            window->cbWindow, window->cbNoShoot, window->cbPrefixA, window->cbPrefixAN,
            window->cbMongen, window->cbFoliage, window->cbPartialhue, window->cbUnknown2,
            window->cbMap, window->cbContainer, window->cbWearable, window->cbLightsource,
            window->cbAnimated, window->cbnodiagonal, window->cbUnknown3, window->cbArmor,
            window->cbRoof, window->cbDoor, window->cbStairsback, window->cbStairRight};
        for (int bit = 0; bit < 32; ++bit)
            QVERIFY2(boxes[bit]->isChecked() == bool((flags >> bit) & 1u), qPrintable(boxes[bit]->objectName()));
        QVERIFY(window->TileShown);
    }

    void nameEndsAtItsFirstZeroByte()
    {
        Files->Writer.SetRawName(9, std::string("abc\0defghijklmnopqr", 20));
        auto window = Open();
        ClickLine(*window, 9);
        QCOMPARE(window->Edit1->text(), QStringLiteral("abc"));
        QCOMPARE(ListLine(*window, 9), QStringLiteral("0x9 - abc"));
    }

    void clickingTheSelectedLineShowsItsTileAgain()
    {
        auto window = OpenSample();
        ClickLine(*window, 5);
        window->Edit1->setText(QStringLiteral("typed, not renamed"));
        window->cbWall->setChecked(false); // writes, as the user's click would
        window->cbWall->setChecked(true);
        ClickLine(*window, 5);
        QCOMPARE(SelectedRow(*window), 5);
        QCOMPARE(window->Edit1->text(), QStringLiteral("Rock"));
        QVERIFY(window->cbWall->isChecked());
    }

    void selectingByProgramShowsNothing()
    {
        auto window = OpenSample();
        ClickLine(*window, 5);
        window->ListBox1->setFocus();
        QTest::keyClick(window->ListBox1, Qt::Key_Down);
        QCOMPARE(window->Edit1->text(), QStringLiteral("n6"));
    }

    void pictureIsDrawnUnscaledFromTheArt()
    {
        ArtWriter art;
        art.PadToEntry(0x4000 + 1);
        ArtWriter::Pixels diamond(44 * 44, 0x7C00);
        art.AddRawPicture(diamond);
        art.AddRunLength(30, 20, ArtWriter::Pixels(30 * 20, 0x001F), 0xFFFF);
        art.WriteTo(Files->Folder());
        auto window = Open();

        ClickLine(*window, 2);
        QCOMPARE(window->Image1Bitmap.format(), QImage::Format_RGB555);
        QCOMPARE(window->Image1Bitmap.size(), QSize(30, 20));
        QCOMPARE(window->Image1->pixmap().size(), QSize(30, 20));
        auto pixel = [&](int x, int y) {
            return reinterpret_cast<const quint16 *>(window->Image1Bitmap.constScanLine(y))[x] & 0x7FFF;
        };
        QCOMPARE(pixel(29, 19), quint16(0x001F));

        ClickLine(*window, 1);
        QCOMPARE(window->Image1Bitmap.size(), QSize(44, 44));
        QCOMPARE(pixel(22, 22), quint16(0x7C00));
        QCOMPARE(pixel(0, 0), quint16(0x7FFF)); // outside the diamond: white
        QCOMPARE(window->Image1->alignment(), Qt::AlignLeft | Qt::AlignTop);
        QVERIFY(!window->Image1->hasScaledContents());

        // An entry beyond the index shows no picture, as the Pictures
        // window's cell does, rather than the picture before.
        ClickLine(*window, 100);
        QCOMPARE(window->Image1Bitmap.size(), QSize(1, 1));
        QCOMPARE(window->Image1->pixmap().toImage(),
                 NoPicture(NoPictureSide).toImage());
    }

    // -- keys in the list ---------------------------------------------------

    void listKeysStayOrGoToTheRenameBox_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::newRow("Down") << int(Qt::Key_Down) << 0 << "ListBox1" << 11 << "";
        QTest::newRow("Up") << int(Qt::Key_Up) << 0 << "ListBox1" << 9 << "";
        QTest::newRow("Home") << int(Qt::Key_Home) << 0 << "ListBox1" << 0 << "";
        QTest::newRow("End") << int(Qt::Key_End) << 0 << "ListBox1" << 0x3FFE << "";
        QTest::newRow("Ctrl") << int(Qt::Key_Control) << 0 << "ListBox1" << 10 << "";
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << "Edit1" << 10 << "a";
        QTest::newRow("digit") << int(Qt::Key_7) << 0 << "Edit1" << 10 << "7";
        QTest::newRow("Ctrl+B") << int(Qt::Key_B) << int(Qt::ControlModifier) << "Edit1" << 10 << "";
        QTest::newRow("Left") << int(Qt::Key_Left) << 0 << "Edit1" << 10 << "";
        QTest::newRow("Right") << int(Qt::Key_Right) << 0 << "Edit1" << 10 << "";
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << "Edit1" << 10 << "";
        QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << "Edit1" << 10 << "";
        // Shift stays for a range with the arrows.
        QTest::newRow("Shift") << int(Qt::Key_Shift) << 0 << "ListBox1" << 10 << "";
        QTest::newRow("Space") << int(Qt::Key_Space) << 0 << "Edit1" << 10 << " ";
    }

    void listKeysStayOrGoToTheRenameBox()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, focus);
        QFETCH(int, row);
        QFETCH(QString, typed);
        auto window = Open();
        ClickLine(*window, 10);
        QCOMPARE(FocusName(), QStringLiteral("ListBox1"));
        QTest::keyClick(window->ListBox1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(FocusName(), focus);
        QCOMPARE(SelectedRow(*window), row);
        // A move by key shows the new tile; a character sent away is typed
        // into the box, and any other key sent away types nothing.
        QCOMPARE(window->Edit1->text(), QString::fromStdString(DefaultName(row)) + typed);
        QCOMPARE(window->Label2->text(), QString::fromStdString(DefaultName(row)));
    }

    void pageDownMovesAPageAndShowsTheTile()
    {
        auto window = Open();
        ClickLine(*window, 0);
        QTest::keyClick(window->ListBox1, Qt::Key_PageDown);
        const int row = SelectedRow(*window);
        QVERIFY(row > 10);
        QCOMPARE(window->Edit1->text(), QString::fromStdString(DefaultName(row)));
    }

    // -- flags ----------------------------------------------------------------

    void flagClicksWriteTheWholeWord_data()
    {
        QTest::addColumn<quint32>("before");
        QTest::addColumn<QString>("box");
        QTest::addColumn<quint32>("after");
        QTest::newRow("Transparent on") << 0u << "cbTransparent" << 0x00000004u;
        QTest::newRow("Transparent off") << 0x00000004u << "cbTransparent" << 0u;
        QTest::newRow("StairRight keeps the rest") << 0x12345678u << "cbStairRight" << 0x92345678u;
        QTest::newRow("Stairsback is bit 30") << 0u << "cbStairsback" << 0x40000000u;
        QTest::newRow("Liquid is bit 7") << 0xFFFFFFFFu << "cbWet" << 0xFFFFFF7Fu;
    }

    void flagClicksWriteTheWholeWord()
    {
        QFETCH(quint32, before);
        QFETCH(QString, box);
        QFETCH(quint32, after);
        TileDataWriter::Record r;
        r.Flags = before;
        r.Name = "flagged";
        Files->Writer.SetRecord(3, r);
        auto window = Open();
        ClickLine(*window, 3);
        auto *check = window->findChild<QCheckBox *>(box);
        QTest::mouseClick(check, Qt::LeftButton, Qt::NoModifier, QPoint(6, check->height() / 2));
        QCOMPARE(window->TileData()->GetFlags(3), after);
        QCOMPARE(window->CurrentFlags, after);
        QCOMPARE(window->TileData()->GetFlags(2), Files->Writer.ReadRecord(2).Flags);
        QCOMPARE(window->TileData()->GetFlags(4), Files->Writer.ReadRecord(4).Flags);
    }

    void fillingTheFlagBoxesWritesNothing()
    {
        TileDataWriter::Record all;
        all.Flags = 0xFFFFFFFFu;
        Files->Writer.SetRecord(20, all);
        TileDataWriter::Record wall;
        wall.Flags = 0x00000010u;
        Files->Writer.SetRecord(21, wall);
        auto window = Open();
        ClickLine(*window, 20);
        ClickLine(*window, 21); // 31 boxes go off while tile 21 is filled in
        ClickLine(*window, 20);
        QCOMPARE(window->TileData()->GetFlags(20), 0xFFFFFFFFu);
        QCOMPARE(window->TileData()->GetFlags(21), 0x00000010u);
        QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QCOMPARE(window->TileData()->GetFlags(20), 0xFFFFFFEFu);
        QCOMPARE(window->TileData()->GetFlags(21), 0x00000010u);
    }

    // -- number boxes ----------------------------------------------------------

    void aBoxReachesTheTileSelectedBeforeTheClick()
    {
        auto window = OpenSample();
        ClickLine(*window, 5);
        TypeInto(window->edWeight, QStringLiteral("77"));
        QCOMPARE(window->TileData()->GetWeight(5), 12); // not before it loses the focus
        ClickLine(*window, 6);
        QCOMPARE(window->TileData()->GetWeight(5), 77);
        QCOMPARE(window->TileData()->GetWeight(6), int(Files->Writer.ReadRecord(6).Weight));
        QCOMPARE(window->edWeight->text(), QString::number(Files->Writer.ReadRecord(6).Weight));
    }

    void clickingAFlagCommitsTheBoxFirst()
    {
        auto window = OpenSample();
        ClickLine(*window, 5);
        TypeInto(window->edHue, QStringLiteral("99"));
        QTest::mouseClick(window->cbBackground, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        QCOMPARE(window->TileData()->GetHue(5), 99);
        QCOMPARE(window->TileData()->GetFlags(5), 0x00000011u);
    }

    void enterMovesOnLikeTab_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("next");
        QTest::newRow("edWeight") << "edWeight" << "edQuality";
        QTest::newRow("edHue") << "edHue" << "edUnknown3";
        QTest::newRow("edunknown2") << "edunknown2" << "edAnim";
        QTest::newRow("edUnknown4, last of the group") << "edUnknown4" << "Edit1";
        QTest::newRow("edAnim keeps the focus") << "edAnim" << "edAnim";
    }

    void enterMovesOnLikeTab()
    {
        QFETCH(QString, box);
        QFETCH(QString, next);
        auto window = OpenSample();
        ClickLine(*window, 5);
        auto *edit = window->findChild<QLineEdit *>(box);
        TypeInto(edit, QStringLiteral("42"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(FocusName(), next);
        QCOMPARE(edit->text(), QStringLiteral("42"));
        if (box == QLatin1String("edWeight"))
            QCOMPARE(window->TileData()->GetWeight(5), 42); // moving on committed it
        if (box == QLatin1String("edAnim"))
            QCOMPARE(window->TileData()->GetAnim(5), int(Files->Writer.ReadRecord(5).Anim));
    }

    void decimalBoxesTakeDigitsOnly()
    {
        auto window = OpenSample();
        ClickLine(*window, 5);
        ClickInto(window->edHue);
        QTest::keyClick(window->edHue, Qt::Key_End);
        QTest::keyClicks(window->edHue, QStringLiteral("a-5 x+"));
        QCOMPARE(window->edHue->text(), QStringLiteral("345"));
        QTest::keyClick(window->edHue, Qt::Key_Backspace);
        QCOMPARE(window->edHue->text(), QStringLiteral("345"));
        QTest::keyClick(window->edHue, Qt::Key_Home);
        QTest::keyClick(window->edHue, Qt::Key_Delete);
        QCOMPARE(window->edHue->text(), QStringLiteral("45"));
        QTest::keyClick(window->edHue, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(window->edHue->selectedText(), QStringLiteral("45"));
        // The hex box has no filter.
        ClickInto(window->edAnim);
        QTest::keyClick(window->edAnim, Qt::Key_End);
        QTest::keyClicks(window->edAnim, QStringLiteral("fz"));
        QVERIFY(window->edAnim->text().endsWith(QStringLiteral("fz")));
    }

    void valuesMustFitTheirFields_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown"); // empty: refused with the message
        QTest::addColumn<QString>("message");
        QTest::newRow("300 in Weight") << "edWeight" << "300" << "" << "\"300\" is out of range for Weight: 0 to 255.";
        QTest::newRow("70000 in Unknown0") << "edUnknown0" << "70000" << ""
                                           << "\"70000\" is out of range for Unknown0: 0 to 65535.";
        QTest::newRow("256 in Height") << "edHeight" << "256" << "" << "\"256\" is out of range for Height: 0 to 255.";
        QTest::newRow("255 in Height") << "edHeight" << "255" << "255" << "";
        QTest::newRow("12345 in Anim") << "edAnim" << "12345" << "" << "\"12345\" is out of range for AnimID: 0 to FFFF.";
        QTest::newRow("100000000 in Anim, 0 in 32 bits") << "edAnim" << "100000000" << ""
                                                          << "\"100000000\" is out of range for AnimID: 0 to FFFF.";
        QTest::newRow("1f in Anim") << "edAnim" << "1f" << "1F" << "";
        QTest::newRow("$1F in Anim") << "edAnim" << "$1F" << "1F" << "";
        QTest::newRow("7Fz9 in Anim") << "edAnim" << "7Fz9" << "7F" << "";
        QTest::newRow("0x1F in Anim") << "edAnim" << "0x1F" << "0" << "";
        QTest::newRow("emptied Anim") << "edAnim" << "" << "0" << "";
    }

    // A value the field cannot hold is refused, and the box keeps the focus
    // and the value, so that it never shows one value while the file gets
    // another.
    void valuesMustFitTheirFields()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        auto window = OpenSample();
        ClickLine(*window, 5);
        const QByteArray before = window->TileData()->GetRecordBytes(TTileKind::Item, 5);
        auto *edit = window->findChild<QLineEdit *>(box);
        TypeInto(edit, typed);
        if (typed.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClick(edit, Qt::Key_Tab);
        if (!message.isEmpty()) {
            QCOMPARE(Answers->Boxes.size(), 1);
            QCOMPARE(Answers->Boxes[0].Text, message);
            QCOMPARE(window->focusWidget(), edit);
            QCOMPARE(edit->text(), typed);
            QCOMPARE(window->TileData()->GetRecordBytes(TTileKind::Item, 5), before);
            return;
        }
        ClickLine(*window, 6);
        ClickLine(*window, 5);
        QCOMPARE(edit->text(), shown);
        QVERIFY(Answers->Boxes.isEmpty());
    }

    void textThatIsNoIntegerLeavesTheTileAlone_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("message");
        QTest::newRow("letters") << "abc" << "'abc' is not a valid integer value.";
        QTest::newRow("empty") << "" << "'' is not a valid integer value.";
        QTest::newRow("trailing blank") << "12 " << "'12 ' is not a valid integer value.";
        QTest::newRow("too large") << "2147483648" << "'2147483648' is not a valid integer value.";
    }

    void textThatIsNoIntegerLeavesTheTileAlone()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, message);
        auto window = OpenSample();
        ClickLine(*window, 5);
        PasteInto(window->edHue, pasted);
        if (pasted.isEmpty())
            QTest::keyClick(window->edHue, Qt::Key_Delete);
        QCOMPARE(window->edHue->text(), pasted);
        QTest::keyClick(window->edHue, Qt::Key_Tab);
        QCOMPARE(Answers->Boxes.size(), 1);
        QCOMPARE(Answers->Boxes[0].Text, message);
        QCOMPARE(Answers->Boxes[0].Title, QStringLiteral("Quorvane"));
        QCOMPARE(window->TileData()->GetHue(5), 34);
        QCOMPARE(window->edHue->text(), pasted); // until the next selection
        // The window goes on working.
        ClickLine(*window, 6);
        QCOMPARE(window->Edit1->text(), QStringLiteral("n6"));
    }

    void pastedFormsOfIntegersAreAccepted_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<int>("stored");
        QTest::newRow("leading blanks") << "  12" << 12;
        QTest::newRow("plus") << "+7" << 7;
        QTest::newRow("dollar hex") << "$1F" << 31;
        QTest::newRow("0x hex") << "0x10" << 16;
    }

    void pastedFormsOfIntegersAreAccepted()
    {
        QFETCH(QString, pasted);
        QFETCH(int, stored);
        auto window = OpenSample();
        ClickLine(*window, 5);
        PasteInto(window->edHue, pasted);
        QTest::keyClick(window->edHue, Qt::Key_Tab);
        QVERIFY(Answers->Boxes.isEmpty());
        QCOMPARE(window->TileData()->GetHue(5), stored);
    }

    void leavingTheWindowCommitsNothing()
    {
        auto window = OpenSample();
        ClickLine(*window, 5);
        TypeInto(window->edWeight, QStringLiteral("99"));
        QCOMPARE(FocusName(), QStringLiteral("edWeight"));
        auto other = std::make_unique<QWidget>();
        other->show();
        other->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(other.get()));
        QCOMPARE(window->TileData()->GetWeight(5), 12);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(FocusName(), QStringLiteral("edWeight"));
        QTest::keyClick(window->edWeight, Qt::Key_Tab);
        QCOMPARE(window->TileData()->GetWeight(5), 99);
    }

    // -- no tile ----------------------------------------------------------------

    void withoutAStoreNothingActs()
    {
        auto window = OpenWindow(*Answers, QString());
        QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        PasteInto(window->edHue, QStringLiteral("abc"));
        QTest::keyClick(window->edHue, Qt::Key_Tab);
        window->ListBox1->setFocus();
        QTest::keyClick(window->ListBox1, Qt::Key_Down);
        QVERIFY(Answers->Boxes.isEmpty());
        QVERIFY(!window->TileData());
        QVERIFY(!window->TileShown);
    }

    void withoutASelectedLineNoTileIsEdited()
    {
        auto window = Open();
        TypeInto(window->edWeight, QStringLiteral("200"));
        QTest::keyClick(window->edWeight, Qt::Key_Tab);
        QTest::mouseClick(window->cbWall, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
        PasteInto(window->edHue, QStringLiteral("abc"));
        QTest::keyClick(window->edHue, Qt::Key_Tab);
        QVERIFY(Answers->Boxes.isEmpty());
        for (int tile = 0; tile < TileCount; ++tile) {
            const TileDataWriter::Record r = Files->Writer.ReadRecord(tile);
            if (window->TileData()->GetWeight(tile) != r.Weight || window->TileData()->GetFlags(tile) != r.Flags)
                QFAIL(qPrintable(QStringLiteral("tile %1 changed").arg(tile)));
        }
    }

    // -- closing and About -------------------------------------------------

    void aboutNamesTheProgramAndItsVersion()
    {
        auto window = OpenWindow(*Answers, QString());
        QTest::mouseClick(window->BitBtn3, Qt::LeftButton);
        QCOMPARE(Answers->Boxes.size(), 1);
        QCOMPARE(Answers->Boxes[0].Title, QStringLiteral("About Quorvane"));
        QCOMPARE(Answers->Boxes[0].Icon, QMessageBox::Information);
        QCOMPARE(Answers->Boxes[0].Text.section(QLatin1Char('\n'), 0, 0), QStringLiteral("Quorvane " QUORVANE_VERSION));
        QVERIFY(Answers->Boxes[0].Text.count(QLatin1Char('\n')) >= 1);
        QVERIFY(!window->BitBtn3->icon().isNull());
        QVERIFY(!window->BitBtn1->icon().isNull());
        QVERIFY(!window->BitBtn2->icon().isNull());
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
