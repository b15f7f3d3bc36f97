#include "engine/CommandLine.h"

namespace skyrift {
namespace {

constexpr const char* kUsage =
    "Usage: skyrift [--help | --version]\n"
    "\n"
    "A top-down space shoot-'em-up for one or two players sharing a keyboard.\n"
    "\n"
    "Keys (the defaults; controls.txt rebinds them):\n"
    "  player 1   arrow keys move, Space fires, Z bombs, X bullet time, C recharge, Tab upgrades\n"
    "  player 2   W A S D move, F fires, G bombs, T bullet time, R recharge, Q upgrades\n"
    "  Enter or player 1's fire starts, then 1 or 2 chooses the number of players\n"
    "  Esc or Pause pauses and resumes; F11 or Alt+Enter switches to fullscreen and back\n"
    "  - and + (or =), on the keyboard or the keypad, turn the volume down and up; M mutes\n"
    "  Close the window (Alt+F4) to quit; the game-over screen stays until you do\n"
    "\n"
    "Files: controls.txt (the keys), settings.txt (the volume) and log.txt (the trace of the\n"
    "last run) lie beside the program when its folder is writable. Otherwise the keys and the\n"
    "volume are in $XDG_CONFIG_HOME/skyrift (~/.config/skyrift) and the log in\n"
    "$XDG_STATE_HOME/skyrift (~/.local/state/skyrift); on Windows all three in\n"
    "%LOCALAPPDATA%\\Skyrift.";

}  // namespace

CommandLineAnswer ReadCommandLine(const std::vector<std::string>& arguments,
                                  const std::string& version) {
  CommandLineAnswer answer;
  if (arguments.empty()) return answer;
  answer.play = false;
  if (arguments.size() == 1 && arguments[0] == "--help") {
    answer.text = kUsage;
  } else if (arguments.size() == 1 && arguments[0] == "--version") {
    answer.text = "Skyrift " + version;
  } else {
    // The first argument that is not a lone --help or --version is the one to name.
    const bool firstKnown = arguments[0] == "--help" || arguments[0] == "--version";
    answer.exitCode = 2;
    answer.text =
        "skyrift: unexpected argument \"" + arguments[firstKnown ? 1 : 0] + "\"\n" + kUsage;
  }
  return answer;
}

}  // namespace skyrift
