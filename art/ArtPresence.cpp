#include "art/ArtPresence.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/SharedReadFile.h"

#include <algorithm>

std::unique_ptr<TArtPresence> TArtPresence::In(const std::string &Folder)
{
    const std::string prefix
        = Folder.empty() || Folder.back() == FileSystem::PathSeparator ? Folder : Folder + FileSystem::PathSeparator;
    if (!FileSystem::FileExists(prefix + "art.mul") || !FileSystem::FileExists(prefix + "artidx.mul"))
        return nullptr;
    auto presence = std::make_unique<TArtPresence>();
    try {
        const SharedReadFile art(prefix + "art.mul");
        const SharedReadFile index(prefix + "artidx.mul");
        std::vector<unsigned char> bytes(std::size_t(std::min<std::int64_t>(index.Size() / 12, 0x14000)) * 12);
        bytes.resize(index.ReadAt(0, bytes.data(), bytes.size()) / 12 * 12);
        presence->FHas.resize(bytes.size() / 12);
        for (std::size_t i = 0; i < presence->FHas.size(); ++i) {
            const unsigned char *b = &bytes[i * 12];
            const std::uint32_t offset = b[0] | b[1] << 8 | b[2] << 16 | std::uint32_t(b[3]) << 24;
            const std::uint32_t length = b[4] | b[5] << 8 | b[6] << 16 | std::uint32_t(b[7]) << 24;
            presence->FHas[i] = offset != 0xFFFFFFFFu && length != 0 && std::int64_t(offset) + length <= art.Size();
        }
    } catch (const Error &e) {
        presence->FProblem = e.what();
    }
    return presence;
}

bool TArtPresence::Has(std::int32_t EntryNumber) const
{
    return EntryNumber >= 0 && std::size_t(EntryNumber) < FHas.size() && FHas[std::size_t(EntryNumber)] != 0;
}
