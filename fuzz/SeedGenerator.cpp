// Writes the seed corpora of the fuzz harnesses from the test-support
// writers: well-formed files and every boundary case the tests know.
//   fuzz_seeds <folder>   makes <folder>/tiledata, art, patches, hues, edits,
//                         container, journal, textures, animations and check

#include "fuzz/FuzzLayout.h"
#include "fuzz/TileScript.h"
#include "tests/support/AnimationWriter.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/ContainerWriter.h"
#include "tests/support/HueWriter.h"
#include "tests/support/JournalWriter.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/RadarWriter.h"
#include "tests/support/TextureWriter.h"
#include "tests/support/TileDataWriter.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class SeedFolder
{
public:
    SeedFolder(const QString &Root, const QString &Harness)
        : FPath(QDir(Root).filePath(Harness))
    {
        QDir().mkpath(FPath);
    }

    void Add(const std::string &Name, const Bytes &Input)
    {
        QFile file(QDir(FPath).filePath(QString::fromStdString(Name)));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(reinterpret_cast<const char *>(Input.data()), qint64(Input.size())) != qint64(Input.size())) {
            std::fprintf(stderr, "cannot write seed %s\n", Name.c_str());
            std::exit(1);
        }
        ++FCount;
    }

    int Count() const { return FCount; }

private:
    QString FPath;
    int FCount = 0;
};

// Tile data --------------------------------------------------------------

Bytes Slice(const std::vector<unsigned char> &From, std::size_t Begin, std::size_t End)
{
    return Bytes(From.begin() + std::ptrdiff_t(Begin), From.begin() + std::ptrdiff_t(End));
}

std::vector<TileScript> TileScripts()
{
    const QString twenty = QStringLiteral("abcdefghijklmnopqrst");
    const QString accented = QString::fromUtf8("\xC3\xA9p\xC3\xA9\x65 \xC5\xA0\xC3\xBF\xE2\x82\xAC");
    std::vector<TileScript> scripts(7);
    // Every setter with values beyond its field, on the first, a group's
    // last and the last tile.
    for (const int tile : {0, 31, 0x3FFE}) {
        for (int field = 0; field < FuzzLayout::TileFieldCount; ++field) {
            scripts[0].SetField(field, tile, 256).SetField(field, tile, 0x1FFFF).SetField(field, tile, 0xFFFFFFFFu);
        }
        scripts[0].GetAll(tile);
    }
    scripts[0].Save().LoadTiles().GetAll(0x3FFE);
    // Names that fill their field, are too long, empty, or outside ASCII.
    for (const int tile : {0, 31, 32, 0x3FFE}) {
        scripts[1].SetName(tile, twenty).SetName(tile + 1, twenty + QStringLiteral("uvwxy")).GetAll(tile);
    }
    scripts[1].SetName(5, QString()).SetName(6, accented).SetName(7, QString::fromUtf8("\xD0\xB6"))
        .SetName(8, QString(QChar(0)) + QStringLiteral("x")).Save().LoadTiles().GetAll(6);
    // Global renames: by ASCII case, of the empty name, and too long.
    scripts[2].SetName(10, QStringLiteral("Rock")).SetName(11, QStringLiteral("rOCK"))
        .ReplaceName(QStringLiteral("ROCK"), QStringLiteral("stone")).ReplaceName(QString(), QStringLiteral("nameless"))
        .ReplaceName(twenty + QStringLiteral("u"), QStringLiteral("x")).ReplaceName(accented, accented.toUpper())
        .Save().LoadTiles();
    // Searches: other case, accented letters, empty, longer than a name.
    scripts[3].SetName(40, accented).FindName(accented.toUpper()).FindName(QString())
        .FindName(twenty + QStringLiteral("u")).FindName(QStringLiteral("E"));
    // Tiles outside the table.
    for (const int tile : {-2, -1, 16383, 0x4000, 65533}) {
        scripts[4].SetField(0, tile, 1).SetField(11, tile, 1).SetName(tile, QStringLiteral("x")).GetAll(tile);
    }
    scripts[4].Save();
    // A new store saved before it is loaded, reloads and the list box.
    scripts[5].Reopen().Save().Reopen().LoadTiles().FillListBox().Save().Save();
    // Land tiles and the upper flag bits: the first land record, a group's
    // last, the last before the items, and past the land section.
    for (const int tile : {0, 31, 32, 0x3FFF, 0x4000, -1}) {
        scripts[6].SetFlags64(true, tile, 0xFFFFFFFFFFFFFFFFull).SetTexture(tile, 0x1FFFF)
            .SetLandName(tile, twenty + QStringLiteral("u")).GetLand(tile);
        scripts[6].SetFlags64(false, tile, 0x0000002000000010ull).GetAll(tile);
    }
    scripts[6].SetLandName(3, QStringLiteral("grass")).SetLandName(4, QStringLiteral("GRASS"))
        .ReplaceLandName(QStringLiteral("Grass"), QStringLiteral("sand")).Save().LoadTiles().GetLand(3).Reopen()
        .GetLand(0x3FFF).Save();
    return scripts;
}

