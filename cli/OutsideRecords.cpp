#include "cli/OutsideRecords.h"

#include "tiletext/TextAppend.h"
#include "tiledata/TileLayout.h"

#include <algorithm>

namespace OutsideRecords {

std::vector<ByteRange> Differences(const std::vector<unsigned char> &A, const std::vector<unsigned char> &B,
                                   const TTileLayout &Layout)
{
    std::vector<ByteRange> ranges;
    const std::size_t length = std::max(A.size(), B.size());
    for (std::size_t at = 0; at < length; ++at) {
        const bool differs = at >= A.size() || at >= B.size() || A[at] != B[at];
        if (!differs || Layout.IsRecordByte(std::int64_t(at)))
            continue;
        if (!ranges.empty() && ranges.back().Last + 1 == at)
            ranges.back().Last = at;
        else
            ranges.push_back({at, at});
    }
    return ranges;
}

std::string RangeLine(const ByteRange &Range)
{
    std::string line = Range.First == Range.Last ? "byte " : "bytes ";
    TextAppend::Offset(line, Range.First);
    if (Range.First != Range.Last) {
        line += '-';
        TextAppend::Offset(line, Range.Last);
    }
    return line + (Range.First == Range.Last ? " differs" : " differ") + " outside the records\n";
}

} // namespace OutsideRecords
