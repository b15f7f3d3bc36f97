// The controls file: how its values become the eighteen key bindings, and what the trace says
// about them, for the shipped file and for damaged ones.
#include "game/Controls.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Keys.h"
#include "TempFolder.h"

namespace skyrift::testing {
namespace {

namespace fs = std::filesystem;

std::vector<int> Keys() {
  std::vector<int> keys;
  for (const int* key : kKeyGlobals) keys.push_back(*key);
  return keys;
}

void SetKeys(int value) {
  for (int* key : kKeyGlobals) *key = value;
}

// A fresh working folder per test, with the controls file written as given.
class ControlsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKeys(0);
    SetControlsFile("controls.txt");
  }

  // Byte for byte: Windows' text mode would turn the line breaks inside UTF-16 into other bytes.
  static void Write(const std::string& text) {
    std::ofstream("controls.txt", std::ios::binary) << text;
  }
  static std::vector<std::string> Log() { return FileLines("log.txt"); }

  TempFolder folder_{"skyrift-controls", TempFolder::Enter::Yes};
};

// The ASCII text as Notepad's "Unicode" saves it: UTF-16 behind its byte-order mark.
std::string Utf16(const std::string& ascii, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : ascii) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  return bytes;
}

const std::vector<int> kShipped = {
    kP1Up, kP1Down, kP1Left, kP1Right, kP1Fire, kP1Bomb, kP1BulletTime, kP1Recharge, kP1Menu,
    kP2Up, kP2Down, kP2Left, kP2Right, kP2Fire, kP2Bomb, kP2BulletTime, kP2Recharge, kP2Menu};

TEST_F(ControlsFile, TheShippedFileBindsEveryKeyOnceAndIsDumpedToTheTrace) {
  fs::copy_file(fs::path(SKYRIFT_SOURCE_DIR) / "controls.txt", "controls.txt");
  LoadControls();
  EXPECT_EQ(Keys(), kShipped);
  const std::vector<std::string> expected = {"", "Controls:", "38403739329088679878365687071848281",
                                             ""};
  EXPECT_EQ(Log(), expected);

  // No code is bound to two actions, and none is 0 (unbound).
  std::vector<int> sorted = kShipped;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
  EXPECT_GT(sorted.front(), 0);
}

TEST_F(ControlsFile, TheLayoutOverLinesIsFree) {
  const std::vector<std::string> layouts = {
      "38 40 37 39 32 90 88 67 9 87 83 65 68 70 71 84 82 81",
      "38\n40\n37\n39\n32\n90\n88\n67\n9\n87\n83\n65\n68\n70\n71\n84\n82\n81\n",
      "\t38\t40 \r\n37\n\n\n39 32 90 88 67 9\n87 83 65 68 70 71 84 82 81",
      // Anything after the eighteenth value is ignored, words included.
      "38 40 37 39 32 90 88 67 9 87 83 65 68 70 71 84 82 81 13 14 fifteen",
      // Saved by Notepad: a UTF-8 byte-order mark before the first number.
      "\xEF\xBB\xBF"
      "38 40 37 39 32 90 88 67 9 87 83 65 68 70 71 84 82 81\r\n",
      // Saved as "Unicode", either byte order.
      Utf16("38 40 37 39 32 90 88 67 9\r\n87 83 65 68 70 71 84 82 81\r\n", false),
      Utf16("38 40 37 39 32 90 88 67 9\r\n87 83 65 68 70 71 84 82 81\r\n", true),
  };
  for (const std::string& layout : layouts) {
    SetKeys(0);
    Write(layout);
    LoadControls();
    EXPECT_EQ(Keys(), kShipped) << layout;
    EXPECT_EQ(Log()[2], "38403739329088679878365687071848281") << layout;
    fs::remove("log.txt");
  }
}

TEST_F(ControlsFile, ReadingStopsAtTheFirstValueThatIsNotANumber) {
  struct Case {
    const char* text;
    std::vector<int> keys;
    const char* logged;
  };
  const std::vector<Case> cases = {
      // A word as the seventh value binds keys 1 to 6 only, even with numbers after it.
      {"38 40 37 39 32 90 fire 67 9 87 83 65 68 70 71 84 82 81",
       {38, 40, 37, 39, 32, 90, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       "384037393290000000000000"},
      // A value too large for the key's integer counts as unreadable.
      {"38 40 99999999999 39",
       {38, 40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       "38400000000000000000"},
      // Signs and digits are taken as the standard extraction takes them: "7x" gives 7, then stops.
      {"+38 7x 5", {38, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "3870000000000000000"},
      {"", std::vector<int>(18, 0), "000000000000000000"},
  };
  for (const Case& c : cases) {
    SetKeys(0);
    fs::remove("log.txt");
    Write(c.text);
    ::testing::internal::CaptureStderr();
    LoadControls();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Keys(), c.keys) << c.text;
    const std::vector<std::string> log = Log();
    ASSERT_EQ(log.size(), 4u) << c.text;
    EXPECT_EQ(log[2], c.logged) << c.text;
    // The player is told which value stopped the reading, in one line.
    const auto read = std::find(c.keys.begin(), c.keys.end(), 0) - c.keys.begin();
    EXPECT_NE(said.find(": value " + std::to_string(read + 1) + " is missing"), std::string::npos)
        << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  }
}

TEST_F(ControlsFile, ANumberThatIsNoKeyCodeBindsNothingAndIsNamed) {
  Write("38 40 0 39\n32 256 88\n-1 9 87 83 65 68 70 71 84 82 1000000");
  ::testing::internal::CaptureStderr();
  LoadControls();
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Keys(),
            (std::vector<int>{38, 40, 0, 39, 32, 0, 88, 0, 9, 87, 83, 65, 68, 70, 71, 84, 82, 0}));
  // The trace shows the values as read, refused ones too: the player sees what the game read.
  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "", "Controls:", "38400393225688-1987836568707184821000000", ""}));
  // One line for each, with its place, the action it was meant for and the value.
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 4) << said;
  for (const char* named :
       {"line 1: value 3 (player 1 left) is 0,", "line 2: value 6 (player 1 bomb) is 256,",
        "line 3: value 8 (player 1 recharge) is -1,",
        "line 3: value 18 (player 2 menu) is 1000000,"}) {
    EXPECT_NE(said.find(named), std::string::npos) << named << "\n" << said;
  }

  // The edges of the range are key codes.
  SetKeys(0);
  Write("1 255");
  ::testing::internal::CaptureStderr();
  LoadControls();
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Keys()[0], 1);
  EXPECT_EQ(Keys()[1], 255);
}

