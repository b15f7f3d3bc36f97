// Whether a folder holds the game's own files: any one of them (the default controls or a
// sample) marks it as the game's; a folder holding only the program is not.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "engine/GameCallbacks.h"

namespace skyrift {
namespace {

TEST(GameFiles, AnyOneOfTheGamesOwnFilesMarksItsFolder) {
  struct Case {
    const char* file;  // the one file the folder holds beside the program, if any
    bool asFolder;
    BOOL present;
  } cases[] = {
      {nullptr, false, FALSE},        {"readme.txt", false, FALSE},
      {"controls.txt", false, TRUE},  {"massive enemy.wav", false, TRUE},
      {"explosion.wav", true, FALSE},  // a folder by a sample's name is not the sample
  };
  for (const Case& c : cases) {
    const testing::TempFolder folder;
    std::ofstream(folder.Path() / "skyrift.exe") << "MZ";
    if (c.file != nullptr && c.asFolder) std::filesystem::create_directory(folder.Path() / c.file);
    if (c.file != nullptr && !c.asFolder) std::ofstream(folder.Path() / c.file) << "x";
    EXPECT_EQ(GameFilesPresent(folder.Path().string()), c.present)
        << (c.file != nullptr ? c.file : "nothing");
  }
}

}  // namespace
}  // namespace skyrift
