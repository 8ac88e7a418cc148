// quorvane-tool's dump and apply against the cheapest way to do the same
// work: one snprintf per line, and a bare parse of the same edits followed
// by the store's Save.

#include "bench/BenchFiles.h"
#include "bench/BenchRegistry.h"

#include "tiletext/FlagText.h"
#include "tiletext/TileDump.h"
#include "cli/ToolCommands.h"
#include "tests/support/LayoutTileWriter.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TileDataWriter.h"
#include "tiledata/TileDataReader.h"
#include "tiledata/TileFlags.h"

#include <QFile>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

unsigned long long Field(const std::vector<unsigned char> &Bytes, std::size_t At, int Width)
{
    unsigned long long value = 0;
    for (int k = Width - 1; k >= 0; --k)
        value = value << 8 | Bytes[At + std::size_t(k)];
    return value;
}

// A benchmark file of either layout, with the offset of each item record
// and the width of its flags, both from the test-support writers.
struct BenchTileFile
{
    QString Path;
    std::vector<unsigned char> Bytes;
    int Tiles = 0;
    int FlagBytes = 4;
    std::vector<std::size_t> Offsets;
};

const BenchTileFile &ClassicFile()
{
    static const BenchTileFile file = [] {
        BenchTileFile made{BenchFiles::Instance().TileDataPath(), BenchFiles::Instance().TileDataBytes(),
                           TileDataWriter::Tiles, 4, {}};
        for (int i = 0; i < made.Tiles; ++i)
            made.Offsets.push_back(TileDataWriter::OffsetOf(i));
        return made;
    }();
    return file;
}

// A newer file as the real ones are: 2,048 item groups, 65,536 tiles, every
// record random with names of 0 to 20 letters, as in the classic file.
const BenchTileFile &NewerFile()
{
    static const BenchTileFile file = [] {
        LayoutTileWriter writer = BenchFiles::RandomNewer();
        BenchTileFile made{BenchFiles::Instance().Folder() + "newer.mul", writer.Bytes(), writer.Items(), 8, {}};
        writer.WriteTo(made.Path);
        for (int i = 0; i < made.Tiles; ++i)
            made.Offsets.push_back(writer.ItemOffset(i));
        return made;
    }();
    return file;
}

BenchBody DumpCase(const BenchTileFile &File)
{
    const std::string path = LocalPath(File.Path);
    return [path] {
        const CommandResult result = ToolCommands::Dump(path, DumpOptions());
        benchmark::DoNotOptimize(result.Output.data());
    };
}

// The flag names of every value of each of the eight bytes of a flags
// word, joined by "|", so that the baseline can print a tile's names with
// one "%s" a byte rather than by looking at every bit.
std::vector<std::string> FlagNamesByByte()
{
    std::vector<std::string> parts(8 * 256);
    for (int part = 0; part < 8; ++part) {
        for (int value = 0; value < 256; ++value) {
            std::string &names = parts[std::size_t(part * 256 + value)];
            for (int bit = 0; bit < 8; ++bit) {
                if ((value >> bit) & 1)
                    names += (names.empty() ? "" : "|") + FlagText::Name(part * 8 + bit);
            }
        }
    }
    return parts;
}

