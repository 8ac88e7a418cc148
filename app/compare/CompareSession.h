#pragma once

#include "tiledata/TileKind.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class TPathWatch;
class TTileComparison;
class TTileData;
class TTileDocument;
enum class TLoadKind;

// The comparison of the open file with another tile data file, the other
// file: its store, read whole and never written nor held open, and a mark
// for every tile that differs between the two.
//
// The marks follow the document. An edit, an undo or a redo compares again
// only the tiles it changed. A load, and a save (which may bring in another
// program's changes), compare the whole file again. When the other file
// changes on disk the session says so; it is read again only when asked,
// or when the other file is the open file itself and the window saved it.
class TCompareSession : public QObject
{
    Q_OBJECT

public:
    TCompareSession(TTileDocument &Document, QObject *Parent);
    ~TCompareSession() override;

    // Reads Path and compares the open file with it. A file that cannot be
    // read throws and changes nothing: a comparison already running goes on.
    void Start(const QString &Path);
    // Reads the other file again, as it now is on disk.
    void ReadAgain();
    void Stop();

    bool IsActive() const { return bool(FOther); }
    // The other file's store; none while no comparison runs.
    const TTileData *Other() const { return FOther.get(); }
    // The other file's name, without its folder; when the open file has the
    // same name, with the folder that tells them apart ("tiledata.mul in
    // backup").
    QString OtherName() const;
    bool Differs(TTileKind Kind, int Tile) const;
    // True when the other file's layout has the tile, so that it was compared.
    bool Compares(TTileKind Kind, int Tile) const;
    // "312 item tiles and 4 land tiles differ".
    QString CountText() const;
    // The tiles of the open file's list left out because their records lie
    // beyond the end of either file: "not compared, beyond the end of this
    // file or other.mul: 14,445 item tiles"; empty when there are none.
    QString BeyondText() const;
    // Between layouts, how the flags compare: "compared with a classic
    // file: bits 32-63 count as clear there"; empty for files of one layout.
    QString LayoutNote() const;

signals:
    // A comparison started, stopped, or compares another file now.
    void ActiveChanged();
    // Marks came or went.
    void MarksChanged();
    // The other file is no longer what was read: another program changed it.
    void OtherChangedOnDisk();

private:
    void Read(const QString &Path);
    void CompareAll();
    void FollowTiles(TTileKind Kind, const std::vector<int> &Tiles);
    void FollowSave();

    TTileDocument &FDocument;
    std::unique_ptr<TTileData> FOther;
    // None while the window holds no file.
    std::unique_ptr<TTileComparison> FComparison;
    TPathWatch *FWatch;
};
