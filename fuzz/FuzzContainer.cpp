// The packed container of newer clients from arbitrary bytes: the table
// with its chain of blocks, the choice of the key's halves, and DrawArt and
// DrawLandArt of land and item entries, of numbers outside the names, and
// of whatever the table's entries claim.

#include "art/PackedArtReader.h"
#include "fuzz/FuzzDraw.h"
#include "fuzz/FuzzScratch.h"

#include <QImage>

#include <climits>
#include <cstdint>
#include <vector>

namespace {

// The entries the seeds hold (land from 0, items from 0x4000), the last
// land entry and the last name, and numbers outside the names.
std::vector<std::int32_t> EntriesToDraw()
{
    std::vector<std::int32_t> entries = {-1, INT_MIN, INT_MAX, 0x3FFF, 0x13FFF, 0x14000};
    for (std::int32_t e = 0; e < 12; ++e) {
        entries.push_back(e);
        entries.push_back(0x4000 + e);
    }
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    FuzzScratch::Prepare();
    const QString path = FuzzScratch::Write(QStringLiteral("artLegacyMUL.uop"), std::vector<std::uint8_t>(Data, Data + Size));
    TPackedArtReader reader(path, false);
    QImage shared;
    for (const std::int32_t entry : EntriesToDraw()) {
        const bool inside = entry >= 0 && entry < TPackedArtReader::EntryCount;
        QImage fresh;
        DrawAndCheck(reader, entry, fresh, false, inside);
        DrawAndCheck(reader, entry, shared, false, inside);
        DrawAndCheck(reader, entry, shared, true, inside);
    }
    return 0;
}
