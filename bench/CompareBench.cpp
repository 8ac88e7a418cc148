// Comparing the open file with another one: the whole comparison of two
// newer files of 65,536 tiles against a memcmp of their records, and the
// marks after one edit, which compare that tile again, not the files.

#include "bench/BenchFiles.h"
#include "bench/BenchRegistry.h"

#include "app/compare/CompareSession.h"
#include "app/document/TileDocument.h"
#include "tests/support/LayoutTileWriter.h"
#include "tiledata/TileComparison.h"
#include "tiledata/TileDataReader.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

// Two newer files of 2,048 item groups: random records, and every 210th
// item tile and every 4,000th land tile of the second differing from the
// first in one byte (313 item tiles and 5 land tiles).
struct ComparedFiles
{
    LayoutTileWriter Ours = LayoutTileWriter::Newer(2048, 17);
    LayoutTileWriter Other = Ours;
    QString OursPath;
    QString OtherPath;
};

const ComparedFiles &Files()
{
    static const ComparedFiles files = [] {
        ComparedFiles made;
        for (int tile = 0; tile < made.Other.Items(); tile += 210)
            made.Other.Bytes()[made.Other.ItemOffset(tile) + 9] ^= 1;
        for (int tile = 0; tile < LayoutTileWriter::LandTiles; tile += 4000)
            made.Other.Bytes()[made.Other.LandOffset(tile) + 8] ^= 1;
        made.OursPath = BenchFiles::Instance().Folder() + "compared.mul";
        made.OtherPath = BenchFiles::Instance().Folder() + "other.mul";
        made.Ours.WriteTo(made.OursPath);
        made.Other.WriteTo(made.OtherPath);
        return made;
    }();
    return files;
}

std::shared_ptr<TTileData> StoreOf(const LayoutTileWriter &File)
{
    auto store = std::make_shared<TTileData>(QStringLiteral("bench.mul"), File.Bytes());
    store->LoadTiles();
    return store;
}

BenchBody CompareCase()
{
    std::shared_ptr<TTileData> ours = StoreOf(Files().Ours);
    std::shared_ptr<TTileData> other = StoreOf(Files().Other);
    return [ours, other] {
        const TTileComparison comparison(*ours, *other);
        benchmark::DoNotOptimize(comparison.DifferCount(TTileKind::Item));
    };
}

// One memcmp per group's records, the 32 records that lie back to back
// between two group headers, in both sections.
BenchBody MemcmpBaseline()
{
    const ComparedFiles &files = Files();
    struct Run
    {
        std::size_t At;
        std::size_t Size;
    };
    auto runs = std::make_shared<std::vector<Run>>();
    for (int tile = 0; tile < LayoutTileWriter::LandTiles; tile += 32)
        runs->push_back({files.Ours.LandOffset(tile), 32 * std::size_t(8 + 22)});
    for (int tile = 0; tile < files.Ours.Items(); tile += 32)
        runs->push_back({files.Ours.ItemOffset(tile), 32 * std::size_t(8 + 33)});
    const unsigned char *a = files.Ours.Bytes().data();
    const unsigned char *b = files.Other.Bytes().data();
    return [runs, a, b] {
        int differing = 0;
        for (const Run &run : *runs)
            differing += std::memcmp(a + run.At, b + run.At, run.Size) != 0;
        benchmark::DoNotOptimize(differing);
    };
}

// The window's document on the first file, its tile 0x100 selected, and,
// when Comparing, a comparison with the second.
struct EditedDocument
{
    std::unique_ptr<TTileDocument> Document;
    std::unique_ptr<TCompareSession> Session;
};

std::shared_ptr<EditedDocument> DocumentOn(bool Comparing)
{
    auto edited = std::make_shared<EditedDocument>();
    edited->Document = std::make_unique<TTileDocument>(nullptr);
    edited->Document->Load(Files().OursPath, TLoadKind::Open);
    edited->Document->UndoStack().setUndoLimit(100);
    edited->Document->Select(0x100);
    if (Comparing) {
        edited->Session = std::make_unique<TCompareSession>(*edited->Document, nullptr);
        edited->Session->Start(Files().OtherPath);
    }
    return edited;
}

// A click on a flag box: the edit, its undo step, and with a comparison the
// tile compared again.
BenchBody FlagClick(bool Comparing)
{
    std::shared_ptr<EditedDocument> edited = DocumentOn(Comparing);
    auto set = std::make_shared<bool>(true);
    return [edited, set] {
        edited->Document->SetFlag(4, *set);
        *set = !*set;
    };
}

// What the marks cost after an edit: the session following the document's
// word that one tile changed.
BenchBody MarksAfterOneEdit()
{
    std::shared_ptr<EditedDocument> edited = DocumentOn(true);
    auto tile = std::make_shared<int>(0);
    return [edited, tile] {
        emit edited->Document->TilesChanged(TTileKind::Item, {*tile});
        *tile = (*tile + 1) & 0xFFFF;
    };
}

const BenchPairRegistration Compare({"compare two newer files of 65,536 tiles (both sections)", "CompareFiles",
                                     "MemcmpRecords", 2.0},
                                    CompareCase, MemcmpBaseline);
const BenchPairRegistration EditWithMarks({"a flag click while comparing (edit, undo step, marks)",
                                           "FlagClickComparing", "FlagClickAlone", 1.2},
                                          [] { return FlagClick(true); }, [] { return FlagClick(false); });
const BenchPairRegistration MarksPerTile({"marks after one edit: the edited tile compared again",
                                          "MarksAfterOneEdit", "CompareFilesAgain", 0},
                                         MarksAfterOneEdit, CompareCase);

} // namespace
