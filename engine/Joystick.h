// The stick's position and buttons as the game sees them: one 16-bit set of flags per frame.
// Buttons 3, 5 and 6 carry more than one bit, and 5 and 6 share 0x4000, so the game's
// menu test (any of 0x5000) is met by either shoulder.
#pragma once

#include <cstdint>

#include "engine/GameCallbacks.h"
#include "platform/Types.h"

namespace skyrift {

constexpr StickState StickLeft = 0x0001;
constexpr StickState StickRight = 0x0002;
constexpr StickState StickUp = 0x0004;
constexpr StickState StickDown = 0x0008;
constexpr StickState StickButton1 = 0x0010;
constexpr StickState StickButton2 = 0x0020;
constexpr StickState StickButton3 = 0x0300;
constexpr StickState StickButton4 = 0x0400;
constexpr StickState StickButton5 = 0x5000;
constexpr StickState StickButton6 = 0x6000;

// The middle half of each axis, in the stick's raw units, from the axes' ranges.
RECT JoystickDeadZone(uint32_t xMin, uint32_t xMax, uint32_t yMin, uint32_t yMax);

// The flags for a position and a set of buttons (bit n-1 for button n), left and up taking
// precedence over right and down.
StickState MakeStickState(const RECT& deadZone, uint32_t x, uint32_t y, uint32_t buttons);

}  // namespace skyrift
