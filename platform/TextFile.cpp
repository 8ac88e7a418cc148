#include "platform/TextFile.h"

#include "platform/Error.h"
#include "platform/InOutError.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The text-file layer's code of an errno value: the code the systems the
// program comes from give for the same failure.
int InOutCode(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return InOutError::FileNotFound;
    case ENAMETOOLONG:
    case ENOTDIR:
    case ELOOP:
    case EINVAL:
        return InOutError::InvalidFilename;
    case EMFILE:
    case ENFILE:
        return InOutError::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: // a directory in the way counts as access denied there
        return InOutError::AccessDenied;
    case ENOSPC:
    case EDQUOT:
        return InOutError::DiskFull;
    default:
        return 0;
    }
}

} // namespace

TextFile::TextFile(const std::string &path)
{
    // O_NONBLOCK keeps a FIFO without a reader from blocking the open for
    // ever (it fails instead); it is cleared at once for the writes.
    do {
        FHandle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    } while (FHandle < 0 && errno == EINTR);
    if (FHandle < 0)
        Fail(errno);
    const int flags = ::fcntl(FHandle, F_GETFL);
    if (flags >= 0)
        ::fcntl(FHandle, F_SETFL, flags & ~O_NONBLOCK);
}

TextFile::~TextFile()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

void TextFile::Write(const std::string &bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(FHandle, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fail(errno);
        // A write that takes nothing without an error means no room is left.
        if (n == 0)
            Fail(ENOSPC);
        done += static_cast<std::size_t>(n);
    }
}

void TextFile::Close()
{
    if (FHandle < 0)
        return;
    const int handle = FHandle;
    FHandle = -1;
    // Some file systems only report a failed write-back at close; EINTR
    // leaves the descriptor closed on Linux, so it is no failure.
    if (::close(handle) != 0 && errno != EINTR)
        Fail(errno);
}

std::string TextFile::ErrorText(int errorNumber)
{
    return InOutError::Text(InOutCode(errorNumber), errorNumber);
}

void TextFile::Fail(int errorNumber)
{
    throw Error(ErrorText(errorNumber));
}
