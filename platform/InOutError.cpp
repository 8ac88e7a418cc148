#include "platform/InOutError.h"

namespace InOutError {

std::string Text(int code, int systemError)
{
    switch (code) {
    case FileNotFound:
        return "File not found";
    case InvalidFilename:
        return "Invalid filename";
    case TooManyOpenFiles:
        return "Too many open files";
    case AccessDenied:
        return "File access denied";
    case DiskFull:
        return "Disk full";
    default:
        return "I/O error " + std::to_string(systemError);
    }
}

} // namespace InOutError
