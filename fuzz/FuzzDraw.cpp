#include "fuzz/FuzzDraw.h"

#include "art/ArtSource.h"
#include "fuzz/FuzzScratch.h"

using FuzzScratch::Expect;

void DrawAndCheck(TArtSource &Source, std::int32_t Entry, QImage &Target, bool Land, bool Inside)
{
    const QImage before = Target;
    const QPoint untouched(-7, -7);
    QPoint size = untouched;
    if (Land)
        Source.DrawLandArt(Entry, Target, size);
    else
        Source.DrawArt(Entry, Target, size);
    if (!Inside) {
        Expect(size == untouched && Target == before, "a number the source cannot hold changed the target");
        return;
    }
    Expect(size != untouched, "a drawn entry left Size alone");
    Expect(!Target.isNull() && Target.format() == QImage::Format_RGB555, "a drawn target is not 15-bit");
    if (size != QPoint(0, 0))
        Expect(Target.size() == QSize(size.x(), size.y()), "Size differs from the target's size");
}
