// skyrift.exe as Windows reads it: the version resource Explorer's Details tab shows, and the
// embedded application manifest the loader applies.
#include <gtest/gtest.h>

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
           ">PerMonitorV2</dpiAwareness>",
           ">UTF-8</activeCodePage>",
       }) {
    EXPECT_NE(manifest.find(expected), std::string::npos) << expected;
  }
}

}  // namespace
}  // namespace skyrift::platform
