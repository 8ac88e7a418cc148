// quorvane-tool's dump and apply against the cheapest way to do the same
// work: one snprintf per line, and a bare parse of the same edits followed
// by the store's Save.

#include "bench/BenchFiles.h"
#include "bench/BenchRegistry.h"

#include "cli/TileDump.h"
#include "cli/ToolCommands.h"
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
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int Tiles = 16383;

unsigned Field(const std::vector<unsigned char> &Bytes, std::size_t At, int Width)
{
    unsigned value = 0;
    for (int k = Width - 1; k >= 0; --k)
        value = value << 8 | Bytes[At + std::size_t(k)];
    return value;
}

BenchBody DumpCase()
{
    const std::string path = LocalPath(BenchFiles::Instance().TileDataPath());
    return [path] {
        const CommandResult result = ToolCommands::Dump(path, DumpOptions());
        benchmark::DoNotOptimize(result.Output.data());
    };
}

// The flag names of every value of each of the four bytes of a flags word,
// joined by "|", so that the baseline can print a tile's names with four
// "%s" rather than by looking at 32 bits.
std::vector<std::string> FlagNamesByByte()
{
    std::vector<std::string> parts(4 * 256);
    for (int part = 0; part < 4; ++part) {
        for (int value = 0; value < 256; ++value) {
            std::string &names = parts[std::size_t(part * 256 + value)];
            for (int bit = 0; bit < 8; ++bit) {
                if ((value >> bit) & 1)
                    names += (names.empty() ? "" : "|") + FlagName(part * 8 + bit);
            }
        }
    }
    return parts;
}

// The same fields of every tile from the file's bytes in memory, one
// snprintf per line; names are printed as they stand, without escapes.
BenchBody SnprintfBaseline()
{
    const std::vector<unsigned char> bytes = BenchFiles::Instance().TileDataBytes();
    const std::vector<std::string> names = FlagNamesByByte();
    return [bytes, names] {
        std::string out;
        out.reserve(std::size_t(Tiles) * 256);
        char line[512];
        for (int i = 0; i < Tiles; ++i) {
            const std::size_t at = TileDataWriter::OffsetOf(i);
            const unsigned flags = Field(bytes, at, 4);
            const char *part[4];
            const char *bar[4];
            bool any = false;
            for (int k = 0; k < 4; ++k) {
                const unsigned value = (flags >> (8 * k)) & 0xFF;
                part[k] = names[std::size_t(k * 256) + value].c_str();
                bar[k] = any && value != 0 ? "|" : "";
                any = any || value != 0;
            }
            const char *name = reinterpret_cast<const char *>(bytes.data() + at + 17);
            const int n = std::snprintf(
                line, sizeof line, "0x%X\t%08X\t%s%s%s%s%s%s%s\t%u\t%u\t%u\t%u\t%u\t%04X\t%u\t%u\t%u\t%u\t%u\t%.*s\n",
                unsigned(i), flags, part[0], bar[1], part[1], bar[2], part[2], bar[3], part[3], Field(bytes, at + 4, 1),
                Field(bytes, at + 5, 1), Field(bytes, at + 6, 2), Field(bytes, at + 8, 1), Field(bytes, at + 9, 1),
                Field(bytes, at + 10, 2), Field(bytes, at + 12, 1), Field(bytes, at + 13, 1), Field(bytes, at + 14, 1),
                Field(bytes, at + 15, 1), Field(bytes, at + 16, 1), int(::strnlen(name, 20)), name);
            out.append(line, std::size_t(n));
        }
        benchmark::DoNotOptimize(out.data());
    };
}

// A copy of the benchmark file of its own, and two edits files that each
// change the weight of every tile the other way, so that every apply
// rewrites all 16,383 tiles.
struct ApplyFiles
{
    std::string TileFile;
    std::string Edits[2];
    QByteArray Texts[2];
};

std::shared_ptr<ApplyFiles> MakeApplyFiles()
{
    auto files = std::make_shared<ApplyFiles>();
    const QString folder = BenchFiles::Instance().Folder();
    TestFiles::WriteBytes(folder + "tool.mul", BenchFiles::Instance().TileDataBytes());
    files->TileFile = LocalPath(folder + "tool.mul");
    TTileData store(folder + "tool.mul");
    QStringList lines;
    store.LoadTiles(lines);
    for (int k = 0; k < 2; ++k) {
        for (int i = 0; i < Tiles; ++i)
            store.SetWeight(i, store.GetWeight(i) ^ 1);
        files->Texts[k] = QByteArray::fromStdString(TileDump::Write(store, DumpOptions()));
        const QString path = folder + QString("edits%1.tsv").arg(k);
        TestFiles::WriteBytes(path, files->Texts[k]);
        files->Edits[k] = LocalPath(path);
    }
    return files;
}

BenchBody ApplyCase()
{
    std::shared_ptr<ApplyFiles> files = MakeApplyFiles();
    auto next = std::make_shared<int>(0);
    return [files, next] {
        const CommandResult result = ToolCommands::Apply(files->TileFile, files->Edits[*next], false);
        if (result.Output != "16383 tiles changed\n")
            throw std::logic_error("apply did not change every tile: " + result.Output);
        *next ^= 1;
    };
}

// The same edits read with one read() and parsed with no checks at all:
// split at tabs, strtoul for the numbers, names taken as they stand; then
// the setters and Save on a store loaded beforehand.
BenchBody ParseAndSaveBaseline()
{
    std::shared_ptr<ApplyFiles> files = MakeApplyFiles();
    auto store = std::make_shared<TTileData>(QFile::decodeName(files->TileFile.c_str()));
    QStringList lines;
    store->LoadTiles(lines);
    auto next = std::make_shared<int>(0);
    return [files, store, next] {
        std::string text(std::size_t(files->Texts[*next].size()), '\0');
        ReadOnce(files->Edits[*next], 0, text.data(), text.size());
        const char *p = text.c_str() + text.find('\n') + 1;
        for (int i = 0; i < Tiles; ++i) {
            char *end = nullptr;
            const int index = int(std::strtoul(p + 2, &end, 16));
            store->SetFlags(index, std::uint32_t(std::strtoul(end + 1, &end, 16)));
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

const BenchPairRegistration Dump({"quorvane-tool dump of the whole file", "ToolDump", "SnprintfLines", 1.5},
                                 DumpCase, SnprintfBaseline);
const BenchPairRegistration Apply({"quorvane-tool apply of 16,383 edited lines", "ToolApply", "ParseAndSave", 1.5},
                                  ApplyCase, ParseAndSaveBaseline);

} // namespace
