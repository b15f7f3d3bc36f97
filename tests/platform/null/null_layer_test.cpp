// The null layer, which the game's tests stand on: its silent mixer keeps the state a real one
// reports and times a sample by the driven clock, its loads fail where the real layers' do, its
// lettering is placed as real lettering is, and its window wakes the game once shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "TempFolder.h"
#include "platform/Clock.h"
#include "platform/FilePlaces.h"
#include "platform/Files.h"
#include "platform/Gamepad.h"
#include "platform/Mixer.h"
#include "platform/Surface.h"
#include "platform/Window.h"

namespace skyrift::platform {
namespace {

// A 16-bit mono WAV file of `frames` frames of silence at 8000 Hz (8 frames a millisecond).
std::string WriteWave(const testing::TempFolder& folder, const char* name, uint32_t frames) {
  const auto le = [](uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
    return out;
  };
  const std::string format =
      le(1, 2) + le(1, 2) + le(8000, 4) + le(16000, 4) + le(2, 2) + le(16, 2);
  const std::string data(frames * 2, '\0');
  const std::string body = "WAVEfmt " + le(16, 4) + format + "data" + le(frames * 2, 4) + data;
  const std::string path = (folder.Path() / name).string();
  std::ofstream(path, std::ios::binary)
      << "RIFF" << le(static_cast<uint32_t>(body.size()), 4) << body;
  return path;
}

class NullMixer : public ::testing::Test {
 protected:
  void SetUp() override {
    DriveClock(1000);
    ASSERT_TRUE(OpenMixer(44100, 8, 3));
  }
  void TearDown() override {
    CloseMixer();
    UseRealClock();
  }
  testing::TempFolder folder{"skyrift-null"};
};

TEST_F(NullMixer, AOneShotSampleEndsAfterItsLengthOnTheClockAndAPauseStopsTheClock) {
  MixerChunk* shot = LoadChunk(WriteWave(folder, "shot.wav", 800).c_str());  // 100 ms
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(PlayChunk(-1, shot, false), 3) << "the first channel that is not reserved";
  EXPECT_EQ(PlayChunk(1, shot, true), 1);
  DriveClock(1060);
  PauseChannel(3, true);
  DriveClock(5000);
  EXPECT_TRUE(ChannelPlaying(3)) << "paused 40 ms before its end";
  EXPECT_TRUE(ChannelPaused(3));
  PauseChannel(3, false);
  DriveClock(5039);
  EXPECT_TRUE(ChannelPlaying(3));
  DriveClock(5040);
  EXPECT_FALSE(ChannelPlaying(3));
  EXPECT_FALSE(ChannelPaused(3));
  EXPECT_TRUE(ChannelPlaying(1)) << "a looping sample plays on";

  // Freed while it plays, it is silenced first.
  FreeChunk(shot);
  EXPECT_FALSE(ChannelPlaying(1));
}

TEST_F(NullMixer, EveryFreeChannelBusyPlaysNothingAndCloseSilencesAll) {
  MixerChunk* hum = LoadChunk(WriteWave(folder, "hum.wav", 8).c_str());
  for (int channel = 3; channel < 8; ++channel) EXPECT_EQ(PlayChunk(-1, hum, true), channel);
  EXPECT_EQ(PlayChunk(-1, hum, true), -1);
  EXPECT_EQ(PlayChunk(8, hum, true), -1);
  SetChannelVolume(4, 500);
  HaltChannel(4);
  EXPECT_EQ(PlayChunk(-1, hum, true), 4);
  CloseMixer();
  EXPECT_FALSE(ChannelPlaying(3));
  EXPECT_EQ(PlayChunk(-1, hum, true), -1);
  FreeChunk(hum);
}

TEST_F(NullMixer, LoadsFailWhereTheRealLayersFail) {
  const std::string text = (folder.Path() / "notes.txt").string();
  std::ofstream(text) << "not a sound";
  EXPECT_EQ(LoadChunk(text.c_str()), nullptr);
  EXPECT_FALSE(LoadError().empty());
  EXPECT_EQ(LoadChunk(WriteWave(folder, "empty.wav", 0).c_str()), nullptr);
  EXPECT_EQ(LoadError(), "it holds no sound");
  EXPECT_EQ(LoadMusic(WriteWave(folder, "renamed.mp3", 4000).c_str()), nullptr)
      << "a WAV file named .mp3 has no frames";
  EXPECT_FALSE(LoadError().empty());
  EXPECT_EQ(LoadChunk((folder.Path() / "missing.wav").string().c_str()), nullptr);
  EXPECT_FALSE(LoadError().empty());

  CloseMixer();
  EXPECT_EQ(LoadChunk(WriteWave(folder, "shot.wav", 800).c_str()), nullptr);
  EXPECT_TRUE(LoadError().empty()) << "no device is no fault of the file";
}

TEST_F(NullMixer, TheMusicKeepsItsVolumeAndPauseAndEndsUnlessItLoops) {
  MixerMusic* piece = LoadMusic(SKYRIFT_GAME_DIR "/stage1.mp3");
  ASSERT_NE(piece, nullptr);
  SetMusicVolume(200);
  EXPECT_EQ(MusicVolume(), 128);
  ASSERT_TRUE(PlayMusic(piece, false));
  PauseMusic(true);
  EXPECT_TRUE(MusicPaused());
  PauseMusic(false);
  DriveClock(1000 + 10 * 60 * 1000);
  EXPECT_FALSE(MusicPlaying()) << "longer than any of the game's pieces";
  ASSERT_TRUE(PlayMusic(piece, true));
  DriveClock(1000 + 60 * 60 * 1000);
  EXPECT_TRUE(MusicPlaying());
  FreeMusic(piece);
  EXPECT_FALSE(MusicPlaying());
}

TEST(NullDrawing, LetteringIsRightAlignedCentredAndClippedToItsBox) {
  auto target = Surface::CreateTarget(100, 40, 0);
  const COLORREF ink = RGB(255, 255, 255);
  target->WriteText(RECT{10, 0, 60, 40}, "1 2", ink);
  int left = 100, right = -1, top = 40, bottom = -1;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 100; ++x) {
      if (target->GetPixel(x, y) != ink) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  EXPECT_EQ(right, 59);
  EXPECT_GT(left, 30) << "three characters";
  EXPECT_NEAR((top + bottom) / 2.0, 20, 1);
  EXPECT_EQ(target->GetPixel(right - 10, 20), 0u) << "the space between them stays clear";

  auto clipped = Surface::CreateTarget(100, 40, 0);
  clipped->WriteText(RECT{50, 18, 60, 22}, "12345", ink);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 100; ++x) {
      if (clipped->GetPixel(x, y) != ink) continue;
      ASSERT_TRUE(x >= 50 && x < 60 && y >= 18 && y < 22) << x << "," << y;
    }
  }
  EXPECT_EQ(clipped->GetPixel(59, 20), ink);
}

