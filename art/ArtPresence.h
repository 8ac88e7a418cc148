#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Which art entries hold a picture, told from the index alone.
class TArtPresence
{
public:
    // The art of Folder: art.mul with artidx.mul; null when not there.
    static std::unique_ptr<TArtPresence> In(const std::string &Folder);

    bool Has(std::int32_t EntryNumber) const;
    std::string Names() const { return "art.mul, artidx.mul"; }
    const std::string &Problem() const { return FProblem; }

private:
    std::vector<unsigned char> FHas;
    std::string FProblem;
};
