#include "tiledata/JournalRecovery.h"

#include "platform/DurableFile.h"
#include "platform/Error.h"
#include "platform/ExclusiveWriteFile.h"
#include "platform/FileSystem.h"
#include "platform/SharedReadFile.h"
#include "platform/SignalDeferral.h"

#include <QLocale>
#include <QString>

#include <cstring>

namespace {

std::string Thousands(std::uint64_t Value)
{
    return QLocale(QLocale::English).toString(qulonglong(Value)).toStdString();
}

// Each byte holds its old value or its new one: a stretch written partway
// (a power cut in the middle of a write) is as sound as one not written
// or written whole.
bool HoldsOldOrNew(const std::vector<unsigned char> &Bytes, const TSaveJournal::TRange &Range)
{
    const unsigned char *at = Bytes.data() + Range.At;
    for (std::size_t k = 0; k < Range.Size; ++k) {
        if (at[k] != Range.Old[k] && at[k] != Range.New[k])
            return false;
    }
    return true;
}

} // namespace

TJournalRecovery::TJournalRecovery(const std::string &FilePath)
    : FPath(FilePath)
{
    const std::string journalPath = TSaveJournal::PathFor(FilePath);
    if (!FileSystem::FileExists(journalPath))
        return;
    const std::vector<unsigned char> bytes = ReadWholeFile(FilePath);
    const SharedReadFile journal(journalPath);
    unsigned char magic[8] = {};
    const std::size_t head = journal.ReadAt(0, magic, sizeof magic);
    if (!TSaveJournal::IsOurs(magic, head)) {
        FState = TState::NotOurs;
        return;
    }
    // A journal larger than any save of this file writes is not read: its
    // size alone could exhaust memory.
    if (std::uint64_t(journal.Size()) > TSaveJournal::MostSizeFor(bytes.size())) {
        FState = TState::Conflict;
        FUnfinishable = FileSystem::NativeSeparators(journalPath) + " is " + Thousands(std::uint64_t(journal.Size()))
                        + " bytes long, more than any save of a file of " + Thousands(bytes.size()) + " bytes writes";
        return;
    }
    std::vector<unsigned char> content(static_cast<std::size_t>(journal.Size()));
    if (!content.empty())
        journal.ReadExactAt(0, content.data(), content.size());
    FJournal = std::make_unique<TSaveJournal>(std::move(content));
    Judge(bytes);
}

TJournalRecovery::~TJournalRecovery() = default;

bool TJournalRecovery::Pending(const std::string &FilePath)
{
    const std::string journalPath = TSaveJournal::PathFor(FilePath);
    return FileSystem::FileExists(journalPath) && TSaveJournal::OursAt(journalPath);
}

void TJournalRecovery::Judge(const std::vector<unsigned char> &Bytes)
{
    FChangedTiles.clear();
    FUnfinishable.clear();
    if (FJournal->Kind() == TSaveJournal::TKind::Damaged) {
        FState = TState::Damaged;
        return;
    }
    std::vector<std::size_t> changed;
    const std::vector<TSaveJournal::TRange> &ranges = FJournal->Ranges();
    FAllNew = true;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        FAllNew = FAllNew && ranges[i].At + ranges[i].Size <= Bytes.size()
                  && std::memcmp(Bytes.data() + ranges[i].At, ranges[i].New, ranges[i].Size) == 0;
        if (ranges[i].At + ranges[i].Size > Bytes.size()) {
            FUnfinishable = FileName() + " is " + Thousands(Bytes.size()) + " bytes long now, and the save wrote up to byte "
                            + Thousands(ranges[i].At + ranges[i].Size);
            changed.push_back(i);
        } else if (!HoldsOldOrNew(Bytes, ranges[i])) {
            changed.push_back(i);
        }
    }
    FState = changed.empty() ? TState::Finishable : TState::Conflict;
    if (!changed.empty())
        FChangedTiles = FJournal->TilesText(changed);
    // Stretches that hold no record's bytes (group headers, a tail) are
    // named as bytes all the same.
    if (!changed.empty() && FChangedTiles.empty())
        FChangedTiles = "bytes outside the tile records";
}

std::string TJournalRecovery::FileName() const
{
    const std::string path = FileSystem::NativeSeparators(FPath);
    const std::size_t separator = path.find_last_of(std::string("/") + FileSystem::PathSeparator);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string TJournalRecovery::Finish()
{
    if (!FJournal || (FState != TState::Finishable && FState != TState::Conflict) || !FUnfinishable.empty())
        throw Error("the last save of " + FileName() + " cannot be completed"
                    + (FUnfinishable.empty() ? std::string() : ": " + FUnfinishable));
    const bool overChanges = FState == TState::Conflict;
    // From the first write until the journal is gone, a request to stop
    // would only make the next open do this again.
    SignalDeferral deferral;
    ExclusiveWriteFile file(FPath);
    if (!overChanges) {
        // Another program may have written since the journal was judged.
        Judge(ReadWholeHeld(file));
        if (FState != TState::Finishable)
            throw Error(FileSystem::NativeSeparators(FPath) + ": another program changed the file meanwhile ("
                        + FChangedTiles + "); nothing was written");
    }
    for (const TSaveJournal::TRange &range : FJournal->Ranges())
        file.WriteAllAt(std::int64_t(range.At), range.New, range.Size);
    file.Flush();
    file.Close();
    DurableFile::Remove(TSaveJournal::PathFor(FPath));
    const int tiles = FJournal->TileCount();
    return "The last save of " + FileName() + " was cut off; it has been completed: " + Thousands(std::uint64_t(tiles))
           + (tiles == 1 ? " tile" : " tiles");
}

std::string TJournalRecovery::Discard()
{
    if (FState == TState::None || FState == TState::NotOurs)
        return std::string();
    DurableFile::RemoveFlushed(TSaveJournal::PathFor(FPath));
    if (FState == TState::Damaged)
        return "The last save of " + FileName() + " was cut off before it changed the file; the file is as it was";
    return "The last save of " + FileName() + " was cut off; it has been given up, and the file kept as it is";
}

std::string TJournalRecovery::Settle()
{
    // The save was whole; only the journal's removal did not reach the disk.
    if (FState == TState::Finishable && FAllNew) {
        DurableFile::Remove(TSaveJournal::PathFor(FPath));
        return std::string();
    }
    if (FState == TState::Finishable)
        return Finish();
    if (FState == TState::Damaged)
        return Discard();
    return std::string();
}
