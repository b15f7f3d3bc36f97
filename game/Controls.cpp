// The players' key bindings: eighteen virtual-key codes read once from controls.txt, in a
// fixed order, and written back to the trace so a player can see what the game understood.
#include "game/Controls.h"

#include <array>
#include <fstream>
#include <string>

#include "game/Trace.h"
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
  std::ifstream file("controls.txt");
  if (!file) TraceLine("Unable to open controls.txt. Is the file missing?");

  // The layout over lines is free. The first value that is not a number (or is out of range)
  // ends the reading: it and every later key keep what they had.
  for (int* binding : kBindings) {
    int code = 0;
    if (!(file >> code)) break;
    *binding = code;
  }

  std::string codes;
  for (const int* binding : kBindings) codes += std::to_string(*binding);
  TraceLine("");
  TraceLine("Controls:");
  TraceLine(codes);
  TraceLine("");
}

}  // namespace skyrift
