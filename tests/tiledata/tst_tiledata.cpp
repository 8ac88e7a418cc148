#include "platform/Error.h"
#include "platform/FileProbe.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TileDataWriter.h"
#include "tiledata/TileDataReader.h"

#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Record = TileDataWriter::Record;

namespace {

QString Latin1(const std::string &bytes)
{
    // Test names are Windows-1252; below 0x80 and from 0xA0 on it equals Latin-1.
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

Record Sample(int seed)
{
    Record r;
    r.Flags = 0x80000001u * std::uint32_t(seed + 1);
    r.Weight = std::uint8_t(seed * 3);
    r.Quality = std::uint8_t(seed * 5);
    r.Unknown0 = std::uint16_t(seed * 1000 + 7);
    r.Unknown1 = std::uint8_t(seed + 11);
    r.Quantity = std::uint8_t(seed + 13);
    r.Anim = std::uint16_t(0xF000 + seed);
    r.Unknown2 = std::uint8_t(seed + 17);
    r.Hue = std::uint8_t(seed + 19);
    r.Unknown3 = std::uint8_t(seed + 23);
    r.Unknown4 = std::uint8_t(seed + 29);
    r.Height = std::uint8_t(seed + 31);
    r.Name = "tile" + std::to_string(seed);
    return r;
}

} // namespace

class TileDataTest : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;

    QString PathOf(const char *name) const { return FDir.filePath(QLatin1String(name)); }

    std::unique_ptr<TTileData> Loaded(const QString &path, QStringList *lines = nullptr)
    {
        auto store = std::make_unique<TTileData>(path);
        QStringList scratch;
        store->LoadTiles(lines ? *lines : scratch);
        return store;
    }

private slots:
    void recordOffsets_data();
    void recordOffsets();
    void fieldsReadBack();
    void listLines_data();
    void listLines();
    void namesStayInsideTheirField_data();
    void namesStayInsideTheirField();
    void settersKeepLowBits_data();
    void settersKeepLowBits();
    void refilledListShowsRenamedTiles();
    void saveChangesOnlyTheRecords();
    void saveWithoutEditsIsByteIdentical();
    void saveSyncsItsWritesBeforeClosing();
    void editedStoreDestroyedLeavesFileAlone();
    void replaceNameFoldsOnlyAsciiLetters_data();
    void replaceNameFoldsOnlyAsciiLetters();
    void findNameFoldsByCodePage_data();
    void findNameFoldsByCodePage();
    void shortFiles_data();
    void shortFiles();
    void outOfRangeIndexesAreInert();
    void missingFileNamesPathAndReason();
};

void TileDataTest::recordOffsets_data()
{
    QTest::addColumn<int>("tile");
    QTest::addColumn<qint64>("offset");
    QTest::newRow("first") << 0 << qint64(428036);
    QTest::newRow("last of group 0") << 31 << qint64(429183);
    QTest::newRow("first of group 1") << 32 << qint64(429224);
    QTest::newRow("0x3FFE") << 0x3FFE << qint64(1036214);
}

void TileDataTest::recordOffsets()
{
    QFETCH(int, tile);
    QFETCH(qint64, offset);
    QCOMPARE(TTileLayout::Classic().RecordOffset(TTileKind::Item, tile), offset);
    QCOMPARE(qint64(TileDataWriter::OffsetOf(tile)), offset);
}

