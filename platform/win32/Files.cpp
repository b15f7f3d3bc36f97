#include "platform/Files.h"

#include <vector>

#include "platform/FilePlaces.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32.h"

namespace skyrift::platform {
namespace {

// The system's words for an error code, on one line.
std::string Reason(DWORD error) {
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (text == nullptr) return "error " + std::to_string(error);
  std::string reason = Utf8(text);
  LocalFree(text);
  while (!reason.empty() &&
         (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) {
    reason.pop_back();
  }
  return reason;
}

// The placement questions answered by the wide-character Win32 calls.
class Win32FileSystem : public FileSystem {
 public:
  std::string Variable(const char* name) const override {
    const std::wstring wideName = Utf16(name);
    const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(wideName.c_str(), value.data(), size));
    return Utf8(value);
  }
  bool IsFile(const std::string& path) const override {
    const DWORD attributes = GetFileAttributesW(Utf16(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool CanWriteIn(const std::string& folder) const override { return WriteProblem(folder) == 0; }
  std::string MakeFolder(const std::string& folder) override {
    DWORD failure = 0;
    for (size_t at = folder.find_first_of("\\/");; at = folder.find_first_of("\\/", at + 1)) {
      const std::string level = folder.substr(0, at);
      // A drive ("C:") or a share's root cannot be made; only the last level's failure counts.
      if (!level.empty() && level.back() != ':' &&
          !CreateDirectoryW(Utf16(level).c_str(), nullptr)) {
        failure = GetLastError() == ERROR_ALREADY_EXISTS ? 0 : GetLastError();
      }
      if (at == std::string::npos) break;
    }
    const DWORD attributes = GetFileAttributesW(Utf16(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
      return Reason(failure != 0 ? failure : GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return "not a folder";
    const DWORD problem = WriteProblem(folder);
    return problem == 0 ? "" : Reason(problem);
  }
  std::string CopyAsNew(const std::string& from, const std::string& to) override {
    const std::wstring target = Utf16(to);
    if (!CopyFileW(Utf16(from).c_str(), target.c_str(), TRUE)) return Reason(GetLastError());
    // The default may be read-only; the player's copy is theirs to edit.
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    return {};
  }

 private:
  // Whether a file can be made there, found by making one that vanishes when closed: folder
  // permissions on Windows are lists that only an attempt reads right.
  static DWORD WriteProblem(const std::string& folder) {
    const std::wstring probe = Utf16(folder) + L"\\skyrift-write-check-" +
                               std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    CloseHandle(file);
    return 0;
  }
};

}  // namespace

std::string ProgramFolder() {
  // Long paths need a larger buffer than MAX_PATH.
  std::vector<wchar_t> name(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return std::string();
    if (length < name.size()) {
      const std::string path = Utf8(std::wstring(name.data(), length));
      const size_t slash = path.find_last_of("\\/");
      if (slash == std::string::npos) return std::string();
      // A program at a drive's root keeps the backslash: "C:" alone is a relative path.
      return path.substr(0, slash > 0 && path[slash - 1] == ':' ? slash + 1 : slash);
    }
    name.resize(name.size() * 2);
  }
}

FilePlaces PlaceGameFiles(const std::string& programFolder) {
  Win32FileSystem system;
  return PlaceFiles(programFolder, System::Windows, system);
}

}  // namespace skyrift::platform
