#pragma once

#include "art/PatchEntry.h"

#include <cstdint>
#include <functional>

class SharedReadFile;

// The records of the patch file verdata.mul: a signed 32-bit count, then
// that many 20-byte records (file id, block, offset, length, extra, all
// little-endian). Records are handed out as they are read, in chunks, so
// a file of any length costs a chunk of memory; reading stops at the end of
// the file, whatever count it declares. Errors of the system pass on as
// Error.
class TPatchRecords
{
public:
    // Reads the declared count; File must outlive this.
    explicit TPatchRecords(const SharedReadFile &File);

    // The count at the start of the file, 0 when the file is shorter.
    std::int32_t DeclaredCount() const { return FDeclaredCount; }

    // Calls Take with each record in file order, its fields as they are
    // stored (Block not reduced).
    void ForEach(const std::function<void(const TPatchEntry &)> &Take) const;

    // The file id of records that patch the art file.
    static constexpr std::int32_t ArtFileId = 4;

private:
    const SharedReadFile &FFile;
    std::int32_t FDeclaredCount = 0;
};
