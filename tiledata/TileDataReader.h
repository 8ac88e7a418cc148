#pragma once

#include "tiledata/RangeWrite.h"
#include "tiledata/TileKind.h"
#include "tiledata/TileLayout.h"
#include "tiledata/TileRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class ExclusiveWriteFile;
class QListWidget;

// The records a save would write that another program changed too, since
// the file was last loaded or saved here.
struct TSaveConflicts
{
    std::vector<int> Items;
    std::vector<int> Land;
};

// Asked when the file on disk is no longer what was last loaded or saved:
// true overwrites the records edited here, false cancels the save.
using TConfirmOverwrite = std::function<bool(const TSaveConflicts &)>;

// One opened tile data file, held in memory.
//
// The store keeps the file as last loaded or saved (the image) and a working
// copy of it that every edit changes. Records are read and written where
// the file's layout, chosen once from its length, puts them. The image and
// the file change only when the store saves, so destroying a store with
// unsaved edits leaves the file as it was.
//
// Tiles come in two kinds, land and item; the functions without a kind work
// on item tiles.
class TTileData
{
public:
    // Reads the whole file into memory and chooses its layout; every item tile
    // reads as zero until LoadTiles. Throws Error "Cannot open file ...",
    // "<file>: <system's reason>" for a failed read, "<file>: the file ended
    // at byte ..." for a file that shrinks while it is read, or "Out of
    // memory while expanding memory stream".
    explicit TTileData(const QString &FileName);
    // A store over bytes already read from FileName, for files that can be
    // read only once, such as a pipe. Layout, when given, is used whatever
    // the length: for a file whose length fits neither layout, when the
    // user names the layout; otherwise the layout comes from the length.
    TTileData(const QString &FileName, std::vector<unsigned char> Image,
              std::optional<TTileLayout> Layout = std::nullopt);

    TTileData(const TTileData &) = delete;
    TTileData &operator=(const TTileData &) = delete;

    // Decodes every record from the image, then appends one ListLine per
    // item tile to List. Records, or parts of records, beyond the end of a
    // short file read as zero.
    void LoadTiles(QStringList &List);
    // Decodes every record as LoadTiles does, without the lines, for a
    // caller whose list reads each line when it draws it.
    void LoadTiles();

    // Replaces the list box's lines with one ListLine per item tile,
    // reflecting the current records, with drawing suspended so the box
    // repaints once. A box that already holds a line per tile keeps its
    // items and has only the lines that differ renewed; either way it ends
    // with no selection and no current line.
    // Defined apart (TileDataListBox.cpp, library tiledata_widgets).
    void FillListBox(QListWidget *ListBox) const;

    // Writes the records edited here over the file, in place and flushed to
    // the disk, and nothing else: a save without edits writes nothing.
    //
    // Under the same exclusive hold as the write, the file is first compared
    // with the bytes last loaded or saved here. When another program has
    // changed it since, the hold is given up and ConfirmOverwrite is asked
    // with the records both changed, so that nobody waits for the file
    // while a person decides; false leaves the file and the store as they
    // were, and Save returns false. After a yes the hold is taken again and
    // the file compared with the version the answer was about; if it changed
    // once more, ConfirmOverwrite is asked again about that one. Without
    // ConfirmOverwrite the edited records are written unasked, under the
    // first hold. Either way the other program's changes to other records
    // and to bytes outside the records stay, and after the save the store
    // holds what the file now holds. Only a file whose length another
    // program changed gets all of our bytes written over it.
    //
    // When a write or the flush fails, the bytes this save already wrote are
    // put back and flushed, and Error says why, naming the file, and that
    // nothing was changed; if putting back fails too, it says the file may
    // hold part of the save and which tiles. The edits stay in the store.
    // Requests to stop the program wait while the save writes or puts back.
    // Throws Error "Cannot open file ..." (missing, read-only or open
    // elsewhere: the file is unchanged), "Stream read error" or
    // "<file>: <reason>" for a read that fails too.
    //
    // Before the first byte changes, the old and new bytes are journaled
    // beside the file (see TRangeWrite); a close that fails after the flush
    // leaves a whole save. Either is told by SaveNote.
    bool Save(const TConfirmOverwrite &ConfirmOverwrite = {});
    // What the last save has to say besides its success, a line each: a
    // save made without a journal, or whose close failed after the flush.
    // Empty when there is nothing.
    const std::string &SaveNote() const { return FSaveNote; }

