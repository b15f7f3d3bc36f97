// The real game on screens of other sizes, each with a real window manager: fullscreen by F11
// and by Alt+Enter, letterboxed and back; the window that fits a small screen; the pause key.
// Each suite needs the screen its name gives (CTest starts an X server of that size for it).
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Picture.h"
#include "X11Session.h"

namespace skyrift::e2e {
namespace {

void ExpectScreen(int width, int height) {
  const std::string root = Shell("xwininfo -root");
  ASSERT_EQ(InfoField(root, "Width:"), width)
      << "run this suite on a " << width << " x " << height << " screen";
  ASSERT_EQ(InfoField(root, "Height:"), height);
}

class OnA1920x1080Screen : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ExpectScreen(1920, 1080));
    ASSERT_TRUE(windowManager_.Running()) << "openbox did not start";
  }
  WindowManager windowManager_;
};

TEST_F(OnA1920x1080Screen,
       F11AndAltEnterSwitchToALetterboxedFullscreenAndBackLeavingTheTitleAlone) {
  const Picture title = Picture::Asset("title.bmp");
  ASSERT_TRUE(title.Valid());
  GameProcess game;
  ASSERT_TRUE(game.Start()) << "no window appeared";
  game.Focus();
  Sleep(500);
  const Geometry windowed = WindowGeometry(game.Window());
  ASSERT_EQ(windowed.width, 900);
  ASSERT_EQ(windowed.height, 732);

  for (const char* toggle : {"F11", "alt+Return"}) {
    SCOPED_TRACE(toggle);
    game.Hold(toggle);
    Sleep(700);
    // The picture: 1327 x 1080 from x = 296, black bars on both sides.
    ASSERT_NO_FATAL_FAILURE(ExpectFullscreenTitle(game, title, 1920, 1080, 296, 1327));

    game.Hold(toggle);
    Sleep(700);
    const Geometry back = WindowGeometry(game.Window());
    EXPECT_EQ(back.width, 900);
    EXPECT_EQ(back.height, 732);
    EXPECT_EQ(back.x, windowed.x) << "where it was";
    EXPECT_EQ(back.y, windowed.y);
    const Screenshot shot = game.Grab();
    int compared = 0;
    EXPECT_EQ(TitlePixelsShown(shot, title, 0, 0, 900, 732, compared), compared)
        << "the picture at its own size";
  }

  // Had the Enter of Alt+Enter reached the game, the title would be waiting for the number of
  // players, and 1 would start a game.
  game.Hold("1");
  Sleep(400);
  const Screenshot shot = game.Grab();
  int compared = 0;
  EXPECT_EQ(TitlePixelsShown(shot, title, 0, 0, 900, 732, compared), compared) << "still the title";
  EXPECT_EQ(game.Close(), 0);
}

std::vector<unsigned char> FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
}

bool Silent(const std::vector<unsigned char>& sound, size_t from, size_t to) {
  for (size_t i = from; i < to && i < sound.size(); ++i) {
    if (sound[i] != 0) return false;
  }
  return true;
}

// The sign's yellow lettering over the middle of the play area.
int SignPixels(const Screenshot& shot) {
  int count = 0;
  for (int y = 256; y < 344; ++y) {
    for (int x = 236; x < 664; ++x) {
      const Rgb c = shot.At(x, y);
      count += c.r > 200 && c.g > 150 && c.b < 120 ? 1 : 0;
    }
  }
  return count;
}

