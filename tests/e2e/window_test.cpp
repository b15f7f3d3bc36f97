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
  const std::string output = Shell("cd '" + game.Folder().string() +
                                 "' && DISPLAY= WAYLAND_DISPLAY= ./skyrift 2>&1; echo \"exit=$?\"");
  EXPECT_NE(output.find("cannot open a display"), std::string::npos) << output;
  EXPECT_EQ(output.substr(output.rfind("exit=")), "exit=1") << output;
}

}  // namespace
}  // namespace skyrift::e2e