    // True when a save would write other bytes than the file held when last
    // loaded or saved here. A value set back to what it was is no change.
    bool IsModified() const;

    // The path the store was created on.
    const QString &GetFileName() const { return FileName; }

    // Where the records lie, chosen from the file's length at load.
    const TTileLayout &Layout() const { return FLayout; }
    // How many tiles of each kind the layout describes.
    int ItemCount() const { return FLayout.Count(TTileKind::Item); }
    int LandCount() const { return FLayout.Count(TTileKind::Land); }
    int Count(TTileKind Kind) const { return FLayout.Count(Kind); }
    // The file's length as loaded or last saved.
    std::int64_t FileSize() const { return static_cast<std::int64_t>(FileImage.size()); }

    // True when the tile's record lies wholly in the file. Only such tiles
    // can be changed: every setter leaves the others alone, so that no edit
    // is made that a save could not write.
    bool IsWhole(TTileKind Kind, int Index) const;
    // How many tiles of a kind lie wholly in the file.
    int WholeCount(TTileKind Kind) const;
    // For a file too short to hold every record: "tiledata.mul is 512,000
    // bytes long and holds 2,261 of the 16,383 tiles; the others cannot be
    // edited". Empty for a file that holds them all.
    QString ShortFileWarning() const;

    // A tile's whole record, as its bytes lie in the file. Setting a record
    // back to bytes taken from it restores every field exactly, name bytes
    // after the terminating zero included, which is what undoing an edit
    // needs. Bytes of another length, an index out of range or a tile not
    // wholly in the file change nothing; an index out of range reads as an
    // empty array.
    QByteArray GetRecordBytes(TTileKind Kind, int Index) const;
    void SetRecordBytes(TTileKind Kind, int Index, const QByteArray &Bytes);
    // The same for many tiles at once, their records back to back in one
    // block: an undo step of every tile of a newer file holds 65,536.
    // Tiles must be tiles of Kind.
    QByteArray GetRecordsBytes(TTileKind Kind, const std::vector<int> &Tiles) const;
    // Puts the bits that Mask sets from Values into the records of Tiles
    // wholly in the file, both blocks a record per tile as above; every
    // other bit stays. Blocks of another length change nothing.
    void PutRecordsBits(TTileKind Kind, const std::vector<int> &Tiles, const QByteArray &Values,
                        const QByteArray &Mask);
    // The record's bytes where the store holds them, for reading many
    // records without a copy of each; valid until the next edit, load or
    // save. Null for an index out of range.
    const unsigned char *RecordData(TTileKind Kind, int Index) const;

    QString GetName(TTileKind Kind, int Index) const;
    void SetName(TTileKind Kind, int Index, const QString &Name);
    // Renames every tile of the kind whose name equals OldName, folding only
    // a-z; returns the tiles renamed.
    std::vector<int> ReplaceName(TTileKind Kind, const QString &OldName, const QString &NewName);
    // Lowest index from From on whose name contains Text under code-page
    // upper-casing, or -1.
    int FindName(TTileKind Kind, const QString &Text, int From = 0) const;
    // "0x%x - %s": the index in upper-case hex after a literal "0x", then the name.
    QString ListLine(TTileKind Kind, int Index) const;

    QString GetName(int Index) const { return GetName(TTileKind::Item, Index); }
    void SetName(int Index, const QString &Name) { SetName(TTileKind::Item, Index, Name); }
    void ReplaceName(const QString &OldName, const QString &NewName)
    {
        ReplaceName(TTileKind::Item, OldName, NewName);
    }
    int FindName(const QString &Text) const { return FindName(TTileKind::Item, Text); }
    QString ListLine(int Index) const { return ListLine(TTileKind::Item, Index); }