TEST(NullWindow, AShownWindowHasTheFocusAndItsFrameIsTheClientSize) {
  std::string error;
  const WindowSpec spec{nullptr, "Skyrift", "Skyrift", 1000, 1001, 900, 732};
  auto window = Window::Create(spec, error);
  ASSERT_NE(window, nullptr) << error;
  EXPECT_EQ(window->Frame()->Width(), 900);
  EXPECT_EQ(window->Frame()->Height(), 732);
  Message message;
  while (PollMessage(message)) {
  }  // what earlier tests of this process left queued
  window->Show();
  ASSERT_TRUE(PollMessage(message));
  EXPECT_EQ(message.kind, MessageKind::Activate);
  EXPECT_EQ(message.wParam, 1u);
}

TEST(NullGamepad, TheVirtualPadsDpadPushesItsPositionToTheEndOfEachAxis) {
  GamepadReading reading;
  EXPECT_FALSE(ReadGamepad(reading));
  ASSERT_TRUE(AttachVirtualGamepad(true));
  EXPECT_EQ(GamepadCount(), 1);
  SetVirtualGamepadPosition(100, 70000);
  SetVirtualGamepadDpad(true, false, false, true);
  ASSERT_TRUE(ReadGamepad(reading));
  EXPECT_EQ(reading.x, 65535u);
  EXPECT_EQ(reading.y, 0u);
  SetVirtualGamepadDpad(false, false, false, false);
  ASSERT_TRUE(ReadGamepad(reading));
  EXPECT_EQ(reading.x, 100u);
  EXPECT_EQ(reading.y, 65535u) << "held to the axis' range";
  DetachVirtualGamepad();
  EXPECT_EQ(GamepadCount(), 0);
}

TEST(NullFiles, TheFolderTheProgramStartedInHoldsAllTheGamesFiles) {
  testing::TempFolder folder{"skyrift-null-program", testing::TempFolder::Enter::Yes};
  const std::string program = ProgramFolder();
  EXPECT_EQ(Utf8Path(program), std::filesystem::current_path());
  const FilePlaces places = PlaceGameFiles(program);
  EXPECT_EQ(Utf8Path(places.dataFolder), folder.Path());
  EXPECT_EQ(Utf8Path(places.logFile), folder.Path() / "log.txt");
  EXPECT_EQ(Utf8Path(places.controlsFile), folder.Path() / "controls.txt");
}

}  // namespace
}  // namespace skyrift::platform
