// A save's journal from arbitrary bytes, beside a small file: what the next
// open finds in it, and what finishing or giving it up does to the file.
// The input's first two bytes give the file's length, the next that many
// (or fewer) its bytes, the rest is the journal.

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzScratch.h"
#include "platform/Error.h"
#include "tiledata/JournalRecovery.h"

#include <QFile>

using FuzzScratch::Expect;
using State = TJournalRecovery::TState;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    FuzzScratch::Prepare();
    FuzzInput input(Data, Size);
    const std::vector<std::uint8_t> file = input.Bytes(input.Word());
    const std::vector<std::uint8_t> journal = input.Rest();
    const QString path = FuzzScratch::Write(QStringLiteral("journaled.mul"), file);
    const QString journalPath = FuzzScratch::Write(QStringLiteral("journaled.mul-journal"), journal);
    TJournalRecovery recovery(path.toStdString());
    const State state = recovery.State();
    if (state == State::Conflict) {
        Expect(!recovery.ChangedTiles().empty() || !recovery.Unfinishable().empty(), "a conflict named nothing");
        try {
            recovery.Finish();
        } catch (const Error &) {
            Expect(!recovery.Unfinishable().empty(), "a finishable conflict was not finished");
        }
    } else {
        recovery.Settle();
    }
    const std::vector<std::uint8_t> &after = FuzzScratch::Read(path);
    Expect(after.size() == file.size(), "recovery changed the file's length");
    if (state == State::Damaged || state == State::NotOurs || state == State::None)
        Expect(after == file, "a journal that finishes nothing changed the file");
    Expect(QFile::exists(journalPath) == (state == State::NotOurs || (state == State::Conflict && after == file)),
           "the journal was kept or removed against its state");
    return 0;
}
