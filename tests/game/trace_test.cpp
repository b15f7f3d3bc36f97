// The trace file: a log that cannot be written never stops the game, and the player is told so
// once, with the reason, rather than left with an empty log and no word.
#include "game/Trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace skyrift::testing {
namespace {

namespace fs = std::filesystem;

std::string TraceALittle() {
  ::testing::internal::CaptureStderr();
  StartTrace();
  TraceLine("GameInitialize()");
  TraceLine("GameStart()");
  return ::testing::internal::GetCapturedStderr();
}

TEST(Trace, ALogThatCannotBeWrittenIsSaidOnceWithItsReason) {
  const TempFolder folder("skyrift-trace");
  struct Case {
    const char* name;
    fs::path log;
    const char* reason;  // empty: the system's own words, whatever they are
  };
  const std::vector<Case> cases = {
      {"a folder in its place", folder.Path() / "log.txt", "not a regular file"},
#ifndef __EMSCRIPTEN__  // a page's file system takes names of any length
      {"a name too long for the file system", folder.Path() / std::string(300, 'x'), ""},
#endif
  };
  fs::create_directory(folder.Path() / "log.txt");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = c.log.string();
    SetTraceFile(path);
    const std::string said = TraceALittle();
    const std::string told = "Skyrift: cannot write \"" + path + "\": ";
    ASSERT_EQ(said.rfind(told, 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    const std::string reason = said.substr(told.size(), said.find(';') - told.size());
    if (*c.reason != '\0') {
      EXPECT_EQ(reason, c.reason);
    }
    EXPECT_FALSE(reason.empty());
  }

  // Once the log can be written again, it is; a later failure is told again.
  SetTraceFile((folder.Path() / "log.txt").string());
  EXPECT_NE(TraceALittle(), "");
  fs::remove(folder.Path() / "log.txt");
  EXPECT_EQ(TraceALittle(), "");
  EXPECT_EQ(FileLines(folder.Path() / "log.txt"),
            (std::vector<std::string>{"GameInitialize()", "GameStart()"}));
  fs::remove(folder.Path() / "log.txt");
  fs::create_directory(folder.Path() / "log.txt");
  ::testing::internal::CaptureStderr();
  TraceLine("NewGame()");
  EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
  SetTraceFile("log.txt");
}

}  // namespace
}  // namespace skyrift::testing
