#include "platform/FileSystem.h"

#include <cstring>
#include <sys/stat.h>

namespace FileSystem {

bool FileExists(const std::string &path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::string SystemErrorText(int errorNumber)
{
    return std::strerror(errorNumber);
}

std::string FileInUseText()
{
    return "The file is in use by another process";
}

std::string NotRegularFileText()
{
    return "Not a regular file";
}

} // namespace FileSystem
