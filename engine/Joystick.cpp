// The engine's joystick: the dead zone taken from the stick's axis ranges, capture while the
// window is active, and the once-a-frame poll that hands the game its flags.
#include "engine/Joystick.h"

#include "engine/Engine.h"
#include "platform/Gamepad.h"

namespace skyrift {
namespace {

constexpr StickState kButtonFlags[] = {StickButton1, StickButton2, StickButton3,
                                       StickButton4, StickButton5, StickButton6};

// Only the low 16 bits of a side count, as the stick's own units are 16-bit.
uint32_t Low16(int32_t side) {
  return static_cast<uint32_t>(side) & 0xFFFF;
}

}  // namespace

RECT JoystickDeadZone(uint32_t xMin, uint32_t xMax, uint32_t yMin, uint32_t yMax) {
  const uint32_t xc = ((xMin + xMax) >> 1) & 0xFFFF;
  const uint32_t yc = ((yMin + yMax) >> 1) & 0xFFFF;
  return RECT{static_cast<int32_t>((xMin + xc) >> 1), static_cast<int32_t>((yMin + yc) >> 1),
              static_cast<int32_t>((xMax + xc) >> 1), static_cast<int32_t>((yMax + yc) >> 1)};
}

StickState MakeStickState(const RECT& deadZone, uint32_t x, uint32_t y, uint32_t buttons) {
  StickState state = 0;
  if (x < Low16(deadZone.left)) {
    state |= StickLeft;
  } else if (x > Low16(deadZone.right)) {
    state |= StickRight;
  }
  if (y < Low16(deadZone.top)) {
    state |= StickUp;
  } else if (y > Low16(deadZone.bottom)) {
    state |= StickDown;
  }
  for (int i = 0; i < 6; ++i) {
    if (buttons & (1u << i)) state |= kButtonFlags[i];
  }
  return state;
}

BOOL Engine::OpenJoystick() {
  if (!platform::OpenGamepads() || platform::GamepadCount() == 0) return FALSE;
  platform::GamepadReading reading;
  if (!platform::ReadGamepad(reading)) return FALSE;
  joystickId = 0;
  const platform::GamepadCaps caps = platform::GamepadCapabilities();
  joystickDeadZone = JoystickDeadZone(caps.xMin, caps.xMax, caps.yMin, caps.yMax);
  return TRUE;
}

void Engine::AcquireJoystick() {
  if (joystickId == 0) platform::CaptureGamepad(true);
}

void Engine::UnacquireJoystick() {
  if (joystickId == 0) platform::CaptureGamepad(false);
}

void Engine::PollJoystick() {
  if (joystickId != 0) return;
  StickState state = 0;
  platform::GamepadReading reading;
  if (platform::ReadGamepad(reading)) {
    // A pad plugged in after start has had no dead zone worked out yet.
    if (joystickDeadZone == RECT{}) {
      const platform::GamepadCaps caps = platform::GamepadCapabilities();
      joystickDeadZone = JoystickDeadZone(caps.xMin, caps.xMax, caps.yMin, caps.yMax);
    }
    state = MakeStickState(joystickDeadZone, reading.x, reading.y, reading.buttons);
  }
  GameJoystick(state);
}

}  // namespace skyrift
