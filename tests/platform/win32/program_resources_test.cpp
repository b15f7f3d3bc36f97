// skyrift.exe as Windows reads it: the version resource Explorer's Details tab shows, the
// embedded application manifest the loader applies, and the functions the loader must find.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/Win32.h"

namespace skyrift::platform {
namespace {

const std::string kProgram = std::string(SKYRIFT_GAME_DIR) + "/skyrift.exe";

TEST(ProgramResources, TheVersionResourceCarriesTheProjectVersionAndNames) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(kProgram.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version resource in " << kProgram;
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(kProgram.c_str(), 0, size, info.data()));
  const auto text = [&](const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
      return std::string();
    return std::string(value);
  };
  EXPECT_EQ(text("ProductVersion"), SKYRIFT_VERSION);
  EXPECT_EQ(text("FileVersion"), SKYRIFT_VERSION);
  EXPECT_EQ(text("ProductName"), "Skyrift");
  EXPECT_EQ(text("OriginalFilename"), "skyrift.exe");
  EXPECT_NE(text("FileDescription").find("Skyrift"), std::string::npos);
  EXPECT_NE(text("LegalCopyright").find("MIT"), std::string::npos);

  // The numeric version, as the file's properties sort it, is the same one.
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  const std::string numeric = std::to_string(HIWORD(fixed->dwProductVersionMS)) + "." +
                              std::to_string(LOWORD(fixed->dwProductVersionMS)) + "." +
                              std::to_string(HIWORD(fixed->dwProductVersionLS));
  EXPECT_EQ(numeric, SKYRIFT_VERSION);
}

TEST(ProgramResources, TheManifestIsEmbeddedWithWhatTheWindowAndFilesRelyOn) {
  const HMODULE program = LoadLibraryExA(kProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr);
  // Resource 1 of type RT_MANIFEST (24): the one the loader reads for a program.
  const HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr) << "no manifest embedded";
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(program, found)));
  const std::string manifest(bytes, SizeofResource(program, found));
  FreeLibrary(program);
  for (const char* expected : {
           "level=\"asInvoker\"",
           "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",
           ">true/pm</dpiAware>",
           ">PerMonitorV2, PerMonitor</dpiAwareness>",
           ">UTF-8</activeCodePage>",
       }) {
    EXPECT_NE(manifest.find(expected), std::string::npos) << expected;
  }
}

// The functions a program imports by name, by DLL (named in lower case), read from its file.
std::map<std::string, std::set<std::string>> Imports(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> file{std::istreambuf_iterator<char>(in), {}};
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(
      file.data() + reinterpret_cast<const IMAGE_DOS_HEADER*>(file.data())->e_lfanew);
  const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
  const auto at = [&](DWORD rva) -> const char* {
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
      const IMAGE_SECTION_HEADER& section = sections[i];
      if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
        return file.data() + (rva - section.VirtualAddress + section.PointerToRawData);
    }
    return nullptr;
  };
  std::map<std::string, std::set<std::string>> imports;
  const DWORD table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (auto* dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(table)); dll && dll->Name;
       ++dll) {
    std::string name = at(dll->Name);
    std::transform(name.begin(), name.end(), name.begin(), ::tolower);
    auto& functions = imports[name];
    for (auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA64*>(at(dll->OriginalFirstThunk));
         thunk && thunk->u1.AddressOfData != 0; ++thunk) {
      if (thunk->u1.Ordinal & IMAGE_ORDINAL_FLAG64) continue;
      const DWORD byName = static_cast<DWORD>(thunk->u1.AddressOfData);
      functions.insert(reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(at(byName))->Name);
    }
  }
  return imports;
}

// Only the DLLs every Windows has, and nothing the loader of an older Windows 10 would refuse:
// the per-window DPI calls arrived with version 1607.
TEST(ProgramResources, TheProgramImportsOnlyWhatEveryWindows10Has) {
  const auto imports = Imports(kProgram);
  ASSERT_TRUE(imports.count("kernel32.dll")) << "the import table was not read";
  const std::set<std::string> everywhere = {"gdi32.dll",  "kernel32.dll", "msacm32.dll",
                                            "msvcrt.dll", "user32.dll",   "winmm.dll"};
  for (const auto& [dll, functions] : imports) {
    EXPECT_TRUE(everywhere.count(dll)) << dll;
    for (const char* late : {"GetDpiForWindow", "AdjustWindowRectExForDpi"})
      EXPECT_FALSE(functions.count(late)) << dll << " " << late;
  }
}

}  // namespace
}  // namespace skyrift::platform
