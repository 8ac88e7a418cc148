// The journal's cost: a save of many edits and of one, each against the
// same save made without a journal (as a save was before there was one),
// in the same run. Both flush.

#include "bench/BenchFiles.h"
#include "bench/BenchRegistry.h"

#include "platform/FileProbe.h"
#include "tiledata/TileDataReader.h"

#include <memory>
#include <stdexcept>

namespace {

// A store over its own copy of the newer benchmark file, whose body edits
// Edits item tiles spread over the file (a stretch each) and saves them,
// the edits undone by the next call so that every call writes as much.
BenchBody SaveOf(int Edits, const char *Name, bool Journaled)
{
    LayoutTileWriter writer = BenchFiles::RandomNewer();
    const QString path = BenchFiles::Instance().Folder() + Name;
    writer.WriteTo(path);
    auto store = std::make_shared<TTileData>(path);
    store->LoadTiles();
    const int step = store->ItemCount() / Edits;
    return [store, Edits, step, Journaled] {
        for (int k = 0; k < Edits; ++k)
            store->SetHue(k * step, store->GetHue(k * step) ^ 1);
        // Without a journal: its creation fails, and the save goes ahead
        // exactly as it did before journals.
        if (!Journaled)
            FileProbe::Set([](FileProbe::Step At, const std::string &, std::int64_t) {
                return At == FileProbe::Step::Create;
            });
        const bool saved = store->Save([](const TSaveConflicts &) { return false; });
        FileProbe::Set({});
        if (!saved || store->SaveNote().empty() == !Journaled)
            throw std::logic_error("the save was not made as measured");
    };
}

const BenchPairRegistration ManyEdits({"Save of 5,000 edits to a newer file, with its journal (flushed)",
                                       "JournaledSave5000", "SaveWithoutJournal5000", 1.3},
                                      [] { return SaveOf(5000, "journal-many.mul", true); },
                                      [] { return SaveOf(5000, "plain-many.mul", false); });
const BenchPairRegistration OneEdit({"Save of one edit to a newer file, with its journal (flushed)",
                                     "JournaledSave1", "SaveWithoutJournal1", 1.3},
                                    [] { return SaveOf(1, "journal-one.mul", true); },
                                    [] { return SaveOf(1, "plain-one.mul", false); });

} // namespace
