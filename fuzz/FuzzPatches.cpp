// The patch file from arbitrary bytes: LoadPatches, then DrawPatch of every
// patch in the list.

#include "art/unverdata.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzScratch.h"
#include "platform/Error.h"

#include <cstdint>
#include <set>

using FuzzScratch::Expect;

namespace {

bool Refused(TVerdataReader &Reader, std::int32_t Index)
{
    try {
        TPatchEntry patch;
        Reader.GetPatch(Index, patch);
        return false;
    } catch (const Error &) {
        return true;
    }
}

void CheckList(TVerdataReader &Reader)
{
    const std::int32_t count = Reader.PatchCount();
    Expect(count >= 0, "a negative patch count");
    std::set<std::int32_t> blocks;
    for (std::int32_t i = 0; i < count; ++i) {
        TPatchEntry patch;
        Reader.GetPatch(i, patch);
        Expect(patch.FileId == 4, "a patch of another file is in the list");
        Expect(blocks.insert(patch.Block).second, "two patches for one entry");
    }
    Expect(Refused(Reader, -1) && Refused(Reader, count), "GetPatch outside the list");
}

void DrawEvery(TVerdataReader &Reader)
{
    QImage shared;
    for (std::int32_t i = 0; i < Reader.PatchCount(); ++i) {
        TPatchEntry patch;
        Reader.GetPatch(i, patch);
        QImage target;
        QPoint size(0, 0);
        Reader.DrawPatch(patch.Offset, target, size);
        if (size != QPoint(0, 0))
            Expect(target.size() == QSize(size.x(), size.y()), "a patch reported a wrong size");
        Reader.DrawPatch(patch.Offset, shared, size);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    FuzzScratch::Prepare();
    FuzzInput input(Data, Size);
    const QString path = FuzzScratch::Write(QStringLiteral("verdata.mul"), input.Rest());

    TVerdataReader reader(path);
    reader.LoadPatches(); // not open yet: refused, with a message
    Expect(reader.PatchCount() == 0, "patches loaded from a closed reader");
    Expect(reader.Open(), "the patch file did not open");
    reader.LoadPatches();
    reader.Close();
    CheckList(reader);
    const std::int32_t count = reader.PatchCount();
    reader.LoadPatches(); // closed again: the list stays
    Expect(reader.PatchCount() == count, "a refused load changed the list");
    DrawEvery(reader);
    return 0;
}