void TileDataTest::fieldsReadBack()
{
    TileDataWriter writer(7);
    const int tiles[] = {0, 1, 31, 32, 5000, 0x3FFE};
    for (int t : tiles)
        writer.SetRecord(t, Sample(t % 200));
    Record extremes;
    extremes.Flags = 0xFFFFFFFFu;
    extremes.Weight = extremes.Quality = extremes.Unknown1 = extremes.Quantity = 0xFF;
    extremes.Unknown2 = extremes.Hue = extremes.Unknown3 = extremes.Unknown4 = extremes.Height = 0xFF;
    extremes.Unknown0 = extremes.Anim = 0xFFFF;
    writer.SetRecord(100, extremes);
    writer.WriteTo(PathOf("fields.mul"));

    auto store = Loaded(PathOf("fields.mul"));
    for (int t : {0, 1, 31, 32, 5000, 0x3FFE, 100}) {
        const Record r = writer.ReadRecord(t);
        QCOMPARE(store->GetFlags(t), r.Flags);
        QCOMPARE(store->GetWeight(t), int(r.Weight));
        QCOMPARE(store->GetQuality(t), int(r.Quality));
        QCOMPARE(store->GetUnknown0(t), int(r.Unknown0));
        QCOMPARE(store->GetUnknown1(t), int(r.Unknown1));
        QCOMPARE(store->GetQuantity(t), int(r.Quantity));
        QCOMPARE(store->GetAnim(t), int(r.Anim));
        QCOMPARE(store->GetUnknown2(t), int(r.Unknown2));
        QCOMPARE(store->GetHue(t), int(r.Hue));
        QCOMPARE(store->GetUnknown3(t), int(r.Unknown3));
        QCOMPARE(store->GetUnknown4(t), int(r.Unknown4));
        QCOMPARE(store->GetHeight(t), int(r.Height));
        QCOMPARE(store->GetName(t), Latin1(r.Name));
    }
    QCOMPARE(store->GetAnim(100), 65535);
    QCOMPARE(store->GetFlags(100), 0xFFFFFFFFu);
}

void TileDataTest::listLines_data()
{
    QTest::addColumn<int>("tile");
    QTest::addColumn<QByteArray>("rawName");
    QTest::addColumn<QString>("line");
    QTest::newRow("empty name") << 0 << QByteArray(20, '\0') << QString("0x0 - ");
    QTest::newRow("upper-case hex") << 10 << QByteArray("rock").leftJustified(20, '\0') << QString("0xA - rock");
    QTest::newRow("two digits") << 255 << QByteArray("wall").leftJustified(20, '\0') << QString("0xFF - wall");
    QTest::newRow("garbage after zero")
        << 256 << QByteArray("door\0XYZ", 8).leftJustified(20, 'Q') << QString("0x100 - door");
    QTest::newRow("20 bytes at group end")
        << 31 << QByteArray("ABCDEFGHIJKLMNOPQRST") << QString("0x1F - ABCDEFGHIJKLMNOPQRST");
    QTest::newRow("20 bytes at 0x3FFE")
        << 0x3FFE << QByteArray("abcdefghijklmnopqrst") << QString("0x3FFE - abcdefghijklmnopqrst");
    QTest::newRow("code page letters") << 77 << QByteArray("\xC9p\xE9\x80").leftJustified(20, '\0')
                                       << QString::fromUtf8("0x4D - Épé€");
}

void TileDataTest::listLines()
{
    QFETCH(int, tile);
    QFETCH(QByteArray, rawName);
    QFETCH(QString, line);
    TileDataWriter writer(tile + 1);
    writer.SetRawName(tile, rawName.toStdString());
    writer.WriteTo(PathOf("lines.mul"));

    QStringList lines;
    auto store = Loaded(PathOf("lines.mul"), &lines);
    QCOMPARE(lines.size(), TileCount);
    QCOMPARE(lines.at(tile), line);
    QCOMPARE(store->ListLine(tile), line);
    QVERIFY(lines.first().startsWith("0x0 - "));
    QVERIFY(lines.last().startsWith("0x3FFE - "));

    QListWidget list;
    store->FillListBox(&list);
    QCOMPARE(list.count(), TileCount);
    QCOMPARE(list.item(tile)->text(), line);
    QVERIFY(list.updatesEnabled());
}

void TileDataTest::namesStayInsideTheirField_data()
{
    QTest::addColumn<int>("tile");
    QTest::newRow("followed by a record") << 5;
    QTest::newRow("followed by a group header") << 31;
    QTest::newRow("last handled record") << 0x3FFE;
}

