// No system pads: the only pad is the virtual one a test plugs in, read as a real one reads,
// its d-pad pushing the position to the end of its axis.
#include "platform/Gamepad.h"

namespace skyrift::platform {
namespace {

constexpr uint32_t kAxisMax = 65535;
constexpr uint32_t kCentre = 32768;
constexpr int kButtons = 6;

struct VirtualPad {
  bool attached = false;
  uint32_t x = kCentre, y = kCentre;
  uint32_t buttons = 0;
  bool up = false, down = false, left = false, right = false;
} pad;

}  // namespace

// A real system: start the system's pad input; true when it can be asked.
bool OpenGamepads() {
  return true;
}

// A real system: how many pads are plugged in now, the virtual one included.
int GamepadCount() {
  return pad.attached ? 1 : 0;
}

// A real system: the axis range the readings use (0 to 65535 keeps the game's dead zone).
GamepadCaps GamepadCapabilities() {
  return GamepadCaps{0, kAxisMax, 0, kAxisMax};
}

// A real system: the first pad's position and buttons 1 to 6; false when none answers.
bool ReadGamepad(GamepadReading& reading) {
  reading = GamepadReading{};
  if (!pad.attached) return false;
  reading.x = pad.left ? 0 : pad.right ? kAxisMax : pad.x;
  reading.y = pad.up ? 0 : pad.down ? kAxisMax : pad.y;
  reading.buttons = pad.buttons;
  return true;
}

// A real system: take or give back the pad as the window gains or loses the focus.
void CaptureGamepad(bool) {}

// A real system keeps the virtual pad beside its own: tests plug it in on every layer, and it
// counts as the first pad while it is attached.
bool AttachVirtualGamepad(bool) {
  if (pad.attached) return false;
  pad = VirtualPad{};
  pad.attached = true;
  return true;
}

void SetVirtualGamepadPosition(uint32_t x, uint32_t y) {
  pad.x = x > kAxisMax ? kAxisMax : x;
  pad.y = y > kAxisMax ? kAxisMax : y;
}

void SetVirtualGamepadButton(int button, bool down) {
  if (button < 1 || button > kButtons) return;
  const uint32_t bit = 1u << (button - 1);
  pad.buttons = down ? pad.buttons | bit : pad.buttons & ~bit;
}

void SetVirtualGamepadDpad(bool up, bool down, bool left, bool right) {
  pad.up = up, pad.down = down, pad.left = left, pad.right = right;
}

void DetachVirtualGamepad() {
  pad = VirtualPad{};
}

}  // namespace skyrift::platform
