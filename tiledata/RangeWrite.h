#pragma once

#include <cstddef>
#include <string>
#include <vector>

class ExclusiveWriteFile;

// A stretch of a file: Size bytes from At on.
struct TByteRange
{
    std::size_t At;
    std::size_t Size;
};

// Writes stretches of new bytes over a held file and flushes them, so that
// the file ends either with all of them or, as far as the system lets us,
// with none: when a write or the flush fails, every stretch already written
// gets its old bytes back and is flushed again before the failure is
// reported.
class TRangeWrite
{
public:
    // Old holds the file's bytes before the write (the ones put back), New
    // the bytes to write; both outlive the object.
    TRangeWrite(ExclusiveWriteFile &File, const std::vector<unsigned char> &Old,
                const std::vector<unsigned char> &New);

    // Writes and flushes Ranges. On a failure throws Error
    //   "<Name>: <reason>; nothing was changed"
    // when the old bytes are back, or, when they could not be put back,
    //   "<Name>: <reason>; putting the old bytes back failed too, so the file
    //    may hold part of this save: <Affected>"
    // where Affected names what the ranges hold (the caller's words).
    void Write(const std::vector<TByteRange> &Ranges, const std::string &Name,
               const std::string &Affected);

private:
    bool PutBack(std::size_t WrittenCount, const std::vector<TByteRange> &Ranges);
    std::string Reason() const;

    ExclusiveWriteFile &FFile;
    const std::vector<unsigned char> &FOld;
    const std::vector<unsigned char> &FNew;
};
