#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class ExclusiveWriteFile;

// A stretch of a file: Size bytes from At on.
struct TByteRange
{
    std::size_t At;
    std::size_t Size;
};

// Writes stretches of new bytes over a held file and flushes them, so that
// the file ends either with all of them or, as far as the system lets us,
// with none: when a write or the flush fails, every byte already written
// gets its old value back and is flushed again before the failure is
// reported. Every retry of a write turned away for a moment stops after a
// few seconds of putting back in all. Requests to stop the program (Ctrl+C, say) wait until the file
// is whole again; one that then ends the program tells the failure first.
// A write past the file-size limit fails like any other.
class TRangeWrite
{
public:
    // "0x1A, land 0x3": what the given stretches hold, in the caller's words.
    using Describe = std::function<std::string(const std::vector<TByteRange> &)>;

    // Old holds the file's bytes before the write (the ones put back), New
    // the bytes to write; both outlive the object.
    TRangeWrite(ExclusiveWriteFile &File, const std::vector<unsigned char> &Old,
                const std::vector<unsigned char> &New);

    // Writes and flushes Ranges. On a failure throws Error
    //   "<Name>: <reason>; nothing was changed"
    // when the old bytes are back, or, when some could not be put back,
    //   "<Name>: <reason>; putting the old bytes back failed too, so the file
    //    may hold part of this save: <what Holding says of those stretches>"
    // naming only the stretches whose bytes may really have changed.
    //
    // With a journal path, the old and new bytes of Ranges are first put on
    // the disk there, so that a save cut off where nothing can catch it (a
    // kill, a power cut) is finished or undone by the next open; the journal
    // goes once the file is flushed. When no journal can be made (a
    // read-only folder), the save goes ahead without one and Note says so.
    // A journal of ours already there (an earlier cut-off save) stops the
    // save before anything is written.
    void Write(const std::vector<TByteRange> &Ranges, const std::string &Name, const Describe &Holding);

    void UseJournal(const std::string &Path) { FJournalPath = Path; }
    // What the last Write has to say besides success: a save made without
    // a journal, or a journal left behind. Empty when there is nothing.
    const std::string &Note() const { return FNote; }

private:
    // Writes the journal; false when none could be made (Note says why).
    bool MakeJournal(const std::vector<TByteRange> &Ranges, const std::string &Name);
    // Undone: the old bytes are back, and the journal's removal must last.
    void RemoveJournal(const std::string &Name, bool Undone);
    // Writes Ranges; Touched gets every stretch whose bytes reached the
    // file, the part of one whose write failed partway included.
    void WriteAll(const std::vector<TByteRange> &Ranges, std::vector<TByteRange> &Touched);
    // Puts the old bytes of Touched back and flushes them; returns the
    // stretches that may still hold new bytes (none when all went well).
    std::vector<TByteRange> PutBack(const std::vector<TByteRange> &Touched);
    std::string Reason() const;

    ExclusiveWriteFile &FFile;
    const std::vector<unsigned char> &FOld;
    const std::vector<unsigned char> &FNew;
    std::string FJournalPath;
    std::string FNote;
};
