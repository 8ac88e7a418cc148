#include "platform/Process.h"

#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/win/WideText.h"

#include <vector>
#include <windows.h>

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

} // namespace Process
