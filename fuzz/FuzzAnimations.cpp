// animdata.mul from arbitrary bytes: every item the file holds an entry for,
// and a few past them, is asked for its animation, and the items near its
// first frame for the animations that use that frame.

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzScratch.h"
#include "tilelinks/LinkFiles.h"

#include <algorithm>
#include <cstdint>

using FuzzScratch::Expect;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    FuzzScratch::Prepare();
    FuzzInput input(Data, Size);
    const int itemCount = input.Word();
    const std::vector<std::uint8_t> file = input.Rest();
    FuzzScratch::Write(QStringLiteral("animdata.mul"), file);

    TLinkFiles files(FuzzScratch::PathOf(QString()).toStdString());
    TAnimationReader &reader = files.Animations();
    const int items = int(file.size() / TAnimationReader::BlockSize + 1) * TAnimationReader::EntriesPerBlock;
    TAnimation animation;
    for (int item = -1; item <= items; ++item) {
        if (!reader.Find(item, animation)) {
            Expect(animation.Frames.empty() && animation.FrameCount == 0, "no entry left frames behind");
            continue;
        }
        const std::size_t end = std::size_t(item / 8) * 548 + 4 + std::size_t(item % 8) * 68 + 68;
        Expect(end <= file.size(), "an entry beyond the file");
        Expect(animation.FrameCount > 0, "an entry with no frames");
        Expect(animation.Frames.size() == std::size_t(std::min(animation.FrameCount, 64)),
               "other than the entry's frames, or more than its 64 slots");
        for (const int frame : animation.Frames)
            Expect(frame >= item - 128 && frame <= item + 127, "a frame beyond a signed byte's reach");
        const int first = animation.Frames.front();
        if (first >= 0 && first < itemCount && item < itemCount) {
            const std::vector<int> users = reader.UsersOf(first, itemCount);
            Expect(std::find(users.begin(), users.end(), item) != users.end(), "a frame forgets its user");
        }
    }
    return 0;
}
