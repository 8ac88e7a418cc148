#include "platform/FileSystem.h"

#include "platform/Error.h"
#include "platform/win/WideText.h"

#include <windows.h>

namespace FileSystem {

bool FileExists(const std::string &path)
{
    const DWORD attributes = ::GetFileAttributesW(WideText::FromUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The wide-character call, since the C runtime's rename reads its narrow
// paths in the ANSI code page, not as the UTF-8 the platform layer takes.
// Write-through: the rename is on disk when the call returns, as a save's
// data is.
void RenameFile(const std::string &from, const std::string &to)
{
    if (!::MoveFileExW(WideText::FromUtf8(from).c_str(), WideText::FromUtf8(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw Error(SystemErrorText(static_cast<int>(::GetLastError())));
}

std::string SystemErrorText(int errorNumber)
{
    wchar_t *buffer = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                              | FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, static_cast<DWORD>(errorNumber), 0,
                                          reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::string text = WideText::ToUtf8(buffer, length);
    ::LocalFree(buffer);
    // The system's texts end in a full stop and a line end; the error box
    // adds its own full stop, so both go.
    while (!text.empty() && (text.back() == '.' || static_cast<unsigned char>(text.back()) <= ' '))
        text.pop_back();
    if (text.empty())
        return "Unknown error " + std::to_string(errorNumber);
    return text;
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