TEST_F(ControlsFile, KeysTheFileDoesNotReachKeepTheirValues) {
  SetKeys(5);
  Write("38 40 37");
  LoadControls();
  std::vector<int> expected(18, 5);
  expected[0] = 38;
  expected[1] = 40;
  expected[2] = 37;
  EXPECT_EQ(Keys(), expected);
  EXPECT_EQ(Log()[2], "384037" + std::string(15, '5'));
}

TEST_F(ControlsFile, TheFirstTwoCodesStartTheLoggedLine) {
  Write("38 40");
  LoadControls();
  const std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[2].rfind("3840", 0), 0u) << log[2];
}

// Missing, or something that is not a plain file: a named pipe would block the opening until
// someone wrote to it. Each is traced as missing and named on standard error with its reason.
TEST_F(ControlsFile, AMissingOrUnreadableFileIsReportedAndBindsNothing) {
  struct Case {
    const char* name;
    std::function<void()> make;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"missing", [] {}, "No such file or directory"},
#ifndef _WIN32  // Windows has no named pipes among its files
      {"a named pipe", [] { ASSERT_EQ(mkfifo("controls.txt", 0600), 0); }, "not a regular file"},
#endif
      {"a folder", [] { fs::create_directory("controls.txt"); }, "not a regular file"},
  };
  for (const Case& c : cases) {
    fs::remove_all("controls.txt");
    fs::remove("log.txt");
    c.make();
    ::testing::internal::CaptureStderr();
    LoadControls();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Keys(), std::vector<int>(18, 0)) << c.name;
    const std::vector<std::string> expected = {"Unable to open controls.txt. Is the file missing?",
                                               "", "Controls:", "000000000000000000", ""};
    EXPECT_EQ(Log(), expected) << c.name;
    EXPECT_EQ(said, std::string("Skyrift: controls.txt cannot be used: ") + c.reason +
                        "; no key is bound\n")
        << c.name;
  }
}

// The player's own copy is read first; one that cannot be read or binds no key at all would
// leave the game with no keys for good, so the default's are read instead, said in one line.
TEST_F(ControlsFile, APlayersFileThatBindsNoKeyGivesWayToTheDefault) {
  fs::copy_file(fs::path(SKYRIFT_SOURCE_DIR) / "controls.txt", "default.txt");
  struct Case {
    const char* name;
    std::function<void()> make;
    const char* said;  // after "Skyrift: controls.txt"; empty when the player's file is kept
  };
  const std::vector<Case> cases = {
      {"missing", [] {}, " cannot be used: No such file or directory"},
      {"a folder", [] { fs::create_directory("controls.txt"); },
       " cannot be used: not a regular file"},
      {"empty, as a copy cut short by a full disk leaves it", [] { Write(""); }, " binds no key"},
      {"only values that are no key codes", [] { Write("0 0 0 0 300"); }, " binds no key"},
      {"one key bound: the player's file is kept", [] { Write("0 0 0 0 32"); }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetKeys(0);
    fs::remove_all("controls.txt");
    fs::remove("log.txt");
    c.make();
    SetControlsFile("controls.txt", "default.txt");
    ::testing::internal::CaptureStderr();
    LoadControls();
    const std::string said = ::testing::internal::GetCapturedStderr();
    if (*c.said == '\0') {
      EXPECT_EQ(Keys()[4], 32);
      EXPECT_EQ(said.find("default.txt"), std::string::npos) << said;
      continue;
    }
    EXPECT_EQ(Keys(), kShipped);
    EXPECT_EQ(said, std::string("Skyrift: controls.txt") + c.said +
                        "; the default keys are read from default.txt\n");
    EXPECT_EQ(Log(), (std::vector<std::string>{
                         "", "Controls:", "38403739329088679878365687071848281", ""}));
  }
}

TEST_F(ControlsFile, LinesAreAppendedToTheTrace) {
  std::ofstream("log.txt") << "GameInitialize()\n";
  Write("38 40 37 39 32 90 88 67 9 87 83 65 68 70 71 84 82 81");
  LoadControls();
  const std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log[0], "GameInitialize()");
  EXPECT_EQ(log[2], "Controls:");
}

}  // namespace
}  // namespace skyrift::testing