void TileDataTest::namesStayInsideTheirField()
{
    QFETCH(int, tile);
    TileDataWriter writer(11);
    writer.RandomizeRecords();
    writer.WriteTo(PathOf("names.mul"));
    const std::vector<unsigned char> before = writer.Bytes();

    auto store = Loaded(PathOf("names.mul"));
    const QString twenty = QStringLiteral("Twenty characters!!!");
    store->SetName(tile, twenty + QStringLiteral("and more"));
    QCOMPARE(store->GetName(tile), twenty);
    if (tile < 0x3FFE)
        QCOMPARE(store->GetFlags(tile + 1), writer.ReadRecord(tile + 1).Flags);
    store->Save();

    const std::vector<unsigned char> after = TestFiles::ReadBytes(PathOf("names.mul"));
    const std::size_t end = TileDataWriter::OffsetOf(tile) + 37;
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after[end], before[end]);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&after[end - 20]), 20), twenty.toLatin1());
}

void TileDataTest::settersKeepLowBits_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("stored");
    QTest::newRow("weight 256") << "Weight" << 256 << 0;
    QTest::newRow("weight 300") << "Weight" << 300 << 44;
    QTest::newRow("weight -1") << "Weight" << -1 << 255;
    QTest::newRow("quality 511") << "Quality" << 511 << 255;
    QTest::newRow("unknown0 70000") << "Unknown0" << 70000 << 4464;
    QTest::newRow("unknown0 -1") << "Unknown0" << -1 << 65535;
    QTest::newRow("unknown1 257") << "Unknown1" << 257 << 1;
    QTest::newRow("quantity 1000") << "Quantity" << 1000 << 232;
    QTest::newRow("anim 0x1FFFF") << "Anim" << 0x1FFFF << 0xFFFF;
    QTest::newRow("anim 0x12345") << "Anim" << 0x12345 << 0x2345;
    QTest::newRow("unknown2 258") << "Unknown2" << 258 << 2;
    QTest::newRow("hue 512") << "Hue" << 512 << 0;
    QTest::newRow("unknown3 -2") << "Unknown3" << -2 << 254;
    QTest::newRow("unknown4 999") << "Unknown4" << 999 << 231;
    QTest::newRow("height 128") << "Height" << 128 << 128;
}

void TileDataTest::settersKeepLowBits()
{
    QFETCH(QString, field);
    QFETCH(int, value);
    QFETCH(int, stored);
    TileDataWriter writer(3);
    writer.RandomizeRecords();
    writer.WriteTo(PathOf("setters.mul"));
    auto store = Loaded(PathOf("setters.mul"));
    const int tile = 40;
    const Record neighbour = writer.ReadRecord(tile + 1);

    using Setter = void (TTileData::*)(int, int);
    using Getter = int (TTileData::*)(int) const;
    const QHash<QString, QPair<Setter, Getter>> fields = {
        {"Weight", {&TTileData::SetWeight, &TTileData::GetWeight}},
        {"Quality", {&TTileData::SetQuality, &TTileData::GetQuality}},
        {"Unknown0", {&TTileData::SetUnknown0, &TTileData::GetUnknown0}},
        {"Unknown1", {&TTileData::SetUnknown1, &TTileData::GetUnknown1}},
        {"Quantity", {&TTileData::SetQuantity, &TTileData::GetQuantity}},
        {"Anim", {&TTileData::SetAnim, &TTileData::GetAnim}},
        {"Unknown2", {&TTileData::SetUnknown2, &TTileData::GetUnknown2}},
        {"Hue", {&TTileData::SetHue, &TTileData::GetHue}},
        {"Unknown3", {&TTileData::SetUnknown3, &TTileData::GetUnknown3}},
        {"Unknown4", {&TTileData::SetUnknown4, &TTileData::GetUnknown4}},
        {"Height", {&TTileData::SetHeight, &TTileData::GetHeight}},
    };
    const auto accessors = fields.value(field);
    QVERIFY(accessors.first);
    const std::uint32_t flags = store->GetFlags(tile);
    const QString name = store->GetName(tile);
    (store.get()->*accessors.first)(tile, value);
    QCOMPARE((store.get()->*accessors.second)(tile), stored);
    // Nothing else of the record or its neighbour moved.
    QCOMPARE(store->GetFlags(tile), flags);
    QCOMPARE(store->GetName(tile), name);
    QCOMPARE(store->GetFlags(tile + 1), neighbour.Flags);
    QCOMPARE(store->GetWeight(tile + 1), int(neighbour.Weight));
}

