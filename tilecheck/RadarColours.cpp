#include "tilecheck/RadarColours.h"

#include "platform/Error.h"
#include "platform/SharedReadFile.h"

#include <algorithm>

TRadarColours::TRadarColours(const std::string &Path)
{
    try {
        const SharedReadFile file(Path);
        std::vector<unsigned char> bytes(std::size_t(std::min<std::int64_t>(file.Size() / 2, MostEntries)) * 2);
        const std::size_t read = file.ReadAt(0, bytes.data(), bytes.size());
        if (read != bytes.size())
            FProblem = Path + ": the file ended at byte " + std::to_string(read) + " while it was read";
        FColours.resize(read / 2);
        for (std::size_t i = 0; i < FColours.size(); ++i)
            FColours[i] = std::uint16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
    } catch (const Error &e) {
        FColours.clear();
        FProblem = e.what();
    }
}

std::uint16_t TRadarColours::Colour(int Entry) const
{
    return Entry >= 0 && Entry < Count() ? FColours[std::size_t(Entry)] : 0;
}
