#include "tests/support/JournalWriter.h"

#include <zlib.h>

namespace JournalWriter {

namespace {

void Put(std::vector<unsigned char> &Out, std::uint64_t Value, int Bytes)
{
    for (int k = 0; k < Bytes; ++k)
        Out.push_back(static_cast<unsigned char>((Value >> (8 * k)) & 0xFF));
}

} // namespace

std::vector<unsigned char> Build(std::uint64_t FileLength, const std::vector<Stretch> &Stretches)
{
    std::vector<unsigned char> out = {'Q', 'V', 'J', 'R', 'N', 'L', '0', '1'};
    Put(out, FileLength, 8);
    Put(out, Stretches.size(), 4);
    for (const Stretch &stretch : Stretches) {
        Put(out, stretch.At, 8);
        Put(out, stretch.New.size(), 4);
        out.insert(out.end(), stretch.Old.begin(), stretch.Old.end());
        out.insert(out.end(), stretch.New.begin(), stretch.New.end());
    }
    Put(out, ::crc32(0L, out.data(), uInt(out.size())), 4);
    return out;
}

} // namespace JournalWriter
