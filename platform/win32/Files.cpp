#include "platform/Files.h"

#include <algorithm>
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

// A file on a disk opened through the wide-character call, or INVALID_HANDLE_VALUE with the
// reason. A folder is refused before the opening; a device ("CON", a pipe under \\.\pipe)
// opens like a file and is refused once open.
HANDLE OpenRegular(const std::string& path, DWORD access, DWORD disposition, std::string& problem) {
  const std::wstring name = Utf16(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    problem = "not a regular file";
    return INVALID_HANDLE_VALUE;
  }
  // Shared, so that the player may read the log while the game writes it.
  const HANDLE file =
      CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    problem = Reason(GetLastError());
  } else if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    problem = "not a regular file";
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

std::string WriteAll(HANDLE file, const char* bytes, size_t size) {
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1 << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes, chunk, &written, nullptr)) return Reason(GetLastError());
    if (written == 0) return "nothing could be written";
    bytes += written;
    size -= written;
  }
  return {};
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
  bool Exists(const std::string& path) const override {
    return GetFileAttributesW(Utf16(path).c_str()) != INVALID_FILE_ATTRIBUTES;
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
    std::string problem;
    const HANDLE in = OpenRegular(from, GENERIC_READ, OPEN_EXISTING, problem);
    if (in == INVALID_HANDLE_VALUE) return problem;
    // Written under a name of its own and moved into place only when whole, where CopyFileW
    // would write the target in place: a copy cut short (a full disk) must not stay where the
    // next start takes it for the player's own. Made afresh, so not read-only as the default
    // may be.
    const std::wstring target = Utf16(to);
    const std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const HANDLE out = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
      CloseHandle(in);
      return Reason(GetLastError());
    }
    char buffer[4096];
    for (DWORD got = 0; problem.empty();) {
      if (!ReadFile(in, buffer, sizeof buffer, &got, nullptr)) {
        problem = Reason(GetLastError());
      } else if (got == 0) {
        break;
      } else {
        problem = WriteAll(out, buffer, got);
      }
    }
    CloseHandle(in);
    if (problem.empty() && !FlushFileBuffers(out)) problem = Reason(GetLastError());
    CloseHandle(out);
    // Never over a file: another start of the game may have made the player's copy meanwhile.
    if (problem.empty() &&
        !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
      const DWORD error = GetLastError();
      if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) problem = Reason(error);
      DeleteFileW(temporary.c_str());
    } else if (!problem.empty()) {
      DeleteFileW(temporary.c_str());
    }
    return problem;
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

std::string AppendText(const std::string& path, std::string_view text, bool afresh) {
  std::string problem;
  const HANDLE file = OpenRegular(path, GENERIC_WRITE, OPEN_ALWAYS, problem);
  if (file == INVALID_HANDLE_VALUE) return problem;
  if (afresh ? !SetEndOfFile(file) : !SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_END)) {
    problem = Reason(GetLastError());
  }
  // The line ends Notepad has always expected.
  std::string lines;
  for (const char c : text) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  if (problem.empty()) problem = WriteAll(file, lines.data(), lines.size());
  CloseHandle(file);
  return problem;
}

FileSystem& SystemFiles() {
  static Win32FileSystem system;
  return system;
}

FilePlaces PlaceGameFiles(const std::string& programFolder) {
  return PlaceFiles(programFolder, System::Windows, SystemFiles());
}

}  // namespace skyrift::platform
