#pragma once

#include "art/PatchEntry.h"

#include <QImage>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class SharedReadFile;
class TArtReader;
class TPatchRecords;

// Reads the patch file: keeps the list of the patches that replace art
// entries and draws the picture of one patch.
//
// The file is open only between Open and Close, which is when the list is
// loaded. Drawing a patch opens the file again by its name, through an art
// reader without an index whose only use is its run-length decoder.
class TVerdataReader
{
public:
    // Does not open the file.
    explicit TVerdataReader(const QString &FileName);
    ~TVerdataReader();

    TVerdataReader(const TVerdataReader &) = delete;
    TVerdataReader &operator=(const TVerdataReader &) = delete;

    // Opens the file (closing it first if it is open); false, without a
    // message, when it cannot be opened.
    bool Open();
    void Close();
    bool Opened() const { return FOpened; }

    // Reads the art patches of the open file into a new list: records of
    // other files are dropped, and of several records for one entry the
    // first is kept. Reading stops at the end of the file, whatever count
    // the file declares. On a closed reader it shows an information box
    // and changes nothing.
    void LoadPatches();

    std::int32_t PatchCount();

    // Copies patch Index; throws Error for an index outside the list.
    void GetPatch(std::int32_t Index, TPatchEntry &Patch);

    // Draws the run-length picture at byte Offset of the patch file.
    void DrawPatch(std::int32_t Offset, QImage &Target, QPoint &Size);

private:
    void ReadPatchRecords(const TPatchRecords &Records);
    void AddRecord();

    QString FFileName;
    bool FOpened = false;
    std::unique_ptr<SharedReadFile> FStream;
    std::vector<TPatchEntry> FPatches;
    int FCurrentPatch = -1; // position in FPatches of the patch last appended or looked up
    TPatchEntry FRecord;
    std::int32_t FDeclaredCount = 0;
    std::int32_t FCount = 0;
    std::unique_ptr<TArtReader> FArtReader;
};
