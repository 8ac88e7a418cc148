// Writes a complete, deterministic demo set of the game's files into a
// folder, so the editor can be tried without the game:
//
//   quorvane-demo FOLDER                 tiledata.mul, artidx.mul, art.mul,
//                                        verdata.mul, hues.mul, texidx.mul,
//                                        texmaps.mul, animdata.mul and
//                                        radarcol.mul
//   quorvane-demo --newer FOLDER         the same with tiledata.mul in the
//                                        newer layout: 65,536 item tiles,
//                                        64-bit flags, named land tiles; the
//                                        art packed into artLegacyMUL.uop
//                                        instead of art.mul and artidx.mul
//   quorvane-demo --force [--newer] FOLDER
//                                        the same over files already there;
//                                        without it nothing is written when
//                                        any of them exists
//   quorvane-demo --picture TILE OUT.png the picture of one tile as the
//                                        editor shows it (white background)
//   quorvane-demo --help                 this usage; any other word that
//                                        begins with "-" is refused
//
// Everything is drawn here; nothing comes from the game.

#include "tests/support/ArtWriter.h"
#include "tests/support/ContainerWriter.h"
#include "tests/support/HueWriter.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/TileDataWriter.h"
#include "tools/DemoCatalogue.h"
#include "tools/DemoPictures.h"
#include "tools/DemoTextures.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t Seed = 20261207;
constexpr std::uint16_t White = 0x7FFF;

// The newer layout's demo: 2,048 item groups, as the real files have.
constexpr int NewerGroups = 2048;
// Bit 37 is in use on many tiles of real newer files; the demo sets it on
// every floor, so that the upper flag boxes show something.
constexpr std::uint64_t Bit37 = std::uint64_t(1) << 37;

// A demo tile's record, for either writer's record type.
template <typename Record>
Record RecordOf(const DemoTile &Tile)
{
    Record r;
    r.Flags = Tile.Flags;
    r.Weight = std::uint8_t(Tile.Weight);
    r.Quality = std::uint8_t(Tile.Quality);
    r.Quantity = std::uint8_t(Tile.Quantity);
    r.Anim = std::uint16_t(Tile.Anim);
    r.Hue = std::uint8_t(Tile.Hue);
    r.Height = std::uint8_t(Tile.Height);
    r.Name = Tile.Name.substr(0, 20);
    return r;
}

void SetDemoLand(LayoutTileWriter &Writer);

void WriteTileData(const QString &folder, const std::vector<DemoTile> &tiles)
{
    TileDataWriter writer(Seed);
    // Real files leave most tiles empty.
    for (int t = 0; t < TileDataWriter::Tiles; ++t)
        writer.SetRecord(t, TileDataWriter::Record());
    for (const DemoTile &tile : tiles)
        writer.SetRecord(tile.Index, RecordOf<TileDataWriter::Record>(tile));
    writer.WriteTo(folder + "/tiledata.mul");
    SetClassicDemoLand(folder + "/tiledata.mul", SetDemoLand);
}

// A few named land tiles: texture sets of grass, water, rock and cave floor,
// as a newer file has them (a classic one without the upper flag bits).
void SetDemoLand(LayoutTileWriter &Writer)
{
    const struct { const char *Name; std::uint64_t Flags; } kinds[] = {
        {"grass", 0},
        {"water", 0x40 | 0x80 | 0x100000000ull}, // Impassable, Liquid and bit 32
        {"rock", 0x40},
        {"cave floor", 0},
    };
    for (int k = 0; k < 4; ++k) {
        for (int t = 0; t < 24; ++t) {
            const int tile = 3 + k * 0x40 + t;
            const std::uint64_t flags = Writer.IsNewer() ? kinds[k].Flags : kinds[k].Flags & 0xFFFFFFFFu;
            Writer.SetLand(tile, {flags, DemoTexId(tile), kinds[k].Name});
        }
    }
}