// Files of the newer layout, and lengths one byte either side of one.
void NewerTileDataSeeds(SeedFolder &Seeds, const std::vector<TileScript> &Scripts)
{
    LayoutTileWriter writer = LayoutTileWriter::Newer(3, 12);
    writer.SetRawLandName(0x3FFF, "abcdefghijklmnopqrst");
    writer.SetRawItemName(0x5F, "ABCDEFGHIJKLMNOPQRST");
    const auto &file = writer.Bytes();
    const std::size_t items = LayoutTileWriter::NewerLandSection;
    // Stretches: the first land records, the end of the land section with
    // the first item group, and the last item group with the end.
    const std::vector<std::pair<std::size_t, Bytes>> stretches = {
        {0, Slice(file, 0, 400)},
        {writer.LandOffset(0x3FF0), Slice(file, writer.LandOffset(0x3FF0), items + 400)},
        {writer.ItemOffset(0x40) - 4, Slice(file, writer.ItemOffset(0x40) - 4, file.size())},
    };
    int n = 0;
    for (const std::size_t groups : {1, 2, 3, 413}) {
        const std::size_t exact = items + LayoutTileWriter::NewerItemGroup * groups;
        for (const std::size_t length : {exact - 1, exact, exact + 1}) {
            for (std::size_t s = 0; s < Scripts.size(); s += 2) {
                const auto &stretch = stretches[(n++) % stretches.size()];
                Seeds.Add("newer" + std::to_string(length) + "-script" + std::to_string(s),
                          Scripts[s].Placed(std::uint32_t(length), std::uint32_t(stretch.first), stretch.second));
            }
            Seeds.Add("newer" + std::to_string(length) + "-land",
                      Scripts.back().Cyclic(std::uint32_t(length), Slice(file, 0, 4 + 30 * 32)));
        }
    }
    // Land groups named as real files are, in files too short for either
    // layout and one of an unclear length: the layout guess settles.
    LayoutTileWriter named = LayoutTileWriter::Newer(1, 13);
    LayoutTileWriter classic = LayoutTileWriter::Classic(14);
    named.NameAllLand();
    classic.NameAllLand();
    for (const std::uint32_t length : {500000u, 1036289u}) {
        Seeds.Add("named-newer" + std::to_string(length),
                  Scripts.back().Cyclic(length, Slice(named.Bytes(), 0, 4 + 30 * 32)));
        Seeds.Add("named-classic" + std::to_string(length),
                  Scripts.back().Cyclic(length, Slice(classic.Bytes(), 0, 4 + 26 * 32)));
    }
}

