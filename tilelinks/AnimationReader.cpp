#include "tilelinks/AnimationReader.h"

#include "platform/Error.h"
#include "platform/SharedReadFile.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::int64_t MostBytes = std::int64_t(TAnimationReader::MostItems / TAnimationReader::EntriesPerBlock)
                                   * TAnimationReader::BlockSize;

} // namespace

TAnimationReader::TAnimationReader(std::string Path)
    : FPath(std::move(Path))
{
}

void TAnimationReader::Load()
{
    if (FLoaded)
        return;
    FLoaded = true;
    try {
        const SharedReadFile file(FPath);
        FBytes.resize(std::size_t(std::min(file.Size(), MostBytes)));
        const std::size_t read = file.ReadAt(0, FBytes.data(), FBytes.size());
        if (read != FBytes.size())
            FProblem = FPath + ": the file ended at byte " + std::to_string(read) + " while it was read";
        FBytes.resize(read);
    } catch (const Error &e) {
        FBytes.clear();
        FProblem = e.what();
    }
}

bool TAnimationReader::Find(int Item, TAnimation &Out)
{
    // Cleared field by field, so that a caller asking item after item keeps
    // the frames' buffer.
    Out.Frames.clear();
    Out.Unknown = Out.Interval = Out.StartDelay = Out.FrameCount = 0;
    if (Item < 0 || Item >= MostItems)
        return false;
    Load();
    const std::size_t at = std::size_t(Item / EntriesPerBlock) * BlockSize + HeaderSize
                           + std::size_t(Item % EntriesPerBlock) * EntrySize;
    if (at + EntrySize > FBytes.size())
        return false;
    const unsigned char *entry = FBytes.data() + at;
    const int count = entry[FrameSlots + 1];
    if (count == 0)
        return false;
    Out.Unknown = entry[FrameSlots];
    Out.FrameCount = count;
    Out.Interval = entry[FrameSlots + 2];
    Out.StartDelay = entry[FrameSlots + 3];
    // A count above the 64 slots would read the entry's own count, the next
    // entry and beyond as frames: only the slots the entry has are frames.
    const int used = std::min(count, int(FrameSlots));
    Out.Frames.reserve(std::size_t(used));
    for (int i = 0; i < used; ++i)
        Out.Frames.push_back(Item + (entry[i] < 0x80 ? entry[i] : entry[i] - 0x100));
    return true;
}

std::vector<int> TAnimationReader::Frames(int Item)
{
    TAnimation animation;
    Find(Item, animation);
    return animation.Frames;
}

std::vector<int> TAnimationReader::UsersOf(int Frame, int ItemCount)
{
    std::vector<int> users;
    // An offset is a signed byte, so only the items near Frame can name it.
    const int first = std::max(0, Frame - 127);
    const int last = std::min({ItemCount, int(MostItems), Frame + 129});
    TAnimation animation;
    for (int item = first; item < last; ++item) {
        if (Find(item, animation)
            && std::find(animation.Frames.begin(), animation.Frames.end(), Frame) != animation.Frames.end())
            users.push_back(item);
    }
    return users;
}
