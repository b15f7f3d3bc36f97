// The real executable in a real X server: its window and how it ends.
#include <cstdlib>
#include <sstream>

#include "X11Session.h"

namespace skyrift::e2e {
namespace {

TEST(Window, OpensCentredAtTheFramesSizeWithItsCaptionAndClosesWithExitCodeZero) {
  GameProcess game;
  ASSERT_TRUE(game.Start()) << "no window appeared";
  const std::string geometry = Shell("xwininfo -id " + game.Window());
  EXPECT_NE(geometry.find("Width: 900"), std::string::npos) << geometry;
  EXPECT_NE(geometry.find("Height: 732"), std::string::npos) << geometry;

  // Centred on the screen the test runs with.
  const std::string root = Shell("xwininfo -root");
  const auto field = [](const std::string& text, const std::string& name) {
    const size_t at = text.find(name);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + name.size());
  };
  EXPECT_EQ(field(geometry, "Absolute upper-left X:"), (field(root, "Width:") - 900) / 2);
  EXPECT_EQ(field(geometry, "Absolute upper-left Y:"), (field(root, "Height:") - 732) / 2);

  EXPECT_EQ(Shell("xdotool getwindowname " + game.Window()), "Skyrift");
  // Resizable, down to a quarter of the frame, with no largest size.
  const std::string hints = Shell("xprop -id " + game.Window() + " WM_NORMAL_HINTS");
  EXPECT_NE(hints.find("minimum size: 225 by 183"), std::string::npos) << hints;
  EXPECT_EQ(hints.find("maximum size"), std::string::npos) << hints;

