#include "tiledata/RangeWrite.h"

#include "platform/Error.h"
#include "platform/ExclusiveWriteFile.h"

#include <algorithm>

TRangeWrite::TRangeWrite(ExclusiveWriteFile &File, const std::vector<unsigned char> &Old,
                         const std::vector<unsigned char> &New)
    : FFile(File)
    , FOld(Old)
    , FNew(New)
{
}

void TRangeWrite::Write(const std::vector<TByteRange> &Ranges, const std::string &Name,
                        const std::string &Affected)
{
    std::size_t written = 0;
    try {
        for (const TByteRange &range : Ranges) {
            // A write that fails partway may already have changed part of
            // its stretch: count it as written before trying.
            ++written;
            FFile.WriteAllAt(static_cast<std::int64_t>(range.At), FNew.data() + range.At, range.Size);
        }
        if (!Ranges.empty())
            FFile.Flush();
    } catch (const Error &) {
        const std::string reason = Reason();
        if (PutBack(written, Ranges))
            throw Error(Name + ": " + reason + "; nothing was changed");
        throw Error(Name + ": " + reason + "; putting the old bytes back failed too, so the file may hold part of this save: "
                    + Affected);
    }
}

bool TRangeWrite::PutBack(std::size_t WrittenCount, const std::vector<TByteRange> &Ranges)
{
    try {
        for (std::size_t k = 0; k < WrittenCount; ++k) {
            const TByteRange &range = Ranges[k];
            // Bytes past the old end have nothing to go back to.
            if (range.At + range.Size > FOld.size())
                return false;
            FFile.WriteAllAt(static_cast<std::int64_t>(range.At), FOld.data() + range.At, range.Size);
        }
        FFile.Flush();
        return true;
    } catch (const Error &) {
        return false;
    }
}

std::string TRangeWrite::Reason() const
{
    return FFile.FailureReason().empty() ? std::string("Stream write error") : FFile.FailureReason();
}