void TileDataSeeds(SeedFolder &Seeds)
{
    TileDataWriter writer(11);
    writer.RandomizeRecords();
    writer.SetRawName(31, "ABCDEFGHIJKLMNOPQRST");
    writer.SetRawName(0x3FFE, "abcdefghijklmnopqrst");
    const auto &file = writer.Bytes();
    const std::size_t group1 = TileDataWriter::OffsetOf(32) - 4;
    // Stretches of a real file: the first records, a group boundary and the
    // end of the last record with the tail behind it.
    const std::vector<std::pair<std::size_t, Bytes>> stretches = {
        {TileDataWriter::OffsetOf(0) - 4, Slice(file, TileDataWriter::OffsetOf(0) - 4, TileDataWriter::OffsetOf(0) + 400)},
        {group1 - 370, Slice(file, group1 - 370, group1 + 374)},
        {TileDataWriter::OffsetOf(0x3FF0), Slice(file, TileDataWriter::OffsetOf(0x3FF0), file.size())},
    };
    const std::uint32_t lengths[] = {
        0, 1, 428031, 428032, 428035, 428036, 428037, 428040, 428053, 428060, 428073,
        std::uint32_t(group1 + 2), 1036250, 1036251, std::uint32_t(TileDataWriter::FullSize),
        std::uint32_t(TileDataWriter::FullSize + 4096),
    };
    const std::vector<TileScript> scripts = TileScripts();
    int n = 0;
    for (const std::uint32_t length : lengths) {
        for (std::size_t s = 0; s < scripts.size(); ++s) {
            const auto &stretch = stretches[(n++) % stretches.size()];
            Seeds.Add("len" + std::to_string(length) + "-script" + std::to_string(s),
                      scripts[s].Placed(length, std::uint32_t(stretch.first), stretch.second));
        }
    }
    NewerTileDataSeeds(Seeds, scripts);
    const Bytes record = Slice(file, TileDataWriter::OffsetOf(31), TileDataWriter::OffsetOf(31) + 37);
    Seeds.Add("cyclic-record", scripts[1].Cyclic(std::uint32_t(TileDataWriter::FullSize), record));
    Seeds.Add("cyclic-ones", scripts[0].Cyclic(std::uint32_t(TileDataWriter::RecordsEnd), Bytes(1, 0xFF)));
}

// Art -------------------------------------------------------------------

ArtWriter::Pixels Gradient(std::size_t Count)
{
    ArtWriter::Pixels pixels(Count);
    for (std::size_t i = 0; i < Count; ++i)
        pixels[i] = std::uint16_t((i * 37) & 0x7FFF);
    return pixels;
}

ArtWriter::RunLengthPicture Picture(int Width, int Height, std::uint32_t Header = 1)
{
    return ArtWriter::RunsOf(Width, Height, Gradient(std::size_t(Width * Height)), 0x7FFF, Header);
}

ArtWriter::RunLengthPicture OneRun(int Width, std::uint16_t Gap, int Pixels, int Count = -1)
{
    ArtWriter::RunLengthPicture picture;
    picture.Width = std::uint16_t(Width);
    picture.Height = 1;
    picture.Rows = {{ArtWriter::Run{Gap, Gradient(std::size_t(Pixels)), Count}}};
    return picture;
}

Bytes ArtInput(const ArtWriter &Writer)
{
    const Bytes index = Writer.ArtIndexBytes();
    const Bytes art = Writer.ArtBytes();
    Bytes input(2 + index.size() + art.size());
    input[0] = std::uint8_t(index.size());
    input[1] = std::uint8_t(index.size() >> 8);
    std::copy(art.begin(), art.end(), std::copy(index.begin(), index.end(), input.begin() + 2));
    return input;
}

