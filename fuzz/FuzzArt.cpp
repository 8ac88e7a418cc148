// Art index and art file from arbitrary bytes: DrawArt and DrawLandArt of a spread of
// entries (raw, run-length and absent ones, and numbers outside the index),
// and both decoders at every offset the index names.

#include "art/ReadArtIDX.h"
#include "fuzz/FuzzDraw.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzLayout.h"
#include "fuzz/FuzzScratch.h"
#include "platform/Error.h"
#include "tests/support/ArtWriter.h"

#include <QDir>

#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

using FuzzScratch::Expect;

namespace {

// Absent entries look for patches in the process-wide patch list, which
// the first art reader with patches enabled loads once. Make that list
// here, from a fixed patch file, so that every input sees the same one.
void CreateFixedPatchList()
{
    static bool created = false;
    if (created)
        return;
    created = true;
    const QString folder = FuzzScratch::PathOf(QStringLiteral("patches"));
    Expect(QDir().mkpath(folder), "cannot make the patch folder");
    ArtWriter writer;
    for (int entry = 0; entry < FuzzLayout::FixedPatchCount; ++entry) {
        const ArtWriter::Pixels picture(std::size_t(3 * (entry + 1)), std::uint16_t(0x1234 + entry));
        writer.AddPatch(ArtWriter::ArtFileId, entry,
                        ArtWriter::RunLengthEntry(ArtWriter::RunsOf(3, entry + 1, picture, 0x7FFF)));
    }
    writer.WriteTo(folder);
    const TArtReader first(folder + QStringLiteral("/art.mul"), folder + QStringLiteral("/artidx.mul"), true);
}

std::vector<std::int32_t> EntriesToDraw(int Count)
{
    std::vector<std::int32_t> entries = {-1, INT_MIN, INT_MAX, Count - 1, Count, Count + 1, 0x4000};
    const int step = Count > 48 ? Count / 48 : 1;
    for (int e = 0; e < Count; e += step)
        entries.push_back(e);
    return entries;
}

void DrawEntry(TArtReader &Reader, std::int32_t Entry, QImage &Target, bool Land = false)
{
    DrawAndCheck(Reader, Entry, Target, Land, Entry >= 0 && Entry < Reader.EntryCount());
}

void DecodeAt(TArtReader &Reader, std::int32_t Offset)
{
    QImage target;
    QPoint size(0, 0);
    Reader.DrawRunLengthArt(Offset, target, size);
    if (size != QPoint(0, 0))
        Expect(target.size() == QSize(size.x(), size.y()), "a run-length decode reported a wrong size");
    Reader.DrawRawArt(Offset, target);
    Expect(target.size() == QSize(44, 44), "a raw decode is not 44 x 44");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    FuzzScratch::Prepare();
    CreateFixedPatchList();
    FuzzInput input(Data, Size);
    const QString index = FuzzScratch::Write(QStringLiteral("artidx.mul"), input.Bytes(input.Word()));
    const QString art = FuzzScratch::Write(QStringLiteral("art.mul"), input.Rest());

    TArtReader reader(art, index, true);
    QImage shared;
    for (const std::int32_t entry : EntriesToDraw(reader.EntryCount())) {
        QImage fresh;
        DrawEntry(reader, entry, fresh);
        DrawEntry(reader, entry, shared);
        DrawEntry(reader, entry, shared, true);
    }
    QImage otherFormat(2, 2, QImage::Format_ARGB32);
    if (reader.EntryCount() > 0)
        DrawEntry(reader, 0, otherFormat);
    for (int e = 0; e < reader.EntryCount() && e < 16; ++e)
        DecodeAt(reader, reader.Entry(e).Offset);
    return 0;
}
