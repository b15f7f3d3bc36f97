// skyrift.exe is a windowed program and gets no console of its own: started from Explorer its
// standard error goes nowhere. Started from a command prompt it writes into that prompt's
// console; with its standard error redirected, into the redirection. Every line also goes to
// the debugger's output, where a debugger or a viewer of that output shows it.
#include "platform/Report.h"

#include <io.h>

#include <cstdio>

#include "platform/win32/Utf16.h"
#include "platform/win32/Win32.h"

namespace skyrift::platform {
namespace {

bool Usable(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Once, before the first line: the parent's console, if it has one and no redirection was
// given. True when standard error now leads somewhere.
bool FindAConsole() {
  if (Usable(STD_ERROR_HANDLE)) return true;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  if (!Usable(STD_OUTPUT_HANDLE)) (void)std::freopen("CONOUT$", "w", stdout);
  return std::freopen("CONOUT$", "w", stderr) != nullptr;
}

bool ConsoleFound() {
  static const bool found = FindAConsole();
  return found;
}

// A console is given UTF-16, which it shows whatever its code page (a name outside the system's
// code page included) and leaves that code page, the player's, as it was; a redirection gets
// the UTF-8 bytes.
void Write(FILE* stream, const std::string& text) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    const std::wstring wide = Utf16(text);
    DWORD written = 0;
    std::fflush(stream);
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  std::fputs(text.c_str(), stream);
  std::fflush(stream);
}

}  // namespace

void ReportLine(const std::string& line) {
  const bool toStandardError = ConsoleFound();
  if (toStandardError) Write(stderr, line + "\n");
  OutputDebugStringW(Utf16(line + "\n").c_str());
}

// Started from Explorer there is nowhere to print, and the text is lost as a console program's
// would be in a closed window.
void PrintAnswer(const std::string& text) {
  (void)ConsoleFound();
  Write(stdout, text);
}

// Opened from Explorer's view of a zip, only the program is copied out to be run.
void ReportGameFilesMissing() {
  const char* text =
      "Skyrift's files are missing: extract the whole zip, then start skyrift.exe from the "
      "extracted folder";
  ReportLine(text);
  MessageBoxA(nullptr, text, "Skyrift", MB_OK | MB_ICONERROR);
}

}  // namespace skyrift::platform