void ArtSeeds(SeedFolder &Seeds)
{
    Seeds.Add("empty", ArtInput(ArtWriter()));
    {
        // Absent entries 0 to 3 have patches, 4 has none.
        ArtWriter w;
        for (int e = 0; e <= FuzzLayout::FixedPatchCount; ++e)
            w.AddAbsent();
        w.AddRaw(Gradient(1012));
        w.AddRunLength(Picture(5, 4));
        Seeds.Add("absent-and-present", ArtInput(w));
    }
    {
        // Header words at the edges of the two kinds.
        ArtWriter w;
        for (const std::uint32_t header : {1u, 65535u, 0xFFFFFFFFu, 0x80000000u})
            w.AddRunLength(Picture(3, 3, header));
        for (const std::uint32_t header : {0u, 65536u, 0x7FFFFFFFu})
            w.AddEntry(ArtWriter::RawEntry(Gradient(1012), header));
        Seeds.Add("header-kinds", ArtInput(w));
    }
    {
        ArtWriter w;
        ArtWriter::RunLengthPicture tall;
        tall.Width = 1;
        tall.Height = 2560;
        w.AddRunLength(tall);
        tall.Height = 2561;
        w.AddRunLength(tall);
        ArtWriter::RunLengthPicture flat;
        flat.Width = 0;
        flat.Height = 3;
        w.AddRunLength(flat);
        Seeds.Add("heights", ArtInput(w));
    }
    {
        ArtWriter w;
        w.AddRunLength(OneRun(5120, 0, 5120));
        w.AddRunLength(OneRun(5121, 0, 4, 5121));
        w.AddRunLength(OneRun(4, 2, 6));    // past the right edge
        w.AddRunLength(OneRun(4, 9, 0));    // a first pair of count 0
        w.AddRunLength(OneRun(4, 0xFFFF, 3)); // a gap far beyond the edge
        Seeds.Add("runs", ArtInput(w));
    }
    {
        // Offsets the art file does not hold, and a short last index record.
        ArtWriter w;
        w.AddRaw(Gradient(1012));
        w.AddIndexRecord(-2, 0);
        w.AddIndexRecord(0x7FFFFFFF, 4);
        w.AddIndexRecord(std::int32_t(w.ArtBytes().size()) - 2, 4);
        Bytes input = ArtInput(w);
        const Bytes partial = {0, 0, 0, 0, 1};
        Bytes index = w.ArtIndexBytes();
        index.insert(index.end(), partial.begin(), partial.end());
        Bytes shortIndex = {std::uint8_t(index.size()), std::uint8_t(index.size() >> 8)};
        shortIndex.insert(shortIndex.end(), index.begin(), index.end());
        const Bytes art = w.ArtBytes();
        shortIndex.insert(shortIndex.end(), art.begin(), art.end());
        Seeds.Add("offsets", input);
        Seeds.Add("short-index-record", shortIndex);
    }
    {
        // A raw and a run-length entry cut at every part of their layout.
        ArtWriter raw;
        raw.AddRaw(Gradient(1012));
        ArtWriter runs;
        runs.AddRunLength(Picture(6, 5));
        for (const std::size_t keep : {0, 2, 4, 6, 100, 2027}) {
            Bytes cut = ArtInput(raw);
            cut.resize(std::min(cut.size(), 2 + 12 + keep));
            Seeds.Add("raw-cut-" + std::to_string(keep), cut);
        }
        const std::size_t runBytes = runs.ArtBytes().size();
        for (const std::size_t keep : {std::size_t(5), std::size_t(8), std::size_t(13), std::size_t(20), runBytes - 1}) {
            Bytes cut = ArtInput(runs);
            cut.resize(2 + 12 + keep);
            Seeds.Add("runs-cut-" + std::to_string(keep), cut);
        }
    }
}

// Patches ---------------------------------------------------------------

Bytes ToInput(const std::vector<unsigned char> &Bytes)
{
    return ::Bytes(Bytes.begin(), Bytes.end());
}

void PatchSeeds(SeedFolder &Seeds)
{
    Seeds.Add("empty-file", {});
    {
        ArtWriter w;
        Seeds.Add("no-records", ToInput(w.VerdataBytes()));
    }
    const auto picture = ArtWriter::RunLengthEntry(Picture(4, 3));
    {
        ArtWriter w;
        w.AddPatch(ArtWriter::ArtFileId, 0x4000 + 7, picture);
        w.AddPatch(ArtWriter::ArtFileId, 0x4000 + 7, ArtWriter::RunLengthEntry(Picture(2, 2)));
        w.AddPatch(ArtWriter::ArtFileId, 5, picture);
        w.AddPatch(12, 0x4000 + 8, picture);
        w.AddPatch(ArtWriter::ArtFileId, std::int32_t(0x80000000u), picture); // wraps when reduced
        w.AddPatch(ArtWriter::ArtFileId, 0x4000 + 9, ArtWriter::RunLengthEntry(OneRun(5121, 0, 4, 5121)));
        Seeds.Add("mixed", ToInput(w.VerdataBytes()));
    }
    for (const std::int32_t declared : {-1, 0x7FFFFFFF, 3}) {
        ArtWriter w;
        w.AddPatch(ArtWriter::ArtFileId, 0x4000, picture);
        w.SetDeclaredPatchCount(declared);
        Seeds.Add("declared-" + std::to_string(declared), ToInput(w.VerdataBytes()));
    }
    {
        ArtWriter w;
        w.AddPatchRecord(ArtWriter::ArtFileId, 0x4000, -5, 0);
        w.AddPatchRecord(ArtWriter::ArtFileId, 0x4001, 0x7FFFFFF0, 0);
        w.AddPatchRecord(ArtWriter::ArtFileId, 0x4002, 2, 0);
        Bytes bytes = ToInput(w.VerdataBytes());
        Seeds.Add("offsets", bytes);
        bytes.resize(bytes.size() - 7); // the last record cut short
        Seeds.Add("cut-record", bytes);
    }
}

