#include "platform/StreamInput.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/SharedReadFile.h"
#include "platform/win/FileHandle.h"
#include "platform/win/WideText.h"

namespace StreamInput {

namespace {

// Reads from a pipe or a console as it comes; a pipe whose writer has gone
// has ended. A failed read says why, after the name of what was read when
// it has one (standard input has none; the caller puts its own words in
// front).
std::size_t ReadSomeOf(HANDLE handle, unsigned char *buffer, std::size_t length, const std::string &name)
{
    DWORD n = 0;
    if (::ReadFile(handle, buffer, FileHandle::Piece(length), &n, nullptr))
        return n;
    const DWORD failure = ::GetLastError();
    if (failure == ERROR_BROKEN_PIPE || failure == ERROR_HANDLE_EOF)
        return 0;
    throw Error((name.empty() ? std::string() : FileSystem::NativeSeparators(name) + ": ")
                + FileHandle::ReasonFor(failure));
}

std::vector<unsigned char> ReadHandle(HANDLE handle, std::size_t limit, const std::string &name, const Watch &watch)
{
    return ReadToEnd(
        [&](unsigned char *buffer, std::size_t length) { return ReadSomeOf(handle, buffer, length, name); }, limit,
        watch);
}

} // namespace

std::vector<unsigned char> ReadAll(const std::string &path, std::size_t limit, const Watch &watch)
{
    const HANDLE handle = ::CreateFileW(WideText::FromUtf8(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    // A file on disk, or one that does not open at all, goes the regular way
    // and gets its usual message.
    if (handle == INVALID_HANDLE_VALUE)
        return Watched(ReadWholeFile(path), watch);
    if (::GetFileType(handle) == FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        return Watched(ReadWholeFile(path), watch);
    }
    try {
        std::vector<unsigned char> bytes = ReadHandle(handle, limit, path, watch);
        ::CloseHandle(handle);
        return bytes;
    } catch (...) {
        ::CloseHandle(handle);
        throw;
    }
}

std::vector<unsigned char> ReadStandardInput(std::size_t limit, const Watch &watch)
{
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE)
        return {};
    return ReadHandle(input, limit, {}, watch);
}

} // namespace StreamInput
