#include "tiledata/RangeWrite.h"

#include "platform/Error.h"
#include "platform/ExclusiveWriteFile.h"
#include "platform/SignalDeferral.h"

TRangeWrite::TRangeWrite(ExclusiveWriteFile &File, const std::vector<unsigned char> &Old,
                         const std::vector<unsigned char> &New)
    : FFile(File)
    , FOld(Old)
    , FNew(New)
{
}

void TRangeWrite::Write(const std::vector<TByteRange> &Ranges, const std::string &Name, const Describe &Holding)
{
    // From the first write until the old bytes are back, a request to stop
    // would leave part of the save behind.
    SignalDeferral deferral;
    std::vector<TByteRange> touched;
    try {
        WriteAll(Ranges, touched);
    } catch (const Error &) {
        const std::string reason = Reason();
        const std::vector<TByteRange> left = PutBack(touched);
        const std::string message
            = left.empty() ? Name + ": " + reason + "; nothing was changed"
                           : Name + ": " + reason
                                 + "; putting the old bytes back failed too, so the file may hold part of this save: "
                                 + Holding(left);
        // A request to stop that arrived meanwhile is acted on as the
        // deferral ends, before any caller could show the message.
        deferral.Failing(message);
        throw Error(message);
    }
}

void TRangeWrite::WriteAll(const std::vector<TByteRange> &Ranges, std::vector<TByteRange> &Touched)
{
    for (const TByteRange &range : Ranges) {
        // A range counts as touched by what reached the file, so that a
        // write failing partway has its part put back too.
        std::size_t written = 0;
        try {
            FFile.WriteAllAt(static_cast<std::int64_t>(range.At), FNew.data() + range.At, range.Size, &written);
        } catch (const Error &) {
            if (written > 0)
                Touched.push_back({range.At, written});
            throw;
        }
        Touched.push_back(range);
    }
    if (!Ranges.empty())
        FFile.Flush();
}

std::vector<TByteRange> TRangeWrite::PutBack(const std::vector<TByteRange> &Touched)
{
    std::vector<TByteRange> left;
    for (const TByteRange &range : Touched) {
        try {
            // Bytes past the old end have nothing to go back to.
            if (range.At + range.Size > FOld.size())
                throw Error("Stream write error");
            FFile.WriteAllAt(static_cast<std::int64_t>(range.At), FOld.data() + range.At, range.Size);
        } catch (const Error &) {
            left.push_back(range);
        }
    }
    if (Touched.empty() || left.size() == Touched.size())
        return left;
    try {
        FFile.Flush();
    } catch (const Error &) {
        // Nothing put back is sure to be on the disk.
        return Touched;
    }
    return left;
}

std::string TRangeWrite::Reason() const
{
    return FFile.FailureReason().empty() ? std::string("Stream write error") : FFile.FailureReason();
}
