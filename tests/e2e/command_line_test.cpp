// The program's arguments and its first words: answered without a display, and without the
// sound system's own chatter.
#include "X11Session.h"

namespace skyrift::e2e {
namespace {

std::string Text(const fs::path& file) {
  std::ifstream in(file);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(CommandLine, HelpAndVersionAnswerWithoutADisplayAndAnythingElseIsUsageWithExitTwo) {
  struct Case {
    std::string arguments;
    std::string exit;
    std::string out;  // standard output, whole ("" for none)
    std::string errorHas;
  };
  const Case cases[] = {
      {"--version", "exit=0", "Skyrift " SKYRIFT_VERSION "\n", ""},
      {"--help", "exit=0", "", ""},
      {"--fullscreen", "exit=2", "", "unexpected argument \"--fullscreen\""},
      {"--help extra", "exit=2", "", "unexpected argument \"extra\""},
  };
  GameProcess game;                       // only for its fresh copy of the game folder
  fs::remove(game.Folder() / "log.txt");  // a game played in the build's folder left one
  const fs::path out = game.Folder() / "out.txt";
  const fs::path err = game.Folder() / "err.txt";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const std::string exit =
        Shell("cd '" + game.Folder().string() + "' && DISPLAY= WAYLAND_DISPLAY= ./skyrift " +
              c.arguments + " >out.txt 2>err.txt; echo \"exit=$?\"");
    EXPECT_EQ(exit, c.exit);
    const std::string said = Text(out), complained = Text(err);
    if (c.arguments == "--help") {
      for (const char* part : {"Usage: skyrift", "controls.txt", "F11", "Esc", "Alt+F4"}) {
        EXPECT_NE(said.find(part), std::string::npos) << part << " in\n" << said;
      }
      EXPECT_EQ(complained, "");
    } else if (c.exit == "exit=0") {
      EXPECT_EQ(said, c.out);
      EXPECT_EQ(complained, "");
    } else {
      EXPECT_EQ(said, "");
      EXPECT_NE(complained.find(c.errorHas), std::string::npos) << complained;
      EXPECT_NE(complained.find("Usage: skyrift"), std::string::npos) << complained;
    }
  }
  EXPECT_FALSE(fs::exists(game.Folder() / "log.txt")) << "the game itself never started";
}

// An ALSA whose default device names a card that is not there: the library complains at
// length on standard error, as on a machine without a sound card.
TEST(CommandLine, WithoutASoundDeviceTheGameSaysOneLineOfItsOwn) {
  GameProcess game;
  const fs::path config = game.Folder() / "asound.conf";
  std::ofstream(config) << "pcm.!default { type hw card 97 }\nctl.!default { type hw card 97 }\n";
  game.SetEnvironment("SDL_AUDIODRIVER", "alsa");
  game.SetEnvironment("ALSA_CONFIG_PATH", config.string());
  const fs::path errors = game.Folder().string() + "-stderr.txt";
  ASSERT_TRUE(game.Start({}, errors)) << "no window appeared";
  EXPECT_EQ(game.Close(), 0);
  const std::vector<std::string> lines = testing::FileLines(errors);
  ASSERT_EQ(lines.size(), 1u) << Text(errors);
  EXPECT_EQ(lines[0].rfind("Skyrift: no sound device (", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find("); playing without sound"), std::string::npos) << lines[0];
  fs::remove(errors);
}

}  // namespace
}  // namespace skyrift::e2e
