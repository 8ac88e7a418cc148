#include "platform/TextFile.h"

#include "platform/Error.h"
#include "platform/InOutError.h"
#include "platform/win/FileHandle.h"
#include "platform/win/WideText.h"

namespace {

// The text-file layer's code of a system error code. The codes 2 to 5 are
// the system's own; the kinds of a name the system cannot take count as an
// invalid file name, and both kinds of a full disk as a full disk.
int InOutCode(int errorNumber)
{
    switch (errorNumber) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_ACCESS_DENIED:
        return errorNumber;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return InOutError::InvalidFilename;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return InOutError::DiskFull;
    default:
        return 0;
    }
}

int LastError()
{
    return static_cast<int>(::GetLastError());
}

} // namespace

TextFile::TextFile(const std::string &path)
{
    // Others may read the file while it is open, but not write it.
    const HANDLE handle = ::CreateFileW(WideText::FromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        Fail(LastError());
    FHandle = FileHandle::Kept(handle);
}

TextFile::~TextFile()
{
    if (FHandle != -1)
        ::CloseHandle(FileHandle::Of(FHandle));
}

void TextFile::Write(const std::string &bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        if (!::WriteFile(FileHandle::Of(FHandle), bytes.data() + done, FileHandle::Piece(bytes.size() - done), &n,
                         nullptr))
            Fail(LastError());
        // A write that takes nothing without an error means no room is left.
        if (n == 0)
            Fail(ERROR_HANDLE_DISK_FULL);
        done += n;
    }
}

void TextFile::Close()
{
    if (FHandle == -1)
        return;
    const HANDLE handle = FileHandle::Of(FHandle);
    FHandle = -1;
    if (!::CloseHandle(handle))
        Fail(LastError());
}

std::string TextFile::ErrorText(int errorNumber)
{
    return InOutError::Text(InOutCode(errorNumber), errorNumber);
}

void TextFile::Fail(int errorNumber)
{
    throw Error(ErrorText(errorNumber));
}
