#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <windows.h>

// What the Windows file classes share: their handles are kept in a
// std::intptr_t so that the headers stay free of windows.h, and every read
// and write names its own position.
namespace FileHandle {

// Opens an existing regular file with the given access and share mode,
// never creating it. Throws Error "Cannot open file ..." with the system's
// text, or with the in-use text when the share mode of a handle open
// elsewhere, in any process, forbids ours. Devices, pipes and consoles
// reachable through a name are refused.
HANDLE OpenExisting(const std::string &path, DWORD access, DWORD share);

// The same, except that a handle open elsewhere whose share mode forbids
// ours gives INVALID_HANDLE_VALUE rather than an error.
HANDLE OpenUnlessShared(const std::string &path, DWORD access, DWORD share);

// The text of a system error code; a sharing violation reads as the
// in-use text.
std::string ReasonFor(DWORD error);

inline HANDLE Of(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

inline std::intptr_t Kept(HANDLE handle)
{
    return reinterpret_cast<std::intptr_t>(handle);
}

// ReadFile and WriteFile count in DWORD: the part of a transfer of the
// given remaining length that one call takes.
DWORD Piece(std::size_t remaining);

// The position argument of a ReadFile or WriteFile at a file offset.
OVERLAPPED At(std::uint64_t offset);

// Reads up to length bytes of the file at path from position on, the step
// reported to the file seam first; returns how many, 0 at the end of the
// file. Throws Error "<path>: <system's reason>" when the read fails.
DWORD ReadPiece(HANDLE handle, const std::string &path, std::uint64_t position, unsigned char *buffer,
                std::size_t length);

} // namespace FileHandle