TEST_F(OnA1920x1080Screen, EscPausesStageOneItsFramesAndItsMusicAndEscResumes) {
  GameProcess game;
  // The sound goes to a file, in real time, so that what was heard and when can be read back.
  const fs::path sound = game.Folder().string() + "-sound.raw";
  game.SetEnvironment("SDL_AUDIODRIVER", "disk");
  game.SetEnvironment("SDL_DISKAUDIOFILE", sound.string());
  ASSERT_TRUE(game.Start()) << "no window appeared";
  game.Focus();
  game.Hold("Return");
  game.Hold("1");
  Sleep(1500);
  const size_t beforePause = fs::file_size(sound);

  game.Hold("Escape");
  Sleep(700);  // samples already playing end; the music has stopped
  const size_t pauseFrom = fs::file_size(sound);
  const Screenshot paused = game.Grab();
  Sleep(1000);
  const Screenshot later = game.Grab();
  const size_t pauseTo = fs::file_size(sound);
  EXPECT_GT(SignPixels(paused), 300) << "PAUSED over the picture";
  EXPECT_EQ(Region(paused, 0, 0, 900, 732), Region(later, 0, 0, 900, 732)) << "the picture stands";

  // The game tells the stage's ticker on each loss of the focus: it stands while paused, and
  // the focus coming back leaves the game paused.
  const auto lastTicker = [&game] {
    const std::string prefix = "Level 1 Ticker count: ";
    int ticker = -1;
    for (const std::string& line : game.LogLines()) {
      if (line.rfind(prefix, 0) == 0) ticker = std::atoi(line.c_str() + prefix.size());
    }
    return ticker;
  };
  OtherWindow other;
  ASSERT_TRUE(other.Open()) << "no other window to take the focus";
  other.Focus();
  const int pausedAt = lastTicker();
  EXPECT_GT(pausedAt, 24) << "paused a second or more into the stage";
  game.Focus();
  Sleep(1000);
  other.Focus();
  EXPECT_EQ(lastTicker(), pausedAt) << "no frame ran while paused";
  game.Focus();

  game.Hold("Escape");
  Sleep(1000);
  const size_t playFrom = fs::file_size(sound);
  const Screenshot resumed = game.Grab();
  Sleep(700);
  const size_t playTo = fs::file_size(sound);
  EXPECT_EQ(SignPixels(resumed), 0) << "the sign is gone";
  EXPECT_NE(Region(resumed, 0, 0, 900, 600), Region(later, 0, 0, 900, 600)) << "play goes on";
  EXPECT_EQ(game.Close(), 0);

  const std::vector<unsigned char> heard = FileBytes(sound);
  fs::remove(sound);
  ASSERT_GT(pauseTo, pauseFrom + 44100) << "the sound was written in real time";
  EXPECT_FALSE(Silent(heard, beforePause - 44100, beforePause)) << "music before the pause";
  EXPECT_TRUE(Silent(heard, pauseFrom, pauseTo)) << "silence while paused";
  EXPECT_FALSE(Silent(heard, playFrom, playTo)) << "music again";
}

TEST(OnA1280x720Screen, TheWholeWindowFrameIncludedFitsTheScreenAndKeepsThePicturesShape) {
  ASSERT_NO_FATAL_FAILURE(ExpectScreen(1280, 720));
  WindowManager windowManager;
  ASSERT_TRUE(windowManager.Running()) << "openbox did not start";
  const Picture title = Picture::Asset("title.bmp");
  ASSERT_TRUE(title.Valid());
  GameProcess game;
  ASSERT_TRUE(game.Start()) << "no window appeared";
  game.Focus();
  Sleep(700);

  const Geometry client = WindowGeometry(game.Window());
  // The window manager's frame around it: left, right, top, bottom.
  std::istringstream extents(
      Shell("xprop -id " + game.Window() + " _NET_FRAME_EXTENTS | cut -d= -f2 | tr -d ,"));
  int left = -1, right = -1, top = -1, bottom = -1;
  extents >> left >> right >> top >> bottom;
  ASSERT_GE(top, 1) << "the window manager framed the window";
  EXPECT_GE(client.x - left, 0);
  EXPECT_GE(client.y - top, 0);
  EXPECT_LE(client.x + client.width + right, 1280);
  EXPECT_LE(client.y + client.height + bottom, 720) << "the panel is on screen";
  EXPECT_LT(client.height, 732);
  EXPECT_LE(std::abs(client.width * 732 - client.height * 900), 900) << "the picture's shape";

  const Screenshot shot = game.Grab(client.width, client.height);
  ASSERT_TRUE(shot.Valid());
  int compared = 0;
  const int shown = TitlePixelsShown(shot, title, 0, 0, client.width, client.height, compared);
  EXPECT_EQ(shown, compared) << "the whole title picture, scaled down";
  EXPECT_EQ(game.Close(), 0);
}

}  // namespace
}  // namespace skyrift::e2e