// Hues ------------------------------------------------------------------

Bytes HueInput(const std::string &Text, const std::vector<unsigned char> &File)
{
    Bytes input = {std::uint8_t(Text.size())};
    input.insert(input.end(), Text.begin(), Text.end());
    input.insert(input.end(), File.begin(), File.end());
    return input;
}

void HueSeeds(SeedFolder &Seeds)
{
    HueWriter three(3);
    for (int n = 1; n <= three.HueCount(); ++n)
        three.SetColor(n, 30, HueWriter::Colour15(n % 32, 31 - n % 32, 7));
    three.SetColor(1, 0, 0x7FFF);
    three.SetColor(2, 0, 0x7C00);
    three.SetColor(3, 0, 0x8000);
    three.SetTrailing(std::vector<unsigned char>(100, 0xAB));
    HueWriter one(1);
    one.SetRawName(1, "ABCDEFGHIJKLMNOPQRST");
    const std::vector<std::pair<std::string, std::vector<unsigned char>>> seeds = {
        {"", {}},
        {"5", std::vector<unsigned char>(707, 0x11)},
        {"0a", one.Bytes()},
        {"0489", three.Bytes()},
        {"$489", three.Bytes()},
        {"1161", three.Bytes()},
        {"000489", three.Bytes()},
        {"  0  ", three.Bytes()},
        {"1A", three.Bytes()},
        {"0x1F", three.Bytes()},
        {"hue-7_z", three.Bytes()},
    };
    int n = 0;
    for (const auto &[text, file] : seeds)
        Seeds.Add("hues-" + std::to_string(n++), HueInput(text, file));
}

// Edits files of quorvane-tool ---------------------------------------------

Bytes TextInput(const std::string &Text)
{
    return Bytes(Text.begin(), Text.end());
}

void EditsSeeds(SeedFolder &Seeds)
{
    const std::string header = "index\tflags\tflagnames\tweight\tquality\tunknown0\tunknown1\tquantity\tanim\t"
                               "unknown2\thue\tunknown3\tunknown4\theight\tname\n";
    const std::vector<std::string> texts = {
        // A whole dump's form, with escapes, the code page's high half and
        // the largest values.
        header + "0x0\t00000000\t\t0\t0\t0\t0\t0\t0000\t0\t0\t0\t0\t0\t\n"
                 "0x1A\t00006050\tWall|Impassable|NoShoot|Article 'A'\t255\t1\t65535\t2\t3\tFFFF\t4\t5\t6\t7\t20\t"
                 "a\\b\\tc\\n\\x01\xE2\x82\xAC\xC3\xBF\n"
                 "0x3FFE\tFFFFFFFF\tBackground|Weapon|StairRight\t9\t9\t9\t9\t9\t00FF\t9\t9\t9\t9\t9\tabcdefghijklmnopqrst\n",
        // Few columns in another order, CRLF ends, a byte-order mark.
        "\xEF\xBB\xBFname\tindex\tflagnames\r\nnew\t0x5\tDoor|Roof\r\n\r\nold\t0x6\t\r\n",
        "index\tanim\n0x7\t1\n0x8\t0001E\n",
        // A dump's layout line: its own layout, the other, a spreadsheet's
        // padding, an unknown one; a name that begins with a quote mark.
        "layout\tclassic\nindex\tname\n0x3\t\"\"\"\"\"x\"\"\"\n",
        "layout\tnewer\t\t\nindex\tweight\n0x3\t1\n",
        "layout\tplain\nindex\n",
        // The layout column: its own layout, empty, the other, an unknown one.
        "index\tflags\tlayout\n0x3\t00000010\tclassic\n0x4\t00000010\t\n0x5\t00000010\tnewer\n",
        "index\tlayout\tname\n0x3\tplain\tx\n",
        // Quoted cells as spreadsheets write them, and their faults.
        "\"index\"\tname\tweight\n0x4\t\"oak \"\"red\"\" barrel\"\t\"7\"\n0x5\t\"a\tb\"\t\"\"\n",
        "index\tname\n0x4\t\"oak\n0x5\t\"a\"b\n",
        std::string("\xFF\xFEi\0n\0", 6),
        // Faults: ranges, forms, names, headers, repeats and cell counts.
        "index\tweight\n0x2\t300\n",
        "index\tweight\n0x2\t-1\n",
        "index\tunknown0\n0x2\t99999999999999999999\n",
        "index\tname\n0x2\tabcdefghijklmnopqrstu\n",
        "index\tname\n0x2\t\xE5\x90\x8D\n",
        "index\tname\n0x2\ta\\x0\n",
        "index\tname\n0x2\t\\x00\n",
        "index\tname\n0x2\t\xC3(\xED\xA0\x80\xF4\x90\x80\x80\n",
        "index\tflags\tflagnames\n0x1\t10\tWall|Door\n",
        "index\tflagnames\n0x1\t|Wall|\n",
        "index\tweigth\n0x1\t2\n",
        "index\tindex\n0x1\t0x1\n",
        "weight\n2\n",
        "weight\tname\n9\twall\n",
        "flagnames\n\n2\nWall\n",
        "index\tweight\n0x1\t1\n0x1\t2\n",
        "index\tweight\n0x1\n",
        "index\n0x3FFF\n0X3ffe\n",
        "",
    };
    // Land edits, and the upper flag bits, for files of either layout.
    const std::vector<std::string> landTexts = {
        "index\tflags\tflagnames\ttexture\tname\n0x0\t00000001\tBackground\t0\tgrass\n"
        "0x3FFF\t0000000100000000\tBit32\t65535\tabcdefghijklmnopqrst\n",
        "index\ttexture\n0x4000\t1\n0x3\t65536\n",
        "index\tweight\n0x1\t1\n",
        "index\tflagnames\n0x1F\tWall|Bit40|Bit63\n0x20\tBit64\n",
    };
    // The shape byte: bit 0 land, bit 1 a newer file of 1 + ((shape >> 2) &
    // 0x1F) groups, bit 7 the window's paste, where the index may be left out.
    const std::uint8_t shapes[] = {0, 1, 2, 3, 0x7E, 0x80, 0xFE, 0xFF};
    int n = 0;
    for (const std::uint8_t shape : shapes) {
        for (const auto *list : {&texts, &landTexts}) {
            for (const std::string &text : *list)
                Seeds.Add("edits-" + std::to_string(n++), TextInput(char(shape) + text));
        }
    }
}

} // namespace

