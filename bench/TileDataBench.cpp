// The tile data store's hot paths against the cheapest way to do the same
// work: opening a file, filling the list, finding, replacing and saving.

#include "bench/BenchFiles.h"
#include "bench/BenchRegistry.h"
#include "bench/BenchWidgets.h"

#include "platform/AnsiCodePage.h"
#include "tests/support/TileDataWriter.h"
#include "tiledata/TileDataReader.h"

#include <QListWidget>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Tiles = 16383;
const QString NoMatch = QStringLiteral("wall9"); // names hold letters only

// The name field lies 17 bytes into its record.
std::size_t NameOffset(int tile)
{
    return TileDataWriter::OffsetOf(tile) + 17;
}

std::unique_ptr<TTileData> LoadedStore()
{
    auto store = std::make_unique<TTileData>(BenchFiles::Instance().TileDataPath());
    QStringList lines;
    store->LoadTiles(lines);
    return store;
}

// The least a program can do to get the file into memory: one open, one
// read of the whole length, one close.
std::vector<unsigned char> ReadWithOneCall(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot open " + path);
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(info.st_size));
    const ssize_t n = ::read(fd, bytes.data(), bytes.size());
    ::close(fd);
    if (n != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("short read of " + path);
    return bytes;
}

// "0x%X - name" assembled character by character into a stack buffer and
// turned into a QString with one allocation.
QString HandMadeLine(int tile, const unsigned char *name, const std::array<char16_t, 256> &codePage)
{
    static const char Hex[] = "0123456789ABCDEF";
    char16_t line[2 + 4 + 3 + 20];
    int n = 0;
    line[n++] = u'0';
    line[n++] = u'x';
    int shift = 12;
    while (shift > 0 && (tile >> shift) == 0)
        shift -= 4;
    for (; shift >= 0; shift -= 4)
        line[n++] = char16_t(Hex[(tile >> shift) & 0xF]);
    line[n++] = u' ';
    line[n++] = u'-';
    line[n++] = u' ';
    for (int k = 0; k < 20 && name[k] != 0; ++k)
        line[n++] = codePage[name[k]];
    return QString(reinterpret_cast<const QChar *>(line), n);
}

std::array<char16_t, 256> CodePageTable()
{
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[std::size_t(b)] = char16_t(AnsiCodePage::ToUnicode(static_cast<unsigned char>(b)));
    return table;
}

BenchBody LoadTilesCase()
{
    const QString path = BenchFiles::Instance().TileDataPath();
    return [path] {
        auto store = std::make_unique<TTileData>(path);
        QStringList lines;
        store->LoadTiles(lines);
        benchmark::DoNotOptimize(lines.size());
    };
}

BenchBody LoadTilesBaseline()
{
    const std::string path = LocalPath(BenchFiles::Instance().TileDataPath());
    const auto codePage = CodePageTable();
    return [path, codePage] {
        const std::vector<unsigned char> bytes = ReadWithOneCall(path);
        QStringList lines;
        lines.reserve(Tiles);
        for (int i = 0; i < Tiles; ++i)
            lines.append(HandMadeLine(i, bytes.data() + NameOffset(i), codePage));
        benchmark::DoNotOptimize(lines.size());
    };
}

BenchBody FillListBoxCase()
{
    std::shared_ptr<TTileData> store = LoadedStore();
    std::shared_ptr<QListWidget> list = MakeShownTileList();
    return [store, list] {
        store->FillListBox(list.get());
        SettleWidgets();
    };
}

BenchBody AddItemsBaseline()
{
    const std::unique_ptr<TTileData> store = LoadedStore();
    QStringList lines;
    for (int i = 0; i < Tiles; ++i)
        lines.append(store->ListLine(i));
    std::shared_ptr<QListWidget> list = MakeShownTileList();
    return [lines, list] {
        list->clear();
        list->addItems(lines);
        SettleWidgets();
    };
}

BenchBody FindNameCase()
{
    std::shared_ptr<TTileData> store = LoadedStore();
    return [store] {
        if (store->FindName(NoMatch) != -1)
            throw std::logic_error("the no-match text matched");
    };
}

BenchBody MemmemBaseline()
{
    const std::vector<unsigned char> bytes = BenchFiles::Instance().TileDataBytes();
    const QByteArray needle = NoMatch.toLatin1();
    return [bytes, needle] {
        int found = -1;
        for (int i = 0; i < Tiles && found < 0; ++i) {
            const void *name = bytes.data() + NameOffset(i);
            const void *end = std::memchr(name, 0, 20);
            const std::size_t length = end ? std::size_t(static_cast<const unsigned char *>(end)
                                                         - static_cast<const unsigned char *>(name))
                                           : 20;
            if (::memmem(name, length, needle.constData(), std::size_t(needle.size())) != nullptr)
                found = i;
        }
        benchmark::DoNotOptimize(found);
    };
}

