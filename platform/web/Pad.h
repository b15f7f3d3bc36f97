// A pad as the page's Gamepad API reports it, and the reading the game is given for it.
#pragma once

#include <cstdint>

#include "platform/Gamepad.h"

namespace skyrift::platform {

struct PagePad {
  float x = 0, y = 0;     // the first two axes, -1 (left, up) to 1 (right, down)
  uint32_t pressed = 0;   // bit n while button n is pressed
  bool standard = false;  // the standard mapping: d-pad buttons 12 to 15
};

GamepadReading ReadingFromPage(const PagePad& pad);

}  // namespace skyrift::platform
