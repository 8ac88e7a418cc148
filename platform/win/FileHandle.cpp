#include "platform/win/FileHandle.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/win/WideText.h"

#include <algorithm>

namespace FileHandle {

namespace {

constexpr std::size_t MaxPiece = std::size_t(1) << 30;

} // namespace

std::string ReasonFor(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION ? FileSystem::FileInUseText()
                                            : FileSystem::SystemErrorText(static_cast<int>(error));
}

HANDLE OpenExisting(const std::string &path, DWORD access, DWORD share)
{
    const HANDLE handle = ::CreateFileW(WideText::FromUtf8(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw CannotOpenFileError(path, ReasonFor(::GetLastError()));
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        throw CannotOpenFileError(path, FileSystem::NotRegularFileText());
    }
    return handle;
}

DWORD Piece(std::size_t remaining)
{
    return static_cast<DWORD>(std::min(remaining, MaxPiece));
}

OVERLAPPED At(std::uint64_t offset)
{
    OVERLAPPED at {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

} // namespace FileHandle
