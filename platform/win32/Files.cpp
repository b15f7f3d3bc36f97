#include "platform/Files.h"

#include <vector>

#include "platform/win32/Win32.h"

namespace skyrift::platform {

std::string ProgramFolder() {
  // In the system's code page, as the game opens its files; long paths need a larger buffer.
  std::vector<char> name(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return std::string();
    if (length < name.size()) {
      const std::string path(name.data(), length);
      const size_t slash = path.find_last_of("\\/");
      if (slash == std::string::npos) return std::string();
      // A program at a drive's root keeps the backslash: "C:" alone is a relative path.
      return path.substr(0, slash > 0 && path[slash - 1] == ':' ? slash + 1 : slash);
    }
    name.resize(name.size() * 2);
  }
}

}  // namespace skyrift::platform
