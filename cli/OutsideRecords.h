#pragma once

#include <cstddef>
#include <string>
#include <vector>

class TTileLayout;

// The bytes of a tile data file that are not part of any record of its
// layout: the group headers of both sections and the tail.
namespace OutsideRecords {

struct ByteRange
{
    std::size_t First; // both ends included
    std::size_t Last;
};

// The stretches of bytes outside the records that differ between two files.
// Where one file is longer, its extra bytes differ too.
std::vector<ByteRange> Differences(const std::vector<unsigned char> &A, const std::vector<unsigned char> &B,
                                   const TTileLayout &Layout);

// "bytes 0x68800-0x68803 differ outside the records", or "byte ... differs".
std::string RangeLine(const ByteRange &Range);

} // namespace OutsideRecords
