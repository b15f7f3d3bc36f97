// The first gamepad: a game controller if one is plugged in, else the first plain joystick.
// Its position is reported on axes running 0 to 65535 and its buttons numbered 1 to 6:
// on a controller A, B, X, Y, left and right shoulder; on a plain joystick its buttons 0 to 5.
// Pads plugged in or pulled out during play are noticed on the next read. The null layer has no
// pads but the virtual one below.
#pragma once

#include <cstdint>

namespace skyrift::platform {

struct GamepadCaps {
  uint32_t xMin, xMax, yMin, yMax;
};

struct GamepadReading {
  uint32_t x = 0;        // 0 (left) to 65535 (right)
  uint32_t y = 0;        // 0 (up) to 65535 (down)
  uint32_t buttons = 0;  // bit n-1 set while button n (1 to 6) is down
};

// Starts the joystick and controller support. False when it cannot be started; reads then fail.
bool OpenGamepads();
// How many joysticks and controllers are plugged in now.
int GamepadCount();
// The axis ranges every read is reported in.
GamepadCaps GamepadCapabilities();
// Reads the current pad, picking up a newly plugged one; false when none is plugged in.
bool ReadGamepad(GamepadReading& reading);
// While released, the pad's movements raise no events, so a game in the background sleeps on.
void CaptureGamepad(bool captured);

// --- For tests: a virtual pad that reads like a real one ------------------------------------
// Plugs one in, as a game controller or as a plain joystick with a hat; false on failure.
bool AttachVirtualGamepad(bool gameController);
// Its stick, in the units ReadGamepad reports (0 to 65535 on each axis).
void SetVirtualGamepadPosition(uint32_t x, uint32_t y);
// Button 1 to 6, mapped as ReadGamepad maps them.
void SetVirtualGamepadButton(int button, bool down);
// The d-pad (a controller's d-pad buttons, a plain joystick's first hat).
void SetVirtualGamepadDpad(bool up, bool down, bool left, bool right);
// Pulls it out again.
void DetachVirtualGamepad();

}  // namespace skyrift::platform
