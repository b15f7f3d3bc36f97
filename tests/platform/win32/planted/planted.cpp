// A DLL that leaves a mark beside itself when it is loaded: planted beside skyrift.exe under the
// name of a system DLL, it tells whether the program loaded it in the system's place.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(self, path, MAX_PATH);
  const std::wstring mark = std::wstring(path) + L".loaded";
  const HANDLE file =
      CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return TRUE;
}
