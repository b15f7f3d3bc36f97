// The real executable in a real X server: its window and how it ends.
#include <cstdlib>

#include "X11Session.h"

namespace skyrift::e2e {
namespace {

TEST(Window, OpensCentredFixedSizeWithItsCaptionAndClosesWithExitCodeZero) {
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
  // Not resizable: the size hints pin the minimum and the maximum to the client size.
  const std::string hints = Shell("xprop -id " + game.Window() + " WM_NORMAL_HINTS");
  EXPECT_NE(hints.find("minimum size: 900 by 732"), std::string::npos) << hints;
  EXPECT_NE(hints.find("maximum size: 900 by 732"), std::string::npos) << hints;

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
  game.Focus();
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
