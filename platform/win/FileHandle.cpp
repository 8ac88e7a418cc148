#include "platform/win/FileHandle.h"

#include "platform/Error.h"
#include "platform/FileProbe.h"
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
    const HANDLE handle = OpenUnlessShared(path, access, share);
    if (handle == INVALID_HANDLE_VALUE)
        throw CannotOpenFileError(path, FileSystem::FileInUseText());
    return handle;
}

HANDLE OpenUnlessShared(const std::string &path, DWORD access, DWORD share)
{
    const HANDLE handle = ::CreateFileW(WideText::FromUtf8(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION)
            return INVALID_HANDLE_VALUE;
        throw CannotOpenFileError(path, ReasonFor(error));
    }
    // A failed look at the file says why, not that it is something else.
    const DWORD type = ::GetFileType(handle);
    const DWORD typeError = type == FILE_TYPE_UNKNOWN ? ::GetLastError() : NO_ERROR;
    if (type != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        throw CannotOpenFileError(path, typeError != NO_ERROR ? ReasonFor(typeError) : FileSystem::NotRegularFileText());
    }
    return handle;
}

DWORD Piece(std::size_t remaining)
{
    return static_cast<DWORD>(std::min(remaining, MaxPiece));
}

DWORD ReadPiece(HANDLE handle, const std::string &path, std::uint64_t position, unsigned char *buffer,
                std::size_t length)
{
    OVERLAPPED at = At(position);
    DWORD n = 0;
    // A failure the probe makes has no system code of its own.
    const bool failed = FileProbe::Fails(FileProbe::Step::Read, path, static_cast<std::int64_t>(position))
                            ? (::SetLastError(ERROR_READ_FAULT), true)
                            : !::ReadFile(handle, buffer, Piece(length), &n, &at);
    if (!failed)
        return n;
    // Only the end of the file ends a read early; taking a failed read for
    // the end would hand callers a file cut short.
    const DWORD error = ::GetLastError();
    if (error == ERROR_HANDLE_EOF)
        return 0;
    throw Error(FileSystem::NativeSeparators(path) + ": " + ReasonFor(error));
}

OVERLAPPED At(std::uint64_t offset)
{
    OVERLAPPED at {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

} // namespace FileHandle
