#pragma once

#include "tilecheck/Finding.h"
#include "tiledata/TileKind.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class TCheckFiles;
class TTileCheck;
class TTileData;
class TTileDocument;

// Where the open file disagrees with the files beside it (art,
// animdata.mul, the textures, radarcol.mul), tile by tile, for the window.
// Nothing is read until a tile's findings are first asked for, so that
// opening a file costs nothing more; which tiles have findings is worked
// out, for every tile at once, only when first asked for too (the Problems
// switch). A tile's findings depend on its own record alone, so after an
// edit only the changed tiles are checked again; the files beside are read
// again when a file is opened or read again.
class TTileProblems : public QObject
{
    Q_OBJECT

public:
    TTileProblems(TTileDocument &Document, QObject *Parent);
    ~TTileProblems() override;

    // The findings of Tile of Kind, from its record as it is now.
    std::vector<TFinding> Of(TTileKind Kind, int Tile);
    // Whether Tile of Kind has any; the first question checks every tile.
    bool Has(TTileKind Kind, int Tile);
    // What the user should know of the files beside: those not found or
    // not read whole, whose rules did not run. Empty when all were read.
    QString Unchecked();

    // The first finding, "error animation-without-entry: has the Animation
    // flag, ...", with the count of the others after the rule's name
    // ("(+2 more)"); empty for none.
    static QString Line(const std::vector<TFinding> &Findings);
    // Every finding, one a line.
    static QString Text(const std::vector<TFinding> &Findings);

signals:
    // The findings of Tiles of Kind may have changed (empty: of any tile).
    void Changed(TTileKind Kind, const std::vector<int> &Tiles);

private:
    // The check of the document's store, made when first needed; none
    // without a store.
    TTileCheck *Check();
    void Forget();
    void FollowLoad();
    void FollowTiles(TTileKind Kind, const std::vector<int> &Tiles);
    void Recheck(TTileKind Kind, int Tile);

    TTileDocument &FDocument;
    // The store the check was made for: another one, even before this
    // object heard of the load, is never read through the old check.
    const TTileData *FCheckedStore = nullptr;
    std::unique_ptr<TCheckFiles> FFiles;
    std::unique_ptr<TTileCheck> FCheck;
    // Per tile, items and land: 1 when it has findings. Empty until asked.
    std::array<std::vector<unsigned char>, 2> FHas;
    std::vector<TFinding> FScratch;
};
