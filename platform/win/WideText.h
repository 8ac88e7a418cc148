#pragma once

#include <string>

// The platform layer takes and gives paths and messages as UTF-8; the
// Windows calls behind it take UTF-16. Going through the wide-character
// calls lets a path hold any character, whatever the ANSI code page is.
namespace WideText {

std::wstring FromUtf8(const std::string &text);
std::string ToUtf8(const wchar_t *text, std::size_t length);
std::string ToUtf8(const std::wstring &text);

} // namespace WideText
