#include "platform/Files.h"

#include "platform/win32/Win32.h"

#include <filesystem>
#include <vector>

namespace skyrift::platform {

std::string ProgramFolder() {
  // Long paths need more than MAX_PATH: grow the buffer until the whole name fits.
  std::vector<wchar_t> name(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return std::string();
    if (length < name.size()) {
      return std::filesystem::path(std::wstring(name.data(), length)).parent_path().string();
    }
    name.resize(name.size() * 2);
  }
}

}  // namespace skyrift::platform
