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
  const TitlePrompts prompts;
  ASSERT_TRUE(title.Valid() && prompts.Valid());
  GameProcess game;
  ASSERT_TRUE(game.Start()) << "no window appeared";
  ASSERT_TRUE(game.Focus()) << "the game did not say it had the focus";
  ASSERT_TRUE(WaitFor([&] { return TitleShows(game.Grab(), title); })) << "no title";
  const Geometry windowed = WindowGeometry(game.Window());
  ASSERT_EQ(windowed.width, 900);
  ASSERT_EQ(windowed.height, 732);

  // Each toggle is held until the window is where it goes, and a few frames longer: frames run
  // while Enter is down, so that one taken for the game's would show on the title. The window
  // manager moves and sizes the window in steps of its own: the next toggle waits for the last.
  const auto placed = [&game](const Geometry& place) {
    return [&game, place, pressed = Clock::now()] {
      const Geometry now = WindowGeometry(game.Window());
      return now.x == place.x && now.y == place.y && now.width == place.width &&
             now.height == place.height && SecondsSince(pressed) > 0.2;
    };
  };
  for (const char* toggle : {"F11", "alt+Return"}) {
    SCOPED_TRACE(toggle);
    ASSERT_TRUE(game.Hold(toggle, placed(Geometry{0, 0, 1920, 1080}))) << "not fullscreen";
    // The picture: 1327 x 1080 from x = 296, black bars on both sides.
    ASSERT_NO_FATAL_FAILURE(ExpectFullscreenTitle(game, title, 1920, 1080, 296, 1327));

    ASSERT_TRUE(game.Hold(toggle, placed(windowed))) << "not back in the window where it was";
    EXPECT_TRUE(WaitFor([&] { return TitleShows(game.Grab(), title); }))
        << "the picture at its own size";
  }

  // Had the Enter of Alt+Enter reached the game, the title would be asking for the number of
  // players.
  const Screenshot shot = game.Grab();
  EXPECT_TRUE(prompts.AsksForEnter(shot)) << "still asking for Enter";
  EXPECT_FALSE(prompts.AsksHowMany(shot));
  EXPECT_EQ(game.Close(), 0);
}

// Whether the bytes [from, to) of a sound file are all zero.
bool Silent(const fs::path& file, size_t from, size_t to) {
  std::ifstream in(file, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(from));
  for (size_t i = from; i < to; ++i) {
    const int byte = in.get();
    if (byte == EOF) break;
    if (byte != 0) return false;
  }
  return true;
}

size_t FileSize(const fs::path& file) {
  std::error_code missing;
  const auto size = fs::file_size(file, missing);
  return missing ? 0 : static_cast<size_t>(size);
}

// The sign's yellow lettering over the middle of the play area.
int SignPixels(const Screenshot& shot) {
  int count = 0;
  for (int y = 256; y < 344 && shot.Valid(); ++y) {
    for (int x = 236; x < 664; ++x) {
      const Rgb c = shot.At(x, y);
      count += c.r > 200 && c.g > 150 && c.b < 120 ? 1 : 0;
    }
  }
  return count;
}
bool SignShows(const Screenshot& shot) {
  return SignPixels(shot) > 300;
}