  EXPECT_EQ(game.Close(), 0);
}

// Waits until `done` says so, with a generous deadline; false if it never did.
template <class Check>
bool WaitUntil(Check done) {
  for (int waited = 0; waited < 10000; waited += 100) {
    if (done()) return true;
    Sleep(100);
  }
  return false;
}

// Waits until the window's client is `width` x `height`; false if it never is.
bool WaitForSize(const std::string& window, int width, int height) {
  return WaitUntil([&] {
    const Geometry now = WindowGeometry(window);
    return now.width == width && now.height == height;
  });
}

// The number of black pixels along a row of the grab.
int BlackAcross(const Screenshot& shot, int y) {
  int black = 0;
  for (int x = 0; x < shot.Width(); ++x) {
    const Rgb c = shot.At(x, y);
    black += c.r == 0 && c.g == 0 && c.b == 0 ? 1 : 0;
  }
  return black;
}

TEST(Window, ThePlayerResizesAndMaximisesItAndTheFrameIsLetterboxedInIt) {
  WindowManager windowManager;
  ASSERT_TRUE(windowManager.Running()) << "openbox did not start";
  GameProcess game;
  ASSERT_TRUE(game.Start()) << "no window appeared";
  game.Focus();
  ASSERT_TRUE(WaitForSize(game.Window(), 900, 732));

  // Wider than the frame's shape: bars at the sides, the picture the window's whole height.
  Shell("xdotool windowsize " + game.Window() + " 1200 700");
  ASSERT_TRUE(WaitForSize(game.Window(), 1200, 700)) << "the window kept its size";
  ASSERT_TRUE(WaitUntil([&] {
    const Screenshot shot = game.Grab(1200, 700);
    return shot.Valid() && BlackAcross(shot, 350) >= 2 * 160;
  })) << "no bars beside the picture";
  const Screenshot wide = game.Grab(1200, 700);
  const Rgb bar = wide.At(20, 350), picture = wide.At(600, 350);
  EXPECT_TRUE(bar.r == 0 && bar.g == 0 && bar.b == 0);
  EXPECT_FALSE(picture.r == 0 && picture.g == 0 && picture.b == 0);

  // Maximised with its title bar's maximise button, as a player would, and restored the same
  // way (openbox puts it second from the right).
  // The window manager's frame around the client: left, right, top, bottom.
  const auto maximiseButton = [&game] {
    std::istringstream extents(
        Shell("xprop -id " + game.Window() + " _NET_FRAME_EXTENTS | cut -d= -f2 | tr -d ,"));
    int left = 0, right = 0, top = 0, bottom = 0;
    extents >> left >> right >> top >> bottom;
    const Geometry client = WindowGeometry(game.Window());
    return std::to_string(client.x + client.width + right - 26) + " " +
           std::to_string(client.y - top / 2);
  };
  Shell("xdotool mousemove " + maximiseButton() + " click 1");
  ASSERT_TRUE(WaitUntil([&] { return WindowGeometry(game.Window()).width == 1280; }))
      << "not maximised: " << WindowGeometry(game.Window()).width << " wide";
  Shell("xdotool mousemove " + maximiseButton() + " click 1");
  EXPECT_TRUE(WaitForSize(game.Window(), 1200, 700)) << "restoring gives back the size it had";
  EXPECT_EQ(game.Close(), 0);
}

TEST(Window, WithoutADisplayTheGameSaysSoAndFails) {
  GameProcess game;  // only for its fresh copy of the game folder
  const std::string output =
      Shell("cd '" + game.Folder().string() +
            "' && DISPLAY= WAYLAND_DISPLAY= ./skyrift 2>&1; echo \"exit=$?\"");
  EXPECT_NE(output.find("cannot open a display"), std::string::npos) << output;
  EXPECT_EQ(output.substr(output.rfind("exit=")), "exit=1") << output;
}

// The program copied out of its folder alone: one line says what is wrong, before any window,
// instead of a reason for every missing file; nothing is written beside it.
TEST(Window, AloneInAFolderTheGameSaysItsFilesAreMissingAndFails) {
  GameProcess game;
  for (const auto& entry : fs::directory_iterator(game.Folder())) {
    if (entry.path().filename() != "skyrift") fs::remove_all(entry.path());
  }
  const std::string output =
      Shell("cd '" + game.Folder().string() + "' && ./skyrift 2>&1; echo \"exit=$?\"");
  EXPECT_EQ(output,
            "Skyrift's files are missing: keep the skyrift program beside its sounds, music and "
            "controls.txt, or reinstall the game\nexit=1");
  EXPECT_FALSE(fs::exists(game.Folder() / "log.txt"));
}

TEST(Window, ADisplayThatIsSetButGoneIsNamedWithWhatTheSystemSaid) {
  GameProcess game;
  const std::string output =
      Shell("cd '" + game.Folder().string() + "' && DISPLAY=:9731 WAYLAND_DISPLAY= ./skyrift 2>&1");
  EXPECT_NE(output.find("cannot open the display \":9731\": "), std::string::npos) << output;
  EXPECT_EQ(output.find("is DISPLAY set?"), std::string::npos) << output;
}

// Started from someone else's folder, the game still finds its controls and sounds beside
// itself, writes its log there, and leaves that folder's own log.txt alone.
TEST(Window, StartedFromAnotherFolderTheGameUsesItsOwnFilesAndTouchesNothingThere) {
  GameProcess game;
  const fs::path elsewhere = game.Folder().string() + "-elsewhere";
  fs::create_directories(elsewhere);
  std::ofstream(elsewhere / "log.txt") << "someone's notes\n";
  const fs::path errors = game.Folder().string() + "-stderr.txt";
  ASSERT_TRUE(game.Start(elsewhere, errors)) << "no window appeared";
  ASSERT_TRUE(game.Focus()) << "no focus in the log, which is not where it belongs";
  EXPECT_EQ(game.Close(), 0);

  std::vector<fs::path> left;
  for (const auto& entry : fs::directory_iterator(elsewhere)) left.push_back(entry.path());
  ASSERT_EQ(left.size(), 1u);
  std::ifstream notes(elsewhere / "log.txt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(notes), {}), "someone's notes\n");

  const std::vector<std::string> log = game.LogLines();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0], "GameInitialize()");
  EXPECT_EQ(log[3], "38403739329088679878365687071848281") << "the shipped keys are bound";
  std::ifstream said(errors);
  const std::string complaints(std::istreambuf_iterator<char>(said), {});
  EXPECT_EQ(complaints.find("cannot be used"), std::string::npos) << complaints;
  fs::remove_all(elsewhere);
  fs::remove(errors);
}

}  // namespace
}  // namespace skyrift::e2e