void TileDataTest::refilledListShowsRenamedTiles()
{
    TileDataWriter writer(19);
    writer.SetRecord(7, Sample(1));
    writer.SetRecord(8, Sample(1));
    writer.WriteTo(PathOf("refill.mul"));
    QListWidget list;
    auto store = std::make_unique<TTileData>(PathOf("refill.mul"));
    store->FillListBox(&list); // before LoadTiles: every name is empty
    QCOMPARE(list.item(7)->text(), QString("0x7 - "));

    auto loaded = Loaded(PathOf("refill.mul"));
    loaded->SetName(5, "renamed");
    loaded->ReplaceName("TILE1", "replaced");
    // A refill of a full box renews its lines in place, and must leave the
    // box as replacing every line does: nothing selected, no current line.
    list.item(9)->setText("typed over");
    list.setCurrentRow(7);
    QListWidgetItem *const kept = list.item(8);
    loaded->FillListBox(&list);
    QCOMPARE(list.item(8), kept);
    QCOMPARE(list.currentRow(), -1);
    QVERIFY(list.selectedItems().isEmpty());
    QCOMPARE(list.item(9)->text(), loaded->ListLine(9));
    QCOMPARE(list.count(), TileCount);
    QCOMPARE(list.item(5)->text(), QString("0x5 - renamed"));
    QCOMPARE(list.item(7)->text(), QString("0x7 - replaced"));
    QCOMPARE(list.item(8)->text(), QString("0x8 - replaced"));

    // A fresh LoadTiles goes back to the image, which still holds the old names.
    QStringList lines;
    loaded->LoadTiles(lines);
    QCOMPARE(lines.at(7), QString("0x7 - tile1"));
    loaded->FillListBox(&list);
    QCOMPARE(list.item(5)->text(), loaded->ListLine(5));
}

void TileDataTest::saveChangesOnlyTheRecords()
{
    TileDataWriter writer(21);
    writer.RandomizeRecords();
    writer.WriteTo(PathOf("save.mul"));
    TileDataWriter model = writer;

    auto store = Loaded(PathOf("save.mul"));
    for (int t : {0, 31, 32, 1000, 0x3FE0, 0x3FFE}) {
        const Record r = Sample(t % 97);
        store->SetFlags(t, r.Flags);
        store->SetWeight(t, r.Weight);
        store->SetQuality(t, r.Quality);
        store->SetUnknown0(t, r.Unknown0);
        store->SetUnknown1(t, r.Unknown1);
        store->SetQuantity(t, r.Quantity);
        store->SetAnim(t, r.Anim);
        store->SetUnknown2(t, r.Unknown2);
        store->SetHue(t, r.Hue);
        store->SetUnknown3(t, r.Unknown3);
        store->SetUnknown4(t, r.Unknown4);
        store->SetHeight(t, r.Height);
        store->SetName(t, Latin1(r.Name));
        model.SetRecord(t, r);
    }
    store->Save();

    const std::vector<unsigned char> after = TestFiles::ReadBytes(PathOf("save.mul"));
    QCOMPARE(after.size(), writer.Bytes().size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (!TileDataWriter::IsRecordByte(i) && after[i] != writer.Bytes()[i])
            QFAIL(qPrintable(QString("byte %1 outside the records changed").arg(i)));
    }
    QVERIFY(after == model.Bytes());

    // A reload shows the saved table.
    QStringList lines;
    store->LoadTiles(lines);
    QCOMPARE(store->GetName(0x3FFE), Latin1(Sample(0x3FFE % 97).Name));
}

void TileDataTest::saveWithoutEditsIsByteIdentical()
{
    TileDataWriter writer(5);
    writer.RandomizeRecords();
    writer.WriteTo(PathOf("same.mul"));
    auto store = Loaded(PathOf("same.mul"));
    store->Save();
    store->Save();
    QVERIFY(TestFiles::ReadBytes(PathOf("same.mul")) == writer.Bytes());
}