// Packed container ------------------------------------------------------

// Blocks of four with unused slots: bare and headed land diamonds, stored
// and zlib; run-length and raw items; an entry behind a data header; and
// item 11, which would unpack to more than 4 MiB.
ContainerWriter GoodContainer(ContainerWriter::KeyOrder Order)
{
    ContainerWriter w(4, Order);
    const ArtWriter::Bytes headed = ArtWriter::RawEntry(Gradient(1012));
    w.AddUnused();
    w.AddArt(0, ArtWriter::Bytes(headed.begin() + 4, headed.end()), false);
    w.AddArt(1, headed, true, ArtWriter::Bytes(6, 0xAB));
    for (int item = 0; item < 6; ++item) {
        const auto picture = ArtWriter::RunLengthEntry(Picture(3 + item, 2 + item));
        w.AddArt(0x4000 + item, item == 4 ? headed : picture, item % 2 == 0);
        if (item == 2)
            w.AddUnused();
    }
    w.AddArt(0x4000 + 11, ArtWriter::Bytes(4 * 1024 * 1024 + 1, 0), true);
    return w;
}

void ContainerSeeds(SeedFolder &Seeds)
{
    using Order = ContainerWriter::KeyOrder;
    Seeds.Add("empty", {});
    Seeds.Add("no-entries", ContainerWriter().Build());
    Seeds.Add("c-high", GoodContainer(Order::PrimaryHigh).Build());
    Seeds.Add("b-high", GoodContainer(Order::PrimaryLow).Build());
    {
        ContainerWriter w;
        w.AddEntry(w.KeyOf("build/gumpartlegacymul/00000000.tga"), Bytes(8, 1), 8, 0);
        Seeds.Add("no-art-names", w.Build());
    }
    const ContainerWriter w = GoodContainer(Order::PrimaryHigh);
    const Bytes good = w.Build();
    const std::vector<std::pair<std::string, std::function<void(Bytes &)>>> lies = {
        {"loop", [&](Bytes &F) { ContainerWriter::Put64(F, w.BlockOffset(2) + 4, w.BlockOffset(1)); }},
        {"count", [&](Bytes &F) { ContainerWriter::Put32(F, w.BlockOffset(1), 0xFFFFFFFF); }},
        {"block-past-end", [&](Bytes &F) { ContainerWriter::Put64(F, w.BlockOffset(0) + 4, F.size() - 3); }},
        {"cut", [&](Bytes &F) { F.resize(w.RecordOffset(6) + 20); }},
        {"data-past-end", [&](Bytes &F) { ContainerWriter::Put64(F, w.RecordOffset(3), F.size() - 8); }},
        {"size-lies", [&](Bytes &F) { ContainerWriter::Put32(F, w.RecordOffset(3) + 16, 9); }},
        {"stored-lies", [&](Bytes &F) { ContainerWriter::Put32(F, w.RecordOffset(4) + 12, 0x10); }},
        {"compression", [&](Bytes &F) { F[w.RecordOffset(2) + 32] = 7; }},
        {"zlib-damaged", [&](Bytes &F) { F[w.DataOffset(2) + 6 + 9] ^= 0x5A; }},
    };
    for (const auto &[name, lie] : lies) {
        Bytes file = good;
        lie(file);
        Seeds.Add(name, file);
    }
}

