#include "tiledata/RangeWrite.h"

#include "tiledata/SaveJournal.h"

#include "platform/DurableFile.h"
#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/ExclusiveWriteFile.h"
#include "platform/SignalDeferral.h"

namespace {

constexpr std::int64_t PutBackRetryMilliseconds = 3000;

} // namespace

TRangeWrite::TRangeWrite(ExclusiveWriteFile &File, const std::vector<unsigned char> &Old,
                         const std::vector<unsigned char> &New)
    : FFile(File)
    , FOld(Old)
    , FNew(New)
{
}

void TRangeWrite::Write(const std::vector<TByteRange> &Ranges, const std::string &Name, const Describe &Holding)
{
    // From the first write until the old bytes are back, a request to stop
    // would leave part of the save behind.
    SignalDeferral deferral;
    FNote.clear();
    bool journaled = false;
    std::vector<TByteRange> touched;
    try {
        journaled = MakeJournal(Ranges, Name);
        WriteAll(Ranges, touched);
    } catch (const Error &e) {
        const std::string reason = touched.empty() && !journaled && FFile.FailureReason().empty() ? e.what() : Reason();
        const std::vector<TByteRange> left = PutBack(touched);
        // With the old bytes back the journal has nothing left to do; with
        // some of the new ones still there it lets the next open finish.
        if (left.empty() && journaled)
            RemoveJournal(Name, true);
        std::string message = left.empty() ? Name + ": " + reason + "; nothing was changed"
                                            : Name + ": " + reason
                                                  + "; putting the old bytes back failed too, so the file may hold "
                                                    "part of this save: "
                                                  + Holding(left);
        if (!left.empty() && journaled)
            message += "; opening the file again completes the save";
        // A request to stop that arrived meanwhile is acted on as the
        // deferral ends, before any caller could show the message.
        deferral.Failing(message);
        throw Error(message);
    }
    if (journaled)
        RemoveJournal(Name, false);
}

bool TRangeWrite::MakeJournal(const std::vector<TByteRange> &Ranges, const std::string &Name)
{
    if (FJournalPath.empty() || Ranges.empty())
        return false;
    const std::vector<unsigned char> journal = TSaveJournal::Encode(Ranges, FOld, FNew);
    try {
        DurableFile::CreateFlushed(FJournalPath, journal.data(), journal.size());
        return true;
    } catch (const Error &e) {
        if (DurableFile::IsExistsFailure(e.what()) && TSaveJournal::OursAt(FJournalPath))
            throw Error(FileSystem::NativeSeparators(FJournalPath)
                        + " holds an earlier save of the file that was cut off; open the file again to finish it");
        FNote = Name + " was saved without a journal (" + FileSystem::NativeSeparators(FJournalPath) + ": " + e.what()
                + "), so a kill or power cut during the save could have left it half-written";
        return false;
    }
}

void TRangeWrite::RemoveJournal(const std::string &Name, bool Undone)
{
    // After a whole save this is not waited for: a journal that a crash
    // brings back finds every byte of the save already there, and the next
    // open only removes it again. After a save undone it is, or the next
    // open would complete a save that was reported as not made.
    try {
        if (Undone)
            DurableFile::RemoveFlushed(FJournalPath);
        else
            DurableFile::Remove(FJournalPath);
    } catch (const Error &e) {
        // The file holds every byte of the save; the journal left behind
        // only makes the next open write them once more.
        FNote = Name + " holds the whole save, but its journal could not be removed ("
                + FileSystem::NativeSeparators(FJournalPath) + ": " + e.what() + ")";
    }
}

void TRangeWrite::WriteAll(const std::vector<TByteRange> &Ranges, std::vector<TByteRange> &Touched)
{
    for (const TByteRange &range : Ranges) {
        // A range counts as touched by what reached the file, so that a
        // write failing partway has its part put back too.
        std::size_t written = 0;
        try {
            FFile.WriteAllAt(static_cast<std::int64_t>(range.At), FNew.data() + range.At, range.Size, &written);
        } catch (const Error &) {
            if (written > 0)
                Touched.push_back({range.At, written});
            throw;
        }
        Touched.push_back(range);
    }
    if (!Ranges.empty())
        FFile.Flush();
}

std::vector<TByteRange> TRangeWrite::PutBack(const std::vector<TByteRange> &Touched)
{
    // Each write is retried for a moment when turned away; thousands of
    // stretches must not add that up to minutes with stopping held back.
    FFile.BoundRetries(PutBackRetryMilliseconds);
    std::vector<TByteRange> left;
    for (const TByteRange &range : Touched) {
        try {
            // Bytes past the old end have nothing to go back to.
            if (range.At + range.Size > FOld.size())
                throw Error("Stream write error");
            FFile.WriteAllAt(static_cast<std::int64_t>(range.At), FOld.data() + range.At, range.Size);
        } catch (const Error &) {
            left.push_back(range);
        }
    }
    if (Touched.empty() || left.size() == Touched.size())
        return left;
    try {
        FFile.Flush();
    } catch (const Error &) {
        // Nothing put back is sure to be on the disk.
        return Touched;
    }
    return left;
}

std::string TRangeWrite::Reason() const
{
    return FFile.FailureReason().empty() ? std::string("Stream write error") : FFile.FailureReason();
}