void WriteNewerTileData(const QString &folder, const std::vector<DemoTile> &tiles)
{
    LayoutTileWriter writer = LayoutTileWriter::Newer(NewerGroups, Seed);
    for (int t = 0; t < writer.Items(); ++t)
        writer.SetItem(t, LayoutTileWriter::Item());
    for (int t = 0; t < LayoutTileWriter::LandTiles; ++t)
        writer.SetLand(t, LayoutTileWriter::Land());
    for (const DemoTile &tile : tiles) {
        LayoutTileWriter::Item item = RecordOf<LayoutTileWriter::Item>(tile);
        if (tile.Kind == DemoKind::Floor)
            item.Flags |= Bit37;
        writer.SetItem(tile.Index, item);
    }
    SetDemoLand(writer);
    writer.WriteTo(folder + "/tiledata.mul");
}

// Every file the demo set writes into its folder, for either layout. The
// folder may hold a user's own files of these names: none is overwritten
// unless the user says so.
QStringList DemoFiles(bool Newer)
{
    const QStringList beside = {"verdata.mul", "hues.mul", "texidx.mul", "texmaps.mul", "animdata.mul",
                                 "radarcol.mul"};
    if (Newer)
        return QStringList{"tiledata.mul", "artLegacyMUL.uop"} + beside;
    return QStringList{"tiledata.mul", "artidx.mul", "art.mul"} + beside;
}

// Refuses, before anything is written, a folder that holds any of the files.
void RefuseExistingFiles(const QString &Folder, bool Newer)
{
    for (const QString &name : DemoFiles(Newer)) {
        const QString path = QDir(Folder).filePath(name);
        if (QFileInfo::exists(path))
            throw std::runtime_error(QDir::toNativeSeparators(path).toStdString()
                                     + " exists already; nothing was written (--force overwrites the demo files)");
    }
}

// The art entry of a demo tile: floors are raw diamonds, the rest, and
// every patch, which is always read as one, run-length pictures.
ArtWriter::Bytes ArtEntryOf(const DemoTile &Tile, const Canvas &Picture)
{
    if (Tile.Kind != DemoKind::Floor || Tile.Patched)
        return ArtWriter::RunLengthEntry(
            ArtWriter::RunsOf(Picture.Width(), Picture.Height(), Picture.Pixels(), Canvas::Transparent));
    ArtWriter::Pixels square(Picture.Pixels());
    for (auto &p : square)
        if (p == Canvas::Transparent)
            p = White;
    return ArtWriter::RawEntry(ArtWriter::DiamondOf(square));
}

// Art entries for Items item tiles: art.mul with artidx.mul, or for a newer
// client the packed container, whose entries are zlib-packed except every
// tenth, which is stored. Patched tiles have their picture in the patch
// file only, in either case.
void WriteArt(const QString &folder, const std::vector<DemoTile> &tiles, int Items, bool Packed)
{
    ArtWriter writer;
    ContainerWriter container;
    // A few records of another game file share the patch file, as in real ones.
    writer.AddPatch(0, 12, ArtWriter::Bytes(16, 0));
    int packedEntries = 0;
    for (const DemoTile &tile : tiles) {
        const ArtWriter::Bytes entry = ArtEntryOf(tile, DrawDemoPicture(tile));
        const int number = ArtWriter::StaticArtBase + tile.Index;
        writer.PadToEntry(number);
        if (tile.Patched) {
            writer.AddAbsent();
            writer.AddPatch(ArtWriter::ArtFileId, number, entry);
        } else if (Packed) {
            container.AddArt(number, entry, packedEntries++ % 10 != 9);
        } else {
            writer.AddEntry(entry);
        }
    }
    writer.PadToEntry(ArtWriter::StaticArtBase + Items);
    if (!Packed) {
        writer.WriteTo(folder);
        return;
    }
    writer.WriteVerdataTo(folder);
    container.WriteTo(folder + "/artLegacyMUL.uop");
}

