// The packed container of newer clients from arbitrary bytes: the table
// with its chain of blocks, the choice of the key's halves, and DrawArt and
// DrawLandArt of land and item entries, of numbers outside the names, and
// of whatever the table's entries claim; and which of them the widget-free
// presence check, which reads the same table, finds a picture for.

#include "art/ArtPresence.h"
#include "art/PackedArtReader.h"
#include "fuzz/FuzzDraw.h"
#include "fuzz/FuzzScratch.h"
#include "platform/qt/AnsiString.h"

#include <QImage>

#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

using FuzzScratch::Expect;

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

// The presence check finds the container the reader read, and a picture
// only for names the container has, found in the order the reader found.
void CheckPresence(const TPackedArtReader &Reader, const std::vector<std::int32_t> &Entries)
{
    const std::unique_ptr<TArtPresence> presence = TArtPresence::In(AnsiString::ToPath(FuzzScratch::PathOf(QString())));
    Expect(presence != nullptr, "the presence check found no container");
    Expect(presence->Names() == "artLegacyMUL.uop", "the presence check read other files");
    const bool known = Reader.KeyOrder() != TPackedArtReader::TKeyOrder::Unknown;
    Expect(known || !presence->Problem().empty(), "no art names recognised, and no problem told");
    for (const std::int32_t entry : Entries) {
        if (presence->Has(entry))
            Expect(known && entry >= 0 && entry < TPackedArtReader::EntryCount, "a picture for an entry not named");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    FuzzScratch::Prepare();
    const QString path = FuzzScratch::Write(QStringLiteral("artLegacyMUL.uop"), std::vector<std::uint8_t>(Data, Data + Size));
    TPackedArtReader reader(path, false);
    const std::vector<std::int32_t> entries = EntriesToDraw();
    CheckPresence(reader, entries);
    QImage shared;
    for (const std::int32_t entry : entries) {
        const bool inside = entry >= 0 && entry < TPackedArtReader::EntryCount;
        QImage fresh;
        DrawAndCheck(reader, entry, fresh, false, inside);
        DrawAndCheck(reader, entry, shared, false, inside);
        DrawAndCheck(reader, entry, shared, true, inside);
    }
    return 0;
}
