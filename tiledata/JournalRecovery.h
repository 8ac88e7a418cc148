#pragma once

#include "tiledata/SaveJournal.h"

#include <memory>
#include <string>

// What the next open does with the journal a cut-off save left beside the
// file: finish the save when every byte the save writes still holds its old
// or its new value, or give it up when the journal itself was cut short
// (then the file was not touched yet). A byte holding neither means that
// another program wrote there since; nothing is changed until the user
// chooses. A file of another program's under the journal's name is never
// touched.
class TJournalRecovery
{
public:
    enum class TState {
        None,       // no journal
        NotOurs,    // a file we did not write bears the journal's name
        Damaged,    // cut short or failing its checksum: Discard
        Finishable, // Finish
        Conflict,   // another program changed the file: the user chooses
    };

    // Reads the journal beside FilePath and the file, without changing
    // either. Throws Error when one of them cannot be read.
    explicit TJournalRecovery(const std::string &FilePath);
    ~TJournalRecovery();

    // True when a journal of ours lies beside FilePath: the file may hold
    // part of a save until it is finished.
    static bool Pending(const std::string &FilePath);

    TState State() const { return FState; }
    // For a conflict: "0x1A, land 0x3", the tiles whose records another
    // program changed; and why the save cannot be finished over them, empty
    // when it can.
    const std::string &ChangedTiles() const { return FChangedTiles; }
    const std::string &Unfinishable() const { return FUnfinishable; }

    // Writes the journal's new bytes over the file under the same hold as a
    // save, flushes them and removes the journal; returns
    // "The last save of tiledata.mul was cut off; it has been completed: 5,000 tiles".
    // A finishable save whose file another program changed meanwhile is
    // not finished: Error says so.
    std::string Finish();
    // Removes the journal, leaving the file as it is, and says so.
    std::string Discard();
    // Finishes or discards what needs no choice (Finishable, Damaged) and
    // returns what was done; empty when there was nothing to do, such as a
    // journal beside a file that holds the whole save already (a crash
    // after the save, before its journal's removal reached the disk).
    std::string Settle();

private:
    // Sorts the journal's ranges by what the file holds in Bytes.
    void Judge(const std::vector<unsigned char> &Bytes);
    std::string FileName() const;

    std::string FPath;
    std::unique_ptr<TSaveJournal> FJournal;
    TState FState = TState::None;
    std::string FChangedTiles;
    std::string FUnfinishable;
    // Every stretch already holds its new bytes: the save was whole.
    bool FAllNew = false;
};
