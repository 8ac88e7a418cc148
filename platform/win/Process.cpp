#include "platform/Process.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/win/WideText.h"

#include <cstdio>
#include <cwchar>
#include <fcntl.h>
#include <io.h>
#include <vector>
#include <windows.h>
#include <shellapi.h>

namespace Process {

std::string ExecutablePath()
{
    // GetModuleFileNameW fills the whole buffer when the path does not fit,
    // so grow it until the path fits with room to spare.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0)
            throw Error("Cannot determine the program's path. "
                        + FileSystem::SystemErrorText(static_cast<int>(::GetLastError())));
        if (length < size)
            return WideText::ToUtf8(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<std::string> Arguments(int argc, char **argv)
{
    int count = 0;
    LPWSTR *wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(WideText::ToUtf8(wide[i], std::wcslen(wide[i])));
    ::LocalFree(wide);
    return arguments;
}

void UseBinaryStandardStreams()
{
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

void KeepRunningOnClosedPipe()
{
    // A closed pipe fails the write here already.
}

} // namespace Process
