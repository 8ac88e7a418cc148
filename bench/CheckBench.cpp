// quorvane-tool check of a newer client against quorvane-tool dump of the
// same tile data file: the check reads four more files and runs seven rules
// over every tile, and should cost about what the dump does.

#include "bench/BenchFiles.h"
#include "bench/BenchRegistry.h"

#include "cli/CheckCommand.h"
#include "cli/ToolCommands.h"
#include "tests/support/AnimationWriter.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/RadarWriter.h"
#include "tests/support/TextureWriter.h"

#include <QDir>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A real newer client's radarcol.mul ends before its last items.
constexpr int RadarEntries = 0x13FDC;
constexpr std::uint64_t Animated = std::uint64_t(1) << 24;

// The random newer file of 65,536 items as a real client has it: the
// Animation flag on the items with an animation, flag bits 40 to 63 clear,
// and TexIDs that name slots of the table; a real client's few hundred
// faults are left to the other files. When Noise, the file as it is:
// random flags on every tile, so that almost every tile has findings.
void Tidy(LayoutTileWriter &Tiles)
{
    for (int i = 0; i < Tiles.Items(); ++i) {
        LayoutTileWriter::Item item = Tiles.ReadItem(i);
        item.Flags &= (std::uint64_t(1) << 40) - 1;
        item.Flags = i % 16 == 0 ? item.Flags | Animated : item.Flags & ~Animated;
        Tiles.SetItem(i, item);
    }
    for (int i = 0; i < LayoutTileWriter::LandTiles; ++i) {
        LayoutTileWriter::Land land = Tiles.ReadLand(i);
        land.Flags &= (std::uint64_t(1) << 40) - 1;
        land.Texture = std::uint16_t(i % 0x4000);
        Tiles.SetLand(i, land);
    }
}

// The newer file of 65,536 items, and beside it: an animation of 8 frames
// on every 16th item, art for every item but every 7th, all over a few
// bytes of art.mul; a texture table of 0x4000 entries, every 5th empty; and
// the radar colours of a real client's length, every other one black.
std::string Client(bool Noise)
{
    static std::string paths[2];
    std::string &path = paths[Noise ? 1 : 0];
    if (path.empty()) {
        const QString folder = BenchFiles::Instance().Folder() + (Noise ? "noisy/" : "client/");
        QDir().mkpath(folder);
        LayoutTileWriter tiles = BenchFiles::RandomNewer();
        if (!Noise)
            Tidy(tiles);
        tiles.WriteTo(folder + "tiledata.mul");
        AnimationWriter animations;
        for (int item = 0; item < tiles.Items(); item += 16)
            animations.SetEntry(item, {0, 1, 2, 3, 4, 5, 6, 7}, 2, 0);
        animations.WriteTo(folder);
        ArtWriter art;
        const std::int32_t blob = art.AppendArtBytes(ArtWriter::Bytes(64, 1));
        for (int entry = 0; entry < ArtWriter::StaticArtBase + tiles.Items(); ++entry) {
            if (entry % 7 == 0)
                art.AddAbsent();
            else
                art.AddIndexRecord(blob, 64);
        }
        art.WriteArtFilesTo(folder);
        TextureWriter textures;
        for (int entry = 0; entry < 0x4000; ++entry)
            textures.AddEntry(entry % 5 == 0 ? 0xFFFFFFFFu : 0, entry % 5 == 0 ? 0 : 8192u);
        textures.AddPixels(std::vector<std::uint16_t>(64 * 64, 0x0421));
        textures.WriteTo(folder);
        RadarWriter radar(RadarEntries);
        for (int entry = 0; entry < RadarEntries; entry += 2)
            radar.SetLand(entry, 0x0421);
        radar.WriteTo(folder);
        path = LocalPath(folder + "tiledata.mul");
    }
    return path;
}

template <bool Noise>
BenchBody CheckCase()
{
    const std::string path = Client(Noise);
    return [path] {
        const CommandResult result = CheckCommand::Run(path, CheckOptions(), LayoutChoice::FromLength);
        benchmark::DoNotOptimize(result.Output.data());
    };
}

template <bool Noise>
BenchBody DumpBaseline()
{
    const std::string path = Client(Noise);
    return [path] {
        const CommandResult result = ToolCommands::Dump(path, DumpOptions());
        benchmark::DoNotOptimize(result.Output.data());
    };
}

const BenchPairRegistration Check({"quorvane-tool check of a newer client (65,536 items; art, animations, textures "
                                   "and radar colours beside it)",
                                   "ToolCheckNewer", "ToolDumpOfItsTileData", 1.5},
                                  CheckCase<false>, DumpBaseline<false>);
// Far more findings than lines of the dump: only the cost is reported.
const BenchPairRegistration CheckNoise({"quorvane-tool check of the same client with random flags on every tile "
                                        "(about 140,000 findings)",
                                        "ToolCheckNoisy", "ToolDumpOfNoisyTileData", 0},
                                       CheckCase<true>, DumpBaseline<true>);

} // namespace
