// skyrift.exe started as a player may start it: alone, as Explorer starts it from inside a zip
// (it copies out only the program), and from a folder where DLLs were dropped beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "TempFolder.h"
#include "platform/Files.h"
#include "platform/win32/Win32.h"

#include <psapi.h>

namespace skyrift::platform {
namespace {

// A top-level window of the given process and class, or null.
::HWND WindowOf(DWORD processId, const char* className) {
  struct Search {
    DWORD processId;
    const char* className;
    ::HWND found;
  } search{processId, className, nullptr};
  EnumWindows(
      [](::HWND window, LPARAM context) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (owner != search.processId || std::string(name) != search.className) return TRUE;
        search.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The program started in its own folder, and ended by the test.
class Started {
 public:
  explicit Started(const std::filesystem::path& program) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + program.wstring() + L"\"";
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              program.parent_path().wstring().c_str(), &startup, &process_);
  }
  ~Started() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0)
      TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  bool Running() const { return started_; }
  // Where it loaded each DLL it has loaded so far, by name in lower case.
  std::map<std::string, std::filesystem::path> Modules() const {
    std::map<std::string, std::filesystem::path> modules;
    HMODULE loaded[512];
    DWORD bytes = 0;
    if (!K32EnumProcessModules(process_.hProcess, loaded, sizeof loaded, &bytes)) return modules;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
      wchar_t path[MAX_PATH] = {};
      if (K32GetModuleFileNameExW(process_.hProcess, loaded[i], path, MAX_PATH) == 0) continue;
      const std::filesystem::path file(path);
      std::string name = file.filename().string();
      for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      modules[name] = file;
    }
    return modules;
  }
  // Its window of that class, once it has one; null if none comes within half a minute.
  ::HWND WaitForWindow(const char* className) const {
    for (int wait = 0; wait < 300; ++wait) {
      if (::HWND window = WindowOf(process_.dwProcessId, className)) return window;
      if (WaitForSingleObject(process_.hProcess, 100) == WAIT_OBJECT_0) break;
    }
    return nullptr;
  }
  // Its exit code, or -1 when it has not ended within half a minute.
  int ExitCode() const {
    if (WaitForSingleObject(process_.hProcess, 30000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
  }

 private:
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

TEST(ProgramStart, AloneInAFolderTheProgramSaysItsFilesAreMissingAndExitsWithOne) {
  const testing::TempFolder folder("skyrift-alone");
  const std::filesystem::path program = folder.Path() / "skyrift.exe";
  std::filesystem::copy_file(Utf8Path(SKYRIFT_GAME_DIR "/skyrift.exe"), program);
  const Started game(program);
  ASSERT_TRUE(game.Running());
  const ::HWND box = game.WaitForWindow("#32770");
  ASSERT_NE(box, nullptr) << "no message box";
  // The text of a message box is its control 0xFFFF, there once the box is made.
  wchar_t text[512] = {};
  for (int wait = 0; wait < 300 && GetDlgItemTextW(box, 0xFFFF, text, 512) == 0; ++wait) Sleep(100);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_STREQ(text,
               L"Skyrift's files are missing: extract the whole zip, then start skyrift.exe from "
               L"the extracted folder");
  EXPECT_EQ(game.ExitCode(), 1);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    ++files;
  EXPECT_EQ(files, 1) << "only the program: no log, no controls";
}

// Wine, like Windows with DLLs it does not keep in System32 alone, takes a DLL from the program's
// folder when told to prefer one found there: the game must load the system's all the same.
TEST(ProgramStart, DllsDroppedBesideTheProgramUnderSystemNamesAreNeverLoaded) {
  const testing::TempFolder folder("skyrift-planted");
  for (const auto& entry : std::filesystem::directory_iterator(Utf8Path(SKYRIFT_GAME_DIR))) {
    if (entry.is_regular_file() && entry.path().filename() != "log.txt")
      std::filesystem::copy_file(entry.path(), folder.Path() / entry.path().filename());
  }
  const std::vector<std::string> names = {"winmm.dll", "msacm32.dll", "avrt.dll", "mark.dll"};
  for (const std::string& name : names)
    std::filesystem::copy_file(Utf8Path(SKYRIFT_PLANTED_DLL), folder.Path() / name);
  // The mark works: loaded by its path, the DLL leaves it.
  FreeLibrary(LoadLibraryW((folder.Path() / "mark.dll").wstring().c_str()));
  ASSERT_TRUE(std::filesystem::exists(folder.Path() / "mark.dll.loaded"));

  SetEnvironmentVariableW(L"WINEDLLOVERRIDES", L"winmm,msacm32,avrt=n,b");
  const Started game(folder.Path() / "skyrift.exe");
  SetEnvironmentVariableW(L"WINEDLLOVERRIDES", nullptr);
  ASSERT_TRUE(game.Running());
  const ::HWND window = game.WaitForWindow("Skyrift");
  ASSERT_NE(window, nullptr) << "the game did not start";
  // The sound's thread asks for avrt.dll as it starts: each is waited for.
  const std::vector<std::string> system = {"winmm.dll", "msacm32.dll", "avrt.dll"};
  auto modules = game.Modules();
  for (int wait = 0; wait < 300; ++wait) {
    modules = game.Modules();
    if (std::all_of(system.begin(), system.end(),
                    [&](const std::string& name) { return modules.count(name) != 0; }))
      break;
    Sleep(100);
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(game.ExitCode(), 0);
  for (const std::string& name : system) {
    ASSERT_TRUE(modules.count(name)) << name << " was never loaded";
    std::error_code unknown;
    EXPECT_FALSE(std::filesystem::equivalent(modules[name].parent_path(), folder.Path(), unknown))
        << name << " loaded from " << modules[name].string();
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / (name + ".loaded"))) << name;
  }
}

}  // namespace
}  // namespace skyrift::platform
