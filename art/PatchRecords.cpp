#include "art/PatchRecords.h"

#include "platform/SharedReadFile.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int CountSize = 4;
constexpr int RecordSize = 20;
constexpr int RecordsPerRead = 4096;

std::int32_t Long(const unsigned char *Bytes)
{
    return qFromLittleEndian<std::int32_t>(Bytes);
}

} // namespace

TPatchRecords::TPatchRecords(const SharedReadFile &File)
    : FFile(File)
{
    std::array<unsigned char, CountSize> count{};
    FDeclaredCount = File.ReadAt(0, count.data(), count.size()) == count.size() ? Long(count.data()) : 0;
}

void TPatchRecords::ForEach(const std::function<void(const TPatchEntry &)> &Take) const
{
    std::vector<unsigned char> chunk(std::size_t(RecordSize) * RecordsPerRead);
    std::int64_t remaining = FDeclaredCount;
    std::int64_t position = CountSize;
    TPatchEntry entry;
    while (remaining > 0) {
        const std::int64_t wanted = std::min<std::int64_t>(remaining, RecordsPerRead);
        const std::size_t got = FFile.ReadAt(position, chunk.data(), std::size_t(wanted) * RecordSize);
        const std::size_t records = got / RecordSize;
        for (std::size_t k = 0; k < records; ++k) {
            const unsigned char *record = &chunk[k * RecordSize];
            entry.FileId = Long(record);
            entry.Block = Long(record + 4);
            entry.Offset = Long(record + 8);
            entry.Length = Long(record + 12);
            entry.Extra = Long(record + 16);
            Take(entry);
        }
        // The file ends before the records it declares: stop there.
        if (records < std::size_t(wanted))
            return;
        remaining -= wanted;
        position += wanted * RecordSize;
    }
}