BenchBody ReplaceAndFillCase()
{
    std::shared_ptr<TTileData> store = LoadedStore();
    std::shared_ptr<QListWidget> list = MakeShownTileList();
    // Alternate the case of the shared name, so that every call renames the
    // same tiles and leaves the table as the next call expects it.
    auto upper = std::make_shared<bool>(false);
    BenchBody body = [store, list, upper] {
        const QString from = *upper ? QStringLiteral("STONE WALL") : QString::fromLatin1(BenchFiles::SharedName);
        const QString to = *upper ? QString::fromLatin1(BenchFiles::SharedName) : QStringLiteral("STONE WALL");
        store->ReplaceName(from, to);
        store->FillListBox(list.get());
        SettleWidgets();
        *upper = !*upper;
    };
    // A fast refill is worthless if it shows the old names: check once,
    // outside the timing, that the list follows the replace both ways.
    body();
    const bool renamed = list->item(0)->text() == QStringLiteral("0x0 - STONE WALL");
    body();
    if (!renamed || list->item(0)->text() != QStringLiteral("0x0 - stone wall"))
        throw std::logic_error("the refilled list does not show the replaced names");
    return body;
}

BenchBody SaveCase()
{
    std::shared_ptr<TTileData> store = LoadedStore();
    return [store] { store->Save(); };
}

// The same bytes the store writes, to the same file, with the least work a
// durable write can take: open, one write, fsync, close.
BenchBody WriteFsyncBaseline()
{
    const std::string path = LocalPath(BenchFiles::Instance().TileDataPath());
    const std::vector<unsigned char> bytes = ReadWithOneCall(path);
    return [path, bytes] {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            throw std::runtime_error("cannot open " + path);
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        const int synced = ::fsync(fd);
        ::close(fd);
        if (n != static_cast<ssize_t>(bytes.size()) || synced != 0)
            throw std::runtime_error("cannot write " + path);
    };
}

// A save that first compares the file with the bytes last loaded or saved,
// under the same hold, and finds it unchanged.
BenchBody CheckedSaveCase()
{
    std::shared_ptr<TTileData> store = LoadedStore();
    return [store] {
        if (!store->Save([](const TSaveConflicts &) { return false; }))
            throw std::logic_error("the unchanged file was taken for changed");
    };
}

// Whether anything was edited, with nothing edited: every record compared.
BenchBody IsModifiedCase()
{
    std::shared_ptr<TTileData> store = LoadedStore();
    return [store] { benchmark::DoNotOptimize(store->IsModified()); };
}

// One memcmp of two copies of the whole file.
BenchBody MemcmpBaseline()
{
    const auto bytes = std::make_shared<std::vector<unsigned char>>(
        ReadWithOneCall(LocalPath(BenchFiles::Instance().TileDataPath())));
    const auto copy = std::make_shared<std::vector<unsigned char>>(*bytes);
    return [bytes, copy] { benchmark::DoNotOptimize(std::memcmp(bytes->data(), copy->data(), bytes->size())); };
}

// The checked save's least work: open, read the file back whole and compare
// it, then one write, fsync and close.
BenchBody ReadCompareWriteFsyncBaseline()
{
    const std::string path = LocalPath(BenchFiles::Instance().TileDataPath());
    const auto bytes = std::make_shared<std::vector<unsigned char>>(ReadWithOneCall(path));
    const auto disk = std::make_shared<std::vector<unsigned char>>(bytes->size());
    return [path, bytes, disk] {
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            throw std::runtime_error("cannot open " + path);
        const ssize_t got = ::pread(fd, disk->data(), disk->size(), 0);
        const bool same = got == static_cast<ssize_t>(disk->size()) && *disk == *bytes;
        const ssize_t n = same ? ::pwrite(fd, bytes->data(), bytes->size(), 0) : 0;
        const int synced = ::fsync(fd);
        ::close(fd);
        if (n != static_cast<ssize_t>(bytes->size()) || synced != 0)
            throw std::runtime_error("cannot write " + path);
    };
}

const BenchPairRegistration LoadTiles({"store construction + LoadTiles (16,383 lines)", "LoadTiles",
                                       "ReadAndBuildLines", 1.5},
                                      LoadTilesCase, LoadTilesBaseline);
const BenchPairRegistration FillListBox({"FillListBox into a shown QListWidget", "FillListBox", "AddItems", 1.3},
                                        FillListBoxCase, AddItemsBaseline);
const BenchPairRegistration FindName({"FindName with no match", "FindName", "Memmem", 4.0}, FindNameCase,
                                     MemmemBaseline);
const BenchPairRegistration ReplaceName({"ReplaceName + FillListBox", "ReplaceAndFill", "FillListBoxAlone", 1.2},
                                        ReplaceAndFillCase, FillListBoxCase);
const BenchPairRegistration Save({"Save (with its flush)", "Save", "WriteFsync", 1.2}, SaveCase,
                                 WriteFsyncBaseline);
const BenchPairRegistration CheckedSave({"Save checked against the disk (with its flush)", "CheckedSave",
                                         "ReadCompareWriteFsync", 1.2},
                                        CheckedSaveCase, ReadCompareWriteFsyncBaseline);
const BenchPairRegistration IsModified({"IsModified with nothing edited", "IsModified", "Memcmp", 2.0},
                                       IsModifiedCase, MemcmpBaseline);

} // namespace
