#pragma once

#include "tiledata/TileKind.h"
#include "tiledata/TileRecord.h"

#include <QByteArray>

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class ExclusiveWriteFile;
class QListWidget;

// One opened tile data file, held in memory.
//
// The store keeps a copy of the whole file (the image) and a table of the
// 16,383 static tile records decoded from it. Tile operations change only
// the table; the image and the file change only when the store saves, so
// destroying a store with unsaved edits leaves the file as it was.
//
// The table lives inside the object (about 600 KB): create stores on the
// heap.
class TTileData
{
public:
    // Reads the whole file into memory; the table stays all zero until
    // LoadTiles. Throws Error "Cannot open file ...", "Stream read error" or
    // "Out of memory while expanding memory stream".
    explicit TTileData(const QString &FileName);
    // A store over bytes already read from FileName, for files that can be
    // read only once, such as a pipe.
    TTileData(const QString &FileName, std::vector<unsigned char> Image);

    TTileData(const TTileData &) = delete;
    TTileData &operator=(const TTileData &) = delete;

    // Decodes every record from the image into the table, then appends one
    // ListLine per tile to List. Records, or parts of records, beyond the end
    // of a short file read as zero.
    void LoadTiles(QStringList &List);

    // Replaces the list box's lines with one ListLine per tile, reflecting
    // the current table, with drawing suspended so the box repaints once.
    // A box that already holds a line per tile keeps its items and has only
    // the lines that differ renewed; either way it ends with no selection
    // and no current line.
    // Defined apart (TileDataListBox.cpp, library tiledata_widgets).
    void FillListBox(QListWidget *ListBox) const;

    // Writes the table into the image, then the image over the file, in
    // place and flushed to the disk. The file keeps its length.
    //
    // Under the same exclusive hold as the write, the file is first compared
    // with the bytes last loaded or saved here. When another program has
    // changed it since, ConfirmOverwrite is asked (while the file is held);
    // false leaves the file, the image and the table as they were, and Save
    // returns false. Without ConfirmOverwrite the file is overwritten
    // unasked. Throws Error "Cannot open file ..." (missing, read-only or
    // open elsewhere: the file is unchanged), "Stream read error" or
    // "Stream write error".
    bool Save(const std::function<bool()> &ConfirmOverwrite = {});

    // True when a save would write other bytes than the file held when last
    // loaded or saved here. A value set back to what it was is no change,
    // and neither is an edit of bytes that lie beyond the end of a short
    // file, which a save never writes.
    bool IsModified() const;

    // How many tiles of each kind the file describes.
    int ItemCount() const { return TileCount; }
    int LandCount() const { return 0; }

    // A tile's whole record, as its bytes lie in the file. Setting a record
    // back to bytes taken from it restores every field exactly, name bytes
    // after the terminating zero included, which is what undoing an edit
    // needs. Bytes of another length, or an index out of range, change
    // nothing; an index out of range reads as an empty array.
    QByteArray GetRecordBytes(TTileKind Kind, int Index) const;
    void SetRecordBytes(TTileKind Kind, int Index, const QByteArray &Bytes);

    // The path the store was created on.
    const QString &GetFileName() const { return FileName; }

    QString GetName(int Index) const;
    void SetName(int Index, const QString &Name);
    // Renames every tile whose name equals OldName, folding only a-z.
    void ReplaceName(const QString &OldName, const QString &NewName);
    // Lowest index whose name contains Text under code-page upper-casing, or -1.
    int FindName(const QString &Text) const;

    // "0x%x - %s": the index in upper-case hex after a literal "0x", then the name.
    QString ListLine(int Index) const;

    // Getters return the field as stored (unsigned); setters keep only the
    // field's low 8, 16 or 32 bits. An index outside 0..16382 reads as 0
    // and is never written.
    std::uint32_t GetFlags(int Index) const;
    void SetFlags(int Index, std::uint32_t Value);
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
    static bool IsTile(int Index) { return Index >= 0 && Index < TileCount; }

    // The records lie packed in the table, so most of them start at odd
    // addresses, and a two-byte field reached through a member pointer
    // would be accessed unaligned. Work on an aligned copy instead, in
    // which every field sits at its natural alignment.
    template <typename Field>
    int Get(int Index, Field TTileRecord::*Member) const
    {
        if (!IsTile(Index))
            return 0;
        alignas(4) const TTileRecord record = Tiles[Index];
        return int(record.*Member);
    }

    template <typename Field>
    void Set(int Index, Field TTileRecord::*Member, int Value)
    {
        if (!IsTile(Index))
            return;
        alignas(4) TTileRecord record = Tiles[Index];
        record.*Member = static_cast<Field>(static_cast<unsigned>(Value));
        Tiles[Index] = record;
    }

    // Writes the table's records that fall in bytes At to At + Size of the
    // file into Out, which holds those bytes.
    void WriteTilesTo(unsigned char *Out, std::size_t At, std::size_t Size) const;
    // Writes the image over File with the table's records in place.
    void WriteImageWithTiles(ExclusiveWriteFile &File) const;
    QStringList AllListLines() const;

    QString FileName;
    // The file as last loaded or saved here: a save writes this with the
    // table's records in place, and expects to find it on the disk.
    std::vector<unsigned char> FileImage;
    std::array<TTileRecord, TileCount> Tiles{};
    // ListLine of every tile, kept from LoadTiles on and renewed by SetName
    // (the only other writer of names), so that FillListBox hands the list
    // box finished lines. Without them a refill spends more time making
    // 16,383 strings, and the allocator more in freeing the old ones, than
    // the list box spends taking them. The list box shares the texts, so
    // they cost no second copy. Empty before the first LoadTiles.
    QStringList Lines;
};
