// Art index and art file from arbitrary bytes: DrawArt and DrawLandArt of a spread of
// entries (raw, run-length and absent ones, and numbers outside the index),
// both decoders at every offset the index names, and which of those entries
// the widget-free presence check finds a picture for.

#include "art/ArtPresence.h"
#include "art/ReadArtIDX.h"
#include "fuzz/FuzzDraw.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzLayout.h"
#include "fuzz/FuzzScratch.h"
#include "platform/Error.h"
#include "platform/qt/AnsiString.h"
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

// The presence check reads the same two files, with no patch file beside
// them; it finds a picture only where the index names one in the art file.
void CheckPresence(const TArtReader &Reader, const QString &Folder, const std::vector<std::int32_t> &Entries)
{
    const std::unique_ptr<TArtPresence> presence = TArtPresence::In(AnsiString::ToPath(Folder));
    Expect(presence != nullptr, "the presence check found no art beside art.mul and artidx.mul");
    Expect(presence->Names() == "art.mul, artidx.mul", "the presence check read other files");
    Expect(presence->Problem().empty(), "the presence check could not read whole files");
    for (const std::int32_t entry : Entries) {
        if (!presence->Has(entry))
            continue;
        Expect(entry >= 0 && entry < Reader.EntryCount(), "a picture for an entry outside the index");
        Expect(Reader.Entry(entry).Offset != -1 && Reader.Entry(entry).Length != 0,
               "a picture for an entry the index marks empty");
    }
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
    const std::vector<std::int32_t> entries = EntriesToDraw(reader.EntryCount());
    CheckPresence(reader, FuzzScratch::PathOf(QString()), entries);
    QImage shared;
    for (const std::int32_t entry : entries) {
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