// The same fields of every tile from the file's bytes in memory, one
// snprintf per line; names are printed as they stand, without escapes.
BenchBody SnprintfBaseline(const BenchTileFile &File)
{
    const std::vector<std::string> names = FlagNamesByByte();
    return [&File, names] {
        const std::vector<unsigned char> &bytes = File.Bytes;
        const int fb = File.FlagBytes;
        std::string out;
        out.reserve(std::size_t(File.Tiles) * 256);
        char line[512];
        for (int i = 0; i < File.Tiles; ++i) {
            const std::size_t at = File.Offsets[std::size_t(i)];
            const unsigned long long flags = Field(bytes, at, fb);
            const char *part[8];
            const char *bar[8];
            bool any = false;
            for (int k = 0; k < 8; ++k) {
                const unsigned value = k < fb ? unsigned(flags >> (8 * k)) & 0xFF : 0;
                part[k] = names[std::size_t(k * 256) + value].c_str();
                bar[k] = any && value != 0 ? "|" : "";
                any = any || value != 0;
            }
            const std::size_t f = at + std::size_t(fb);
            const char *name = reinterpret_cast<const char *>(bytes.data() + f + 13);
            // The classic file's line as before, with four parts of flag
            // names; a newer file's with eight.
            const int n =
                fb == 4 ? std::snprintf(line, sizeof line,
                                        "0x%X\t%08llX\t%s%s%s%s%s%s%s\t%llu\t%llu\t%llu\t%llu\t%llu\t%04llX\t%llu\t%llu"
                                        "\t%llu\t%llu\t%llu\t%.*s\n",
                                        unsigned(i), flags, part[0], bar[1], part[1], bar[2], part[2], bar[3], part[3],
                                        Field(bytes, f, 1), Field(bytes, f + 1, 1), Field(bytes, f + 2, 2),
                                        Field(bytes, f + 4, 1), Field(bytes, f + 5, 1), Field(bytes, f + 6, 2),
                                        Field(bytes, f + 8, 1), Field(bytes, f + 9, 1), Field(bytes, f + 10, 1),
                                        Field(bytes, f + 11, 1), Field(bytes, f + 12, 1), int(::strnlen(name, 20)), name)
                        : std::snprintf(line, sizeof line,
                                        "0x%X\t%016llX\t%s%s%s%s%s%s%s%s%s%s%s%s%s%s%s\t%llu\t%llu\t%llu\t%llu\t%llu"
                                        "\t%04llX\t%llu\t%llu\t%llu\t%llu\t%llu\t%.*s\n",
                                        unsigned(i), flags, part[0], bar[1], part[1], bar[2], part[2], bar[3], part[3],
                                        bar[4], part[4], bar[5], part[5], bar[6], part[6], bar[7], part[7],
                                        Field(bytes, f, 1), Field(bytes, f + 1, 1), Field(bytes, f + 2, 2),
                                        Field(bytes, f + 4, 1), Field(bytes, f + 5, 1), Field(bytes, f + 6, 2),
                                        Field(bytes, f + 8, 1), Field(bytes, f + 9, 1), Field(bytes, f + 10, 1),
                                        Field(bytes, f + 11, 1), Field(bytes, f + 12, 1), int(::strnlen(name, 20)), name);
            out.append(line, std::size_t(n));
        }
        benchmark::DoNotOptimize(out.data());
    };
}

// A copy of the benchmark file of its own, and two edits files that each
// change the weight of every tile the other way, so that every apply
// rewrites every tile.
struct ApplyFiles
{
    int Tiles = 0;
    std::string TileFile;
    std::string Edits[2];
    QByteArray Texts[2];
};

std::shared_ptr<ApplyFiles> MakeApplyFiles(const BenchTileFile &File)
{
    auto files = std::make_shared<ApplyFiles>();
    files->Tiles = File.Tiles;
    const QString folder = BenchFiles::Instance().Folder();
    const QString copy = folder + QString("tool%1.mul").arg(File.Tiles);
    TestFiles::WriteBytes(copy, File.Bytes);
    files->TileFile = LocalPath(copy);
    TTileData store(copy);
    QStringList lines;
    store.LoadTiles(lines);
    for (int k = 0; k < 2; ++k) {
        for (int i = 0; i < File.Tiles; ++i)
            store.SetWeight(i, store.GetWeight(i) ^ 1);
        files->Texts[k] = QByteArray::fromStdString(TileDump::Write(store, DumpOptions()));
        const QString path = folder + QString("edits%1-%2.tsv").arg(File.Tiles).arg(k);
        TestFiles::WriteBytes(path, files->Texts[k]);
        files->Edits[k] = LocalPath(path);
    }
    return files;
}