// Journals of a save ----------------------------------------------------

void JournalSeeds(SeedFolder &Seeds)
{
    Bytes file(300);
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = std::uint8_t(i * 7);
    const auto input = [&file](const Bytes &Journal) {
        Bytes bytes = {std::uint8_t(file.size() & 0xFF), std::uint8_t(file.size() >> 8)};
        bytes.insert(bytes.end(), file.begin(), file.end());
        bytes.insert(bytes.end(), Journal.begin(), Journal.end());
        return bytes;
    };
    const JournalWriter::Stretch first{10, Bytes(file.begin() + 10, file.begin() + 30), Bytes(20, 'n')};
    const JournalWriter::Stretch second{200, Bytes(file.begin() + 200, file.begin() + 204), Bytes(4, 'm')};
    const Bytes whole = JournalWriter::Build(file.size(), {first, second});
    Seeds.Add("whole", input(whole));
    Seeds.Add("cut-short", input(Bytes(whole.begin(), whole.end() - 5)));
    Bytes checksum = whole;
    checksum[30] ^= 1;
    Seeds.Add("checksum", input(checksum));
    JournalWriter::Stretch beyond = second;
    beyond.At = 298;
    Seeds.Add("beyond", input(JournalWriter::Build(file.size(), {first, beyond})));
    Seeds.Add("longer-file", input(JournalWriter::Build(4000, {first, {3000, Bytes(4, 1), Bytes(4, 2)}})));
    JournalWriter::Stretch changed = first;
    changed.Old[3] ^= 0xFF;
    changed.New[3] = changed.Old[3];
    Seeds.Add("changed", input(JournalWriter::Build(file.size(), {changed})));
    Seeds.Add("not-ours", input(Bytes{'P', 'K', 3, 4, 0, 0}));
    Seeds.Add("empty", input(Bytes()));
}

// Textures and animations --------------------------------------------------

// Part behind its length as a little-endian word.
void AppendPart(Bytes &Input, const Bytes &Part)
{
    Input.push_back(std::uint8_t(Part.size() & 0xFF));
    Input.push_back(std::uint8_t(Part.size() >> 8));
    Input.insert(Input.end(), Part.begin(), Part.end());
}

// The table's length as a word, the table, then texmaps.mul.
Bytes TextureInput(const TextureWriter &W)
{
    Bytes input;
    AppendPart(input, W.IndexBytes());
    const Bytes pixels = W.TextureBytes();
    input.insert(input.end(), pixels.begin(), pixels.end());
    return input;
}

void TextureSeeds(SeedFolder &Seeds)
{
    TextureWriter w;
    w.PadToEntry(1);
    w.AddTexture(64, [](int X, int Y) { return std::uint16_t(X * 33 + Y); });
    w.AddTexture(128, [](int X, int Y) { return std::uint16_t(X ^ Y); });
    w.AddEntry(0, 0);
    w.AddEntry(0, 8000);
    w.AddEntry(0xFFFFFFF0u, 32768);
    w.AddEntry(8192, 32768, 1);
    Seeds.Add("both-sizes", TextureInput(w));
    Bytes cut = TextureInput(w);
    cut.resize(cut.size() - 100);
    Seeds.Add("pixels-cut", cut);
    Seeds.Add("empty", Bytes{});
}