    // Getters return the field as stored (unsigned); setters keep only the
    // bits the field holds: 8, 16, or the layout's 32 or 64 flag bits. An
    // index out of range reads as 0 and is never written.
    std::uint64_t GetFlags(TTileKind Kind, int Index) const;
    void SetFlags(TTileKind Kind, int Index, std::uint64_t Value);
    // Sets or clears one flag bit of each of Tiles wholly in the file, the
    // other bits left alone: one edit of many tiles, without a read and a
    // write of each flags word.
    void SetFlagBit(TTileKind Kind, const std::vector<int> &Tiles, int Bit, bool Set);
    std::uint64_t GetFlags(int Index) const { return GetFlags(TTileKind::Item, Index); }
    void SetFlags(int Index, std::uint64_t Value) { SetFlags(TTileKind::Item, Index, Value); }
    // Land tiles only.
    int GetTexture(int Index) const;
    void SetTexture(int Index, int Value);
    // Item tiles only.
    int GetWeight(int Index) const;
    void SetWeight(int Index, int Value);
    int GetQuality(int Index) const;
    void SetQuality(int Index, int Value);
    int GetUnknown0(int Index) const;
    void SetUnknown0(int Index, int Value);
    int GetUnknown1(int Index) const;
    void SetUnknown1(int Index, int Value);
    int GetQuantity(int Index) const;
    void SetQuantity(int Index, int Value);
    int GetAnim(int Index) const;
    void SetAnim(int Index, int Value);
    int GetUnknown2(int Index) const;
    void SetUnknown2(int Index, int Value);
    int GetHue(int Index) const;
    void SetHue(int Index, int Value);
    int GetUnknown3(int Index) const;
    void SetUnknown3(int Index, int Value);
    int GetUnknown4(int Index) const;
    void SetUnknown4(int Index, int Value);
    int GetHeight(int Index) const;
    void SetHeight(int Index, int Value);

private:
    bool IsTile(TTileKind Kind, int Index) const { return Index >= 0 && Index < Count(Kind); }
    // The record's bytes in the working copy.
    unsigned char *Record(TTileKind Kind, int Index);
    const unsigned char *Record(TTileKind Kind, int Index) const;
    const char *NameField(TTileKind Kind, int Index) const;
    // Writes an encoded name into a whole record's name field, zero-padded
    // and cut to the field.
    void PutName(TTileKind Kind, int Index, const QByteArray &Bytes);
    // A field of Size bytes at Offset inside the record, as an unsigned value.
    std::uint64_t GetField(TTileKind Kind, int Index, int Offset, int Size) const;
    void SetField(TTileKind Kind, int Index, int Offset, int Size, std::uint64_t Value);
    int GetItemField(int Index, int AfterFlags, int Size) const;
    void SetItemField(int Index, int AfterFlags, int Size, int Value);
    // Calls Visit(kind, index, offset, size) for every record wholly in the
    // file, land first, in file order.
    template <typename Visit>
    void ForEachWholeRecord(Visit visit) const
    {
        for (const TTileKind kind : {TTileKind::Land, TTileKind::Item}) {
            const std::size_t size = std::size_t(FLayout.RecordSize(kind));
            for (int i = 0; i < Count(kind) && IsWhole(kind, i); ++i)
                visit(kind, i, std::size_t(FLayout.RecordOffset(kind, i)), size);
        }
    }
    // Runs of neighbouring records whose working bytes differ from the image.
    std::vector<TByteRange> ChangedRanges() const;
    // The records changed here that Disk, another program's version of the
    // file, changed too.
    TSaveConflicts ConflictsWith(const std::vector<unsigned char> &Disk) const;
    // "0x1A, land 0x3": the tiles whose records lie in Ranges, which are in
    // file order and apart, as ChangedRanges gives them.
    std::string TilesIn(const std::vector<TByteRange> &Ranges) const;
    // Takes the hold and saves when the file holds Expected, or whatever it
    // holds when Unasked. Otherwise returns what it holds, the hold given up
    // again.
    std::optional<std::vector<unsigned char>> SaveIfFileHolds(const std::vector<unsigned char> &Expected,
                                                              bool Unasked);
    // Writes the changed records over the held file, whose bytes are Old.
    void WriteHeld(ExclusiveWriteFile &File, const std::vector<unsigned char> &Old);
    QStringList AllListLines() const;
    // Makes the working copy the image again, padded to the layout's end.
    void ResetWorking();
    // The working copy as it reads, and as an edit changes it.
    const std::vector<unsigned char> &Work() const;
    std::vector<unsigned char> &WorkToEdit();
    // The working copy with the item records zero, until LoadTiles.
    void StartWithoutItems();

    QString FileName;
    TTileLayout FLayout;
    // The file as last loaded or saved here: a save expects to find it on
    // the disk, and writes only where the working copy differs from it.
    std::vector<unsigned char> FileImage;
    // The image with every edit in it, at least as long as the layout's
    // records, so that a short file's missing records read as zero. Empty
    // while it would be the image itself (Work gives the copy in force).
    std::vector<unsigned char> Working;
    std::string FSaveNote;
};
