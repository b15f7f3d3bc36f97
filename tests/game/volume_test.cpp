// The player's volume: its keys, its bar over the shown picture, and settings.txt, which keeps
// it for the next start and is read with suspicion.
#include <gtest/gtest.h>

#include <fstream>

#include "Harness.h"
#include "Keys.h"
#include "game/Pause.h"
#include "game/Presenting.h"
#include "game/Settings.h"
#include "game/Stages.h"
#include "platform/Mixer.h"
#include "world/Globals.h"

namespace skyrift::testing {
namespace {

constexpr int kMinus = 0xBD, kPadMinus = 0x6D, kPlus = 0xBB, kPadPlus = 0x6B, kMute = 'M';
constexpr int kEscape = 0x1B;
constexpr COLORREF kBarEdge = RGB(255, 200, 40);
constexpr int kBarX = 700, kBarY = 12;  // the bar's top-left corner

std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

float GainOf(int level) {
  return static_cast<float>(level * level) / 100.0f;
}

TEST(Volume, KeysStepAndMuteTheWholeMixAndTheLevelIsKept) {
  GameHarness game;
  SetSettingsFile((game.Folder() / "settings.txt").string());
  ASSERT_TRUE(game.Start());
  game.Step(2);
  EXPECT_EQ(platform::MasterGain(), 1.0f) << "full without a settings file";

  struct Step {
    int key;
    int level;  // afterwards; -1: muted
  };
  const Step steps[] = {{kMinus, 9},   {kPadMinus, 8}, {kMinus, 7}, {kPlus, 8},
                        {kPadPlus, 9}, {kPlus, 10},    {kPlus, 10}, {kMute, -1},
                        {kMute, 10},   {kMute, -1},    {kMinus, 9}};  // a step while muted is heard
                                                                      // again
  for (const Step& step : steps) {
    SCOPED_TRACE(::testing::Message() << "key " << step.key << " to " << step.level);
    game.Hold(step.key, 3);  // a held key is one press
    game.Step(1);
    EXPECT_FLOAT_EQ(platform::MasterGain(), step.level < 0 ? 0.0f : GainOf(step.level));
  }
  EXPECT_EQ(platform::MusicVolume(), 175 * 128 / 255) << "the music keeps its share beneath";
  EXPECT_EQ(FileText(game.Folder() / "settings.txt"), SettingsText(Settings{9, false}));

  // Let go and pressed again between two frames, while seen held at both: a second press.
  game.Press(kMinus);
  game.Step(1);
  EXPECT_FLOAT_EQ(platform::MasterGain(), GainOf(8));
  game.Release(kMinus);
  game.Press(kMinus);
  game.Step(1);
  EXPECT_FLOAT_EQ(platform::MasterGain(), GainOf(7));
  game.Release(kMinus);

  // Down to silence and no further.
  for (int i = 0; i < 12; ++i) {
    game.Hold(kPadMinus, 2);
    game.Step(1);
  }
  EXPECT_EQ(platform::MasterGain(), 0.0f);
  EXPECT_EQ(FileText(game.Folder() / "settings.txt"), SettingsText(Settings{0, false}));
}

TEST(Volume, TheBarShowsOverThePictureForASecondAndAHalfAndNeverInTheFrame) {
  GameHarness game;
  ASSERT_TRUE(game.Start());
  game.Step(2);
  EXPECT_NE(game.ShownPixel(kBarX, kBarY), kBarEdge);
  game.Hold(kMinus, 1);
  EXPECT_EQ(game.ShownPixel(kBarX, kBarY), kBarEdge);
  EXPECT_NE(CurrentFrame()->GetPixel(kBarX, kBarY), kBarEdge)
      << "the frame the game reads back never holds the bar";
  game.Step(33);
  EXPECT_EQ(game.ShownPixel(kBarX, kBarY), kBarEdge);
  game.Step(2);
  EXPECT_NE(game.ShownPixel(kBarX, kBarY), kBarEdge) << "gone after 36 frames";

  // A paused game draws no frames, yet shows the change and then takes the bar away.
  game.Hold(kEnter, 2);
  game.Hold(kOne, 3);
  ASSERT_EQ(_iGameState, GameStateStage1);
  game.Hold(kEscape, 2);
  ASSERT_TRUE(PlayPaused());
  game.Hold(kMute, 1);
  EXPECT_EQ(game.ShownPixel(kBarX, kBarY), kBarEdge);
  game.Step(40);
  EXPECT_TRUE(PlayPaused());
  EXPECT_NE(game.ShownPixel(kBarX, kBarY), kBarEdge);
}

TEST(Volume, AKeyThatControlsGiveAPlayerKeepsItsAction) {
  GameHarness game;
  // Player 1 fires with -, and player 2 moves up with M.
  std::ofstream(game.Folder() / "controls.txt")
      << "38 40 37 39 189 90 88 67 9 77 83 65 68 70 71 84 82 81\n";
  ASSERT_TRUE(game.Start());
  game.Step(2);
  game.Hold(kMinus, 3);
  game.Hold(kMute, 3);
  EXPECT_EQ(platform::MasterGain(), 1.0f);
  EXPECT_EQ(_bStartPressed, TRUE) << "- started the game, as player 1's fire";
  game.Hold(kPadMinus, 3);
  EXPECT_FLOAT_EQ(platform::MasterGain(), GainOf(9)) << "the keypad's - is nobody's";
}

TEST(Settings, KeptLevelIsReadAtStartAndADamagedFileMeansFullVolume) {
  struct Case {
    const char* text;
    Settings expected;
    bool damaged;
  };
  const Case cases[] = {
      {"volume 4\nmuted 1\n", {4, true}, false},
      {"# a note\r\n\r\nmuted 0\r\nvolume 0\r\n", {0, false}, false},
      {"volume 6", {6, false}, false},
      {"", {}, false},
      {"volume 11\n", {}, true},
      {"volume -1\n", {}, true},
      {"volume 5 loud\n", {}, true},
      {"muted yes\n", {}, true},
      {"volume 3\nbass 7\n", {}, true},
      {"\x01\xff\xfe garbage", {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string problem;
    EXPECT_EQ(ParseSettings(c.text, problem), c.expected);
    EXPECT_EQ(problem.empty(), !c.damaged) << problem;
  }
  // What is written reads back the same.
  std::string problem;
  EXPECT_EQ(ParseSettings(SettingsText(Settings{3, true}), problem), (Settings{3, true}));

  GameHarness game;
  std::ofstream(game.Folder() / "settings.txt") << SettingsText(Settings{5, false});
  SetSettingsFile((game.Folder() / "settings.txt").string());
  ASSERT_TRUE(game.Start());
  EXPECT_FLOAT_EQ(platform::MasterGain(), GainOf(5));
}

}  // namespace
}  // namespace skyrift::testing