void AnimationSeeds(SeedFolder &Seeds)
{
    AnimationWriter w;
    w.SetHeader(0, 0x12345678);
    w.SetEntry(1, {0, 1, 2, 3}, 2, 1);
    w.SetEntry(7, {0, -7, 120, -128}, 10, 0);
    w.SetEntry(9, {1}, 1, 0, 200);
    w.SetEntry(20, {0, 1}, 1, 0);
    Bytes file = w.FileBytes();
    Bytes input = {0x00, 0x40};
    input.insert(input.end(), file.begin(), file.end());
    Seeds.Add("entries", input);
    input.resize(input.size() - 30);
    Seeds.Add("cut", input);
    Seeds.Add("few-items", Bytes{0x08, 0x00, 0x01});
}

// The check: the shape and the files present, then each part behind its
// length (see FuzzCheck.cpp).
void CheckSeeds(SeedFolder &Seeds)
{
    // Land tile 0 with TexID 0x7000; item 0 animated without an entry.
    Bytes land(4 + 30, 0);
    land[4 + 8] = 0x00;
    land[4 + 9] = 0x70;
    Bytes items(4 + 41, 0);
    items[4 + 3] = 0x01;
    items[4 + 6] = 0x02; // bit 49, which has no name
    AnimationWriter animations;
    animations.SetEntry(1, {0, 1, 2}, 2, 0);
    animations.SetEntry(2, {0, 100, -3}, 2, 0);
    TextureWriter textures;
    textures.PadToEntry(1);
    textures.AddEntry(0, 8192);
    textures.AddEntry(0xFFFFFFFFu, 0);
    textures.AddEntry(0, 1000);
    RadarWriter radar(0x4000 + 8);
    radar.SetItem(1, 0x0421);
    ArtWriter art;
    art.PadToEntry(0x4000);
    for (int i = 0; i < 4; ++i)
        art.AddIndexRecord(i * 100, 100);
    const std::string baseline = "index\tsection\trule\n0x0\titems\tanimation-without-entry\n";
    for (const std::uint8_t shape : {std::uint8_t(0), std::uint8_t(8 | 3)}) {
        Bytes input = {shape, 0x7F};
        AppendPart(input, land);
        AppendPart(input, items);
        AppendPart(input, animations.FileBytes());
        AppendPart(input, textures.IndexBytes());
        AppendPart(input, radar.FileBytes());
        AppendPart(input, art.ArtIndexBytes());
        AppendPart(input, Bytes(baseline.begin(), baseline.end()));
        AppendPart(input, {}); // two words of lengths: 128 x 64 bytes of texmaps.mul, 25 x 16 of art.mul
        input.resize(input.size() - 2);
        input.insert(input.end(), {128, 0, 25, 0});
        Seeds.Add(shape == 0 ? "every-file" : "json", input);
    }
    Seeds.Add("none", Bytes{0, 0});
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    SeedFolder tiles(root, QStringLiteral("tiledata"));
    TileDataSeeds(tiles);
    SeedFolder art(root, QStringLiteral("art"));
    ArtSeeds(art);
    SeedFolder patches(root, QStringLiteral("patches"));
    PatchSeeds(patches);
    SeedFolder hues(root, QStringLiteral("hues"));
    HueSeeds(hues);
    SeedFolder edits(root, QStringLiteral("edits"));
    EditsSeeds(edits);
    SeedFolder containers(root, QStringLiteral("container"));
    ContainerSeeds(containers);
    SeedFolder journals(root, QStringLiteral("journal"));
    JournalSeeds(journals);
    SeedFolder textures(root, QStringLiteral("textures"));
    TextureSeeds(textures);
    SeedFolder animations(root, QStringLiteral("animations"));
    AnimationSeeds(animations);
    SeedFolder checks(root, QStringLiteral("check"));
    CheckSeeds(checks);
    std::printf("seeds: %d tile data, %d art, %d patches, %d hues, %d edits, %d containers, %d journals, "
                "%d textures, %d animations, %d checks\n",
                tiles.Count(), art.Count(), patches.Count(), hues.Count(), edits.Count(), containers.Count(),
                journals.Count(), textures.Count(), animations.Count(), checks.Count());
    return 0;
}
