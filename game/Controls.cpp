// The players' key bindings: eighteen virtual-key codes read once from controls.txt, in a
// fixed order, and written back to the trace so a player can see what the game understood.
#include "game/Controls.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

#include "game/Trace.h"
#include "platform/Files.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

// The file's order, which is also the order of the logged line.
const std::array<int*, 18> kBindings = {
    &_iKeyP1Up,         &_iKeyP1Down,       &_iKeyP1Left,     &_iKeyP1Right, &_iKeyP1Fire,
    &_iKeyP1Bomb,       &_iKeyP1BulletTime, &_iKeyP1Recharge, &_iKeyP1Menu,  &_iKeyP2Up,
    &_iKeyP2Down,       &_iKeyP2Left,       &_iKeyP2Right,    &_iKeyP2Fire,  &_iKeyP2Bomb,
    &_iKeyP2BulletTime, &_iKeyP2Recharge,   &_iKeyP2Menu,
};

}  // namespace

void LoadControls() {
  constexpr const char* kFileName = "controls.txt";
  // A pipe or a device in its place would block the opening: only a plain file is read.
  std::string problem = platform::WhyNotARegularFile(kFileName);
  std::ifstream file;
  if (problem.empty()) {
    file.open(kFileName);
    if (!file) problem = std::strerror(errno);
  }
  if (!problem.empty()) {
    TraceLine("Unable to open controls.txt. Is the file missing?");
    std::fprintf(stderr, "Skyrift: %s cannot be used: %s; no key is bound\n", kFileName,
                 problem.c_str());
  }

  // Editors such as Notepad start a UTF-8 file with a byte-order mark.
  if (file && file.peek() == 0xEF) {
    char mark[3] = {};
    file.read(mark, 3);
    if (std::string_view(mark, 3) != "\xEF\xBB\xBF") {
      file.clear();
      file.seekg(0);
    }
  }

  // The layout over lines is free. The first value that is not a number (or is out of range)
  // ends the reading: it and every later key keep what they had.
  for (size_t i = 0; i < kBindings.size(); ++i) {
    int code = 0;
    if (!(file >> code)) {
      if (problem.empty()) {
        std::fprintf(stderr, "Skyrift: %s: value %zu is missing or not a key code; it and the"
                     " ones after it are not read\n", kFileName, i + 1);
      }
      break;
    }
    *kBindings[i] = code;
  }

  std::string codes;
  for (const int* binding : kBindings) codes += std::to_string(*binding);
  TraceLine("");
  TraceLine("Controls:");
  TraceLine(codes);
  TraceLine("");
}

}  // namespace skyrift