// 3000 hues, each a smooth ramp from near black to its full colour.
void WriteHues(const QString &folder)
{
    const char *const families[] = {"red", "orange", "yellow", "green", "teal", "blue", "violet", "rose"};
    HueWriter writer(375);
    for (int n = 1; n <= writer.HueCount(); ++n) {
        const double angle = std::fmod(n * 137.508, 360.0);
        const double saturation = 0.35 + 0.6 * ((n * 7919) % 100) / 100.0;
        const auto channel = [&](double offset) {
            const double v = std::cos((angle - offset) * M_PI / 180.0) * 0.5 + 0.5;
            return int(31 * (1.0 - saturation + saturation * v));
        };
        HueWriter::Hue hue;
        hue.Colors = HueWriter::Ramp(HueWriter::Colour15(1, 1, 1),
                                     HueWriter::Colour15(channel(0), channel(120), channel(240)));
        hue.Name = std::string(families[int(angle / 45.0) % 8]) + " " + std::to_string(n);
        writer.SetHue(n, hue);
    }
    writer.WriteTo(folder + "/hues.mul");
}

int WritePicture(int tileIndex, const QString &path)
{
    for (const DemoTile &tile : DemoCatalogue()) {
        if (tile.Index != tileIndex)
            continue;
        const Canvas picture = DrawDemoPicture(tile);
        QImage image(picture.Width(), picture.Height(), QImage::Format_RGB555);
        for (int y = 0; y < picture.Height(); ++y) {
            auto *row = reinterpret_cast<std::uint16_t *>(image.scanLine(y));
            for (int x = 0; x < picture.Width(); ++x) {
                const std::uint16_t p = picture.Get(x, y);
                row[x] = p == Canvas::Transparent ? White : p;
            }
        }
        return image.save(path, "PNG") ? 0 : 1;
    }
    std::fprintf(stderr, "no demo tile 0x%X\n", tileIndex);
    return 1;
}

const char *const Usage = "usage: quorvane-demo [--newer] [--force] FOLDER | --picture TILE OUT.png | --help\n";

// What the command line asks for. A word that begins with "-" is an option,
// never a folder: a mistyped option must not become a folder of demo files.
struct DemoCommand
{
    bool Help = false;
    bool Newer = false;
    bool Force = false;
    bool Picture = false;
    std::vector<QString> Operands;
};

DemoCommand ReadCommand(int argc, char *argv[])
{
    DemoCommand command;
    for (int at = 1; at < argc; ++at) {
        const QString argument = QString::fromLocal8Bit(argv[at]);
        if (argument == "--help" || argument == "-h")
            command.Help = true;
        else if (argument == "--newer")
            command.Newer = true;
        else if (argument == "--force")
            command.Force = true;
        else if (argument == "--picture")
            command.Picture = true;
        else if (argument.size() > 1 && argument.startsWith('-'))
            throw std::runtime_error("\"" + std::string(argv[at]) + "\" is not an option");
        else
            command.Operands.push_back(argument);
    }
    if (command.Help)
        return command;
    if (command.Picture && (command.Newer || command.Force))
        throw std::runtime_error("--picture takes neither --newer nor --force");
    if (command.Picture && command.Operands.size() != 2)
        throw std::runtime_error("--picture takes a tile and a file name");
    if (!command.Picture && command.Operands.size() != 1)
        throw std::runtime_error("give one folder, not " + std::to_string(command.Operands.size()));
    return command;
}

} // namespace

int main(int argc, char *argv[])
{
    DemoCommand command;
    try {
        command = ReadCommand(argc, argv);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "quorvane-demo: %s\n%s", e.what(), Usage);
        return 2;
    }
    if (command.Help) {
        std::fputs(Usage, stdout);
        return 0;
    }
    try {
        if (command.Picture)
            return WritePicture(command.Operands[0].toInt(nullptr, 0), command.Operands[1]);
        const QString &folder = command.Operands[0];
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "cannot create %s\n", folder.toLocal8Bit().constData());
            return 1;
        }
        if (!command.Force)
            RefuseExistingFiles(folder, command.Newer);
        const std::vector<DemoTile> tiles = DemoCatalogue();
        if (command.Newer)
            WriteNewerTileData(folder, tiles);
        else
            WriteTileData(folder, tiles);
        WriteArt(folder, tiles, command.Newer ? NewerGroups * 32 : TileDataWriter::Tiles, command.Newer);
        WriteHues(folder);
        WriteDemoTextures(folder);
        WriteDemoRadar(folder);
        WriteDemoAnimations(folder, command.Newer ? NewerGroups * 32 : TileDataWriter::Tiles);
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "quorvane-demo: %s\n", e.what());
        return 1;
    }
}
