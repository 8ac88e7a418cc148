#include "platform/win/WideText.h"

#include <climits>
#include <windows.h>

namespace WideText {

std::wstring FromUtf8(const std::string &text)
{
    // The conversion calls count in int; a longer text is no path anyway.
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX))
        return std::wstring();
    const int length = static_cast<int>(text.size());
    const int wide = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (wide <= 0)
        return std::wstring();
    std::wstring result(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, result.data(), wide);
    return result;
}

std::string ToUtf8(const wchar_t *text, std::size_t length)
{
    if (length == 0 || length > static_cast<std::size_t>(INT_MAX))
        return std::string();
    const int wide = static_cast<int>(length);
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string result(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, wide, result.data(), bytes, nullptr, nullptr);
    return result;
}

std::string ToUtf8(const std::wstring &text)
{
    return ToUtf8(text.data(), text.size());
}

} // namespace WideText
