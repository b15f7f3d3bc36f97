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

bool OpenGamepads() {
  return true;
}

int GamepadCount() {
  return pad.attached ? 1 : 0;
}

GamepadCaps GamepadCapabilities() {
  return GamepadCaps{0, kAxisMax, 0, kAxisMax};
}

bool ReadGamepad(GamepadReading& reading) {
  reading = GamepadReading{};
  if (!pad.attached) return false;
  reading.x = pad.left ? 0 : pad.right ? kAxisMax : pad.x;
  reading.y = pad.up ? 0 : pad.down ? kAxisMax : pad.y;
  reading.buttons = pad.buttons;
  return true;
}

void CaptureGamepad(bool) {}

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
