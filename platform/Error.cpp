#include "platform/Error.h"

#include "platform/FileSystem.h"

Error::Error(const std::string &message)
    : std::runtime_error(message)
{
}

Error CannotOpenFileError(const std::string &path, const std::string &reason)
{
    return Error("Cannot open file \"" + FileSystem::NativeSeparators(path) + "\". " + reason);
}