void TileDataTest::saveSyncsItsWritesBeforeClosing()
{
    TileDataWriter(6).WriteTo(PathOf("durable.mul"));
    auto store = Loaded(PathOf("durable.mul"));
    store->SetName(1, "durable");
    using FileProbe::Step;
    std::vector<Step> steps;
    const std::string path = PathOf("durable.mul").toStdString();
    FileProbe::Set([&](Step step, const std::string &file, std::int64_t) {
        if (step != Step::Read && file == path)
            steps.push_back(step);
        return false;
    });
    store->Save();
    FileProbe::Set({});
    // Only a sync after the last write puts the saved bytes on the disk.
    QVERIFY(steps.size() >= 3);
    QCOMPARE(steps.front(), Step::Write);
    QVERIFY(steps.end()[-2] == Step::Sync && steps.back() == Step::Close);

    // A failed sync is a failed save.
    store->SetName(1, "again");
    FileProbe::Set([](Step step, const std::string &, std::int64_t) { return step == Step::Sync; });
    QVERIFY_THROWS_EXCEPTION(Error, store->Save());
    FileProbe::Set({});
}

void TileDataTest::editedStoreDestroyedLeavesFileAlone()
{
    TileDataWriter writer(9);
    writer.WriteTo(PathOf("discard.mul"));
    {
        auto store = Loaded(PathOf("discard.mul"));
        store->SetName(3, "changed");
        store->SetFlags(3, 0x12345678);
        store->ReplaceName("changed", "again");
    }
    QVERIFY(TestFiles::ReadBytes(PathOf("discard.mul")) == writer.Bytes());
}

void TileDataTest::replaceNameFoldsOnlyAsciiLetters_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("same") << "rock" << "rock" << true;
    QTest::newRow("ascii case") << "ROCK" << "rock" << true;
    QTest::newRow("mixed case") << "RoCk" << "rOcK" << true;
    QTest::newRow("substring") << "rocks" << "rock" << false;
    QTest::newRow("accented case differs") << QString::fromUtf8("épée") << QString::fromUtf8("ÉPÉE") << false;
    QTest::newRow("accented same") << QString::fromUtf8("épée") << QString::fromUtf8("ÉPÉE").toLower() << true;
    QTest::newRow("20 characters") << "abcdefghijklmnopqrst" << "ABCDEFGHIJKLMNOPQRST" << true;
    QTest::newRow("longer than a name") << "abcdefghijklmnopqrst" << "abcdefghijklmnopqrstu" << false;
    QTest::newRow("outside the code page") << "?" << QString::fromUtf8("ж") << false;
}

void TileDataTest::replaceNameFoldsOnlyAsciiLetters()
{
    QFETCH(QString, stored);
    QFETCH(QString, oldName);
    QFETCH(bool, replaced);
    TileDataWriter writer(13);
    writer.WriteTo(PathOf("replace.mul"));
    auto store = Loaded(PathOf("replace.mul"));
    for (int t : {2, 700, 0x3FFE})
        store->SetName(t, stored);
    store->SetName(3, "other");
    store->ReplaceName(oldName, "NEW");
    for (int t : {2, 700, 0x3FFE})
        QCOMPARE(store->GetName(t), replaced ? QString("NEW") : stored);
    QCOMPARE(store->GetName(3), QString("other"));
}

void TileDataTest::findNameFoldsByCodePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("found");
    QTest::newRow("exact") << "stone wall" << 40;
    QTest::newRow("any case") << "STONE" << 40;
    QTest::newRow("partial") << "ne wa" << 40;
    QTest::newRow("lowest index wins") << "wall" << 40;
    QTest::newRow("accented, other case") << QString::fromUtf8("ÉPÉE") << 90;
    QTest::newRow("s caron and y diaeresis") << QString::fromUtf8("šÿ") << 91;
    QTest::newRow("sharp s not folded") << QString::fromUtf8("STRASSE") << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("no match") << "dragon" << -1;
    QTest::newRow("longer than a name") << "abcdefghijklmnopqrstu" << -1;
    QTest::newRow("20 characters") << "ABCDEFGHIJKLMNOPQRST" << 0x3FFE;
    QTest::newRow("outside the code page") << QString::fromUtf8("ж") << -1;
}