TEST_F(OnA1920x1080Screen, EscPausesStageOneItsFramesAndItsMusicAndEscResumes) {
  const TitlePrompts prompts;
  ASSERT_TRUE(prompts.Valid());
  GameProcess game;
  // The sound goes to a file, in real time, so that what was heard and when can be read back;
  // a quarter of a second is 44100 bytes of it.
  const fs::path sound = game.Folder().string() + "-sound.raw";
  constexpr size_t kQuarter = 44100;
  game.SetEnvironment("SDL_AUDIODRIVER", "disk");
  game.SetEnvironment("SDL_DISKAUDIOFILE", sound.string());
  ASSERT_TRUE(game.Start()) << "no window appeared";
  ASSERT_TRUE(game.Focus()) << "the game did not say it had the focus";
  ASSERT_TRUE(game.Hold("Return", [&] { return prompts.AsksHowMany(game.Grab()); }))
      << "Enter was not seen";
  ASSERT_TRUE(game.HoldUntilLogged("1", "CreatePlayers() start")) << "no game started";
  // The music's last quarter of a second, as the file holds it when asked.
  const auto lastQuarter = [&sound](size_t& end) {
    end = FileSize(sound);
    return end >= kQuarter && !Silent(sound, end - kQuarter, end);
  };
  size_t beforePause = 0;
  ASSERT_TRUE(WaitFor([&] { return lastQuarter(beforePause); })) << "no sound before the pause";
  // The sound file grows in step with the game's own clock: a second of it is a second the game
  // had.
  const auto aSecondOfSound = [&sound] {
    const size_t from = FileSize(sound);
    return WaitFor([&] { return FileSize(sound) >= from + 4 * kQuarter; });
  };

  ASSERT_TRUE(game.Hold("Escape", [&] { return SignShows(game.Grab()); })) << "no PAUSED sign";
  // Samples already playing end; the music has stopped.
  size_t pauseFrom = 0;
  ASSERT_TRUE(WaitFor([&] {
    pauseFrom = FileSize(sound);
    return pauseFrom >= kQuarter && Silent(sound, pauseFrom - kQuarter, pauseFrom);
  })) << "the sound went on in the pause";
  const Screenshot paused = game.Grab();
  ASSERT_TRUE(aSecondOfSound()) << "the sound was not written in real time";
  const Screenshot later = game.Grab();
  const size_t pauseTo = FileSize(sound);
  EXPECT_TRUE(SignShows(paused)) << "PAUSED over the picture";
  EXPECT_EQ(Region(paused, 0, 0, 900, 732), Region(later, 0, 0, 900, 732)) << "the picture stands";
  EXPECT_TRUE(Silent(sound, pauseFrom, pauseTo)) << "silence while paused";

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
  ASSERT_TRUE(other.TakeFocusFrom(game)) << "the game did not say it lost the focus";
  const int pausedAt = lastTicker();
  EXPECT_GT(pausedAt, 0) << "frames of the stage ran before the pause";
  ASSERT_TRUE(game.Focus()) << "the game did not say it had the focus again";
  ASSERT_TRUE(aSecondOfSound());
  ASSERT_TRUE(other.TakeFocusFrom(game));
  EXPECT_EQ(lastTicker(), pausedAt) << "no frame ran while paused";
  ASSERT_TRUE(game.Focus());

  ASSERT_TRUE(game.Hold("Escape", [&] { return !SignShows(game.Grab()); }))
      << "Escape did not resume";
  const size_t playFrom = FileSize(sound);
  size_t playTo = 0;
  EXPECT_TRUE(WaitFor([&] {
    return Region(game.Grab(), 0, 0, 900, 600) != Region(later, 0, 0, 900, 600);
  })) << "play goes on";
  EXPECT_TRUE(WaitFor([&] { return lastQuarter(playTo) && playTo >= playFrom + kQuarter; }))
      << "music again";
  EXPECT_EQ(game.Close(), 0);
  fs::remove(sound);
}

TEST(OnA1280x720Screen, TheWholeWindowFrameIncludedFitsTheScreenAndKeepsThePicturesShape) {
  ASSERT_NO_FATAL_FAILURE(ExpectScreen(1280, 720));
  WindowManager windowManager;
  ASSERT_TRUE(windowManager.Running()) << "openbox did not start";
  const Picture title = Picture::Asset("title.bmp");
  ASSERT_TRUE(title.Valid());
  GameProcess game;
  ASSERT_TRUE(game.Start()) << "no window appeared";
  ASSERT_TRUE(game.Focus()) << "the game did not say it had the focus";

  // The window manager's frame around it: left, right, top, bottom; and the picture drawn at
  // the size the window was given.
  int left = -1, right = -1, top = -1, bottom = -1;
  Geometry client;
  WaitFor([&] {
    left = right = top = bottom = -1;
    std::istringstream extents(
        Shell("xprop -id " + game.Window() + " _NET_FRAME_EXTENTS | cut -d= -f2 | tr -d ,"));
    extents >> left >> right >> top >> bottom;
    client = WindowGeometry(game.Window());
    return top >= 1 && client.height > 0 &&
           TitleShows(game.Grab(client.width, client.height), title, 0, 0, client.width,
                      client.height);
  });
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
