// Paths and messages cross the platform interface as UTF-8; the system's wide-character calls
// (GetModuleFileNameW, CreateFileW, OutputDebugStringW...) take UTF-16. Invalid UTF-8 becomes
// U+FFFD rather than being cut short.
#pragma once

#include <string>
#include <string_view>

namespace skyrift::platform {

std::wstring Utf16(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);

}  // namespace skyrift::platform