void TileDataTest::findNameFoldsByCodePage()
{
    QFETCH(QString, text);
    QFETCH(int, found);
    TileDataWriter writer(17);
    writer.WriteTo(PathOf("find.mul"));
    auto store = Loaded(PathOf("find.mul"));
    for (int t = 0; t < TileCount; ++t)
        store->SetName(t, QString());
    store->SetName(40, "Stone Wall");
    store->SetName(41, "wall");
    store->SetName(90, QString::fromUtf8("Épée"));
    store->SetName(91, QString::fromUtf8("ŠŸ"));
    store->SetName(92, QString::fromUtf8("straße"));
    store->SetName(93, "?");
    store->SetName(0x3FFE, "abcdefghijklmnopqrst");
    QCOMPARE(store->FindName(text), found);
}

void TileDataTest::shortFiles_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("leading section only") << 428032;
    QTest::newRow("inside the first record's name") << 428036 + 20;
    QTest::newRow("inside a group header") << 429222;
    QTest::newRow("one byte short") << 1036250;
    QTest::newRow("exactly the records") << 1036251;
}

void TileDataTest::shortFiles()
{
    QFETCH(int, size);
    TileDataWriter writer(23);
    writer.RandomizeRecords();
    writer.Truncate(std::size_t(size));
    writer.WriteTo(PathOf("short.mul"));

    QStringList lines;
    auto store = Loaded(PathOf("short.mul"), &lines);
    QCOMPARE(lines.size(), TileCount);
    // Beyond the end of the file every field reads as zero.
    const auto holds = [size](int tile, int bytes) {
        return std::size_t(size) >= TileDataWriter::OffsetOf(tile) + std::size_t(bytes);
    };
    QCOMPARE(store->GetFlags(0x3FFE), holds(0x3FFE, 4) ? writer.ReadRecord(0x3FFE).Flags : 0u);
    QCOMPARE(store->GetName(0x3FFD), holds(0x3FFD, 37) ? Latin1(writer.ReadRecord(0x3FFD).Name) : QString());
    if (size == 428036 + 20) {
        QCOMPARE(store->GetFlags(0), writer.ReadRecord(0).Flags);
        QCOMPARE(store->GetName(0).size(), qMin(3, int(writer.ReadRecord(0).Name.size())));
    }

    for (int t = 0; t < TileCount; t += 97)
        store->SetName(t, "renamed");
    store->Save();
    const std::vector<unsigned char> after = TestFiles::ReadBytes(PathOf("short.mul"));
    QCOMPARE(after.size(), std::size_t(size));
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (!TileDataWriter::IsRecordByte(i) && after[i] != writer.Bytes()[i])
            QFAIL(qPrintable(QString("byte %1 outside the records changed").arg(i)));
    }
}

void TileDataTest::outOfRangeIndexesAreInert()
{
    TileDataWriter writer(29);
    writer.RandomizeRecords();
    writer.WriteTo(PathOf("range.mul"));
    auto store = Loaded(PathOf("range.mul"));
    for (int bad : {-1, TileCount, 0x4000, INT_MAX, INT_MIN}) {
        store->SetFlags(bad, 1);
        store->SetWeight(bad, 1);
        store->SetName(bad, "x");
        QCOMPARE(store->GetFlags(bad), 0u);
        QCOMPARE(store->GetHeight(bad), 0);
        QCOMPARE(store->GetName(bad), QString());
    }
    store->Save();
    QVERIFY(TestFiles::ReadBytes(PathOf("range.mul")) == writer.Bytes());
}

void TileDataTest::missingFileNamesPathAndReason()
{
    const QString path = PathOf("absent.mul");
    try {
        TTileData store(path);
        QFAIL("a missing file loaded");
    } catch (const Error &e) {
        QCOMPARE(QString::fromUtf8(e.what()),
                 TestFiles::CannotOpenText(path, TestFiles::OpenFailureReason(TestFiles::OpenFailure::NoFile)));
    }
    TileDataWriter(1).WriteTo(PathOf("vanishing.mul"));
    auto store = Loaded(PathOf("vanishing.mul"));
    QVERIFY(QFile::remove(PathOf("vanishing.mul")));
    QVERIFY_THROWS_EXCEPTION(Error, store->Save());
    QVERIFY(!QFile::exists(PathOf("vanishing.mul")));
}

QTEST_MAIN(TileDataTest)
#include "tst_tiledata.moc"