BenchBody ApplyCase(const BenchTileFile &File)
{
    std::shared_ptr<ApplyFiles> files = MakeApplyFiles(File);
    auto next = std::make_shared<int>(0);
    return [files, next] {
        const CommandResult result = ToolCommands::Apply(files->TileFile, files->Edits[*next], false);
        if (result.Output != std::to_string(files->Tiles) + " tiles changed\n")
            throw std::logic_error("apply did not change every tile: " + result.Output);
        *next ^= 1;
    };
}

// The same edits read with one read() and parsed with no checks at all:
// split at tabs, strtoul for the numbers, names taken as they stand; then
// the setters and Save on a store loaded beforehand.
BenchBody ParseAndSaveBaseline(const BenchTileFile &File)
{
    std::shared_ptr<ApplyFiles> files = MakeApplyFiles(File);
    auto store = std::make_shared<TTileData>(QFile::decodeName(files->TileFile.c_str()));
    QStringList lines;
    store->LoadTiles(lines);
    auto next = std::make_shared<int>(0);
    return [files, store, next] {
        std::string text(std::size_t(files->Texts[*next].size()), '\0');
        ReadOnce(files->Edits[*next], 0, text.data(), text.size());
        const char *p = text.c_str() + text.find('\n') + 1;
        for (int i = 0; i < files->Tiles; ++i) {
            char *end = nullptr;
            const int index = int(std::strtoul(p + 2, &end, 16));
            store->SetFlags(index, std::strtoull(end + 1, &end, 16));
            p = std::strchr(end + 1, '\t'); // past the flag names
            store->SetWeight(index, int(std::strtoul(p + 1, &end, 10)));
            store->SetQuality(index, int(std::strtoul(end + 1, &end, 10)));
            store->SetUnknown0(index, int(std::strtoul(end + 1, &end, 10)));
            store->SetUnknown1(index, int(std::strtoul(end + 1, &end, 10)));
            store->SetQuantity(index, int(std::strtoul(end + 1, &end, 10)));
            store->SetAnim(index, int(std::strtoul(end + 1, &end, 16)));
            store->SetUnknown2(index, int(std::strtoul(end + 1, &end, 10)));
            store->SetHue(index, int(std::strtoul(end + 1, &end, 10)));
            store->SetUnknown3(index, int(std::strtoul(end + 1, &end, 10)));
            store->SetUnknown4(index, int(std::strtoul(end + 1, &end, 10)));
            store->SetHeight(index, int(std::strtoul(end + 1, &end, 10)));
            const char *name = end + 1;
            p = std::strchr(name, '\n');
            store->SetName(index, QString::fromLatin1(name, int(p - name)));
            ++p;
        }
        store->Save();
        *next ^= 1;
    };
}

template <const BenchTileFile &(*File)(), BenchBody (*Make)(const BenchTileFile &)>
BenchBody On()
{
    return Make(File());
}

const BenchPairRegistration Dump({"quorvane-tool dump of the whole file", "ToolDump", "SnprintfLines", 1.5},
                                 On<ClassicFile, DumpCase>, On<ClassicFile, SnprintfBaseline>);
const BenchPairRegistration Apply({"quorvane-tool apply of 16,383 edited lines", "ToolApply", "ParseAndSave", 1.5},
                                  On<ClassicFile, ApplyCase>, On<ClassicFile, ParseAndSaveBaseline>);
const BenchPairRegistration DumpNewer({"quorvane-tool dump of a newer file, 65,536 tiles", "ToolDumpNewer",
                                       "SnprintfLinesNewer", 1.5},
                                      On<NewerFile, DumpCase>, On<NewerFile, SnprintfBaseline>);
const BenchPairRegistration ApplyNewer({"quorvane-tool apply of 65,536 edited lines of a newer file", "ToolApplyNewer",
                                        "ParseAndSaveNewer", 1.5},
                                       On<NewerFile, ApplyCase>, On<NewerFile, ParseAndSaveBaseline>);

} // namespace
