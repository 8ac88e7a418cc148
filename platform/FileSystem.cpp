#include "platform/FileSystem.h"

#include "platform/Error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace FileSystem {

bool FileExists(const std::string &path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

void RenameFile(const std::string &from, const std::string &to)
{
    if (std::rename(from.c_str(), to.c_str()) != 0)
        throw Error(SystemErrorText(errno));
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
