// The page's first gamepad, from the Gamepad API. A pad in the standard mapping reads as a game
// controller (A, B, X, Y, left and right shoulder as buttons 1 to 6, the left stick or the d-pad
// as the position); any other as a plain joystick (its buttons 0 to 5, its first two axes). A
// virtual pad that tests plug in is read before any real one.
#include "platform/Gamepad.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>

#include "platform/web/Pad.h"

namespace skyrift::platform {
namespace {

constexpr uint32_t kAxisMax = 65535;
constexpr uint32_t kCentre = 32768;
constexpr int kButtons = 6;
// The standard mapping's d-pad buttons.
constexpr int kDpadUp = 12, kDpadDown = 13, kDpadLeft = 14, kDpadRight = 15;

struct VirtualPad {
  bool attached = false;
  uint32_t x = kCentre, y = kCentre;
  uint32_t buttons = 0;
  bool up = false, down = false, left = false, right = false;
} pad;

// Fills `axes` (x, y) and `pressed` (a bit per button, up to 32) from the first pad the page
// sees; 0 when none is connected, 1 for a pad in the standard mapping, 2 for any other.
// clang-format off
EM_JS(int, ReadPagePad, (float* axes, uint32_t* pressed), {
  if (typeof navigator === 'undefined' || !navigator.getGamepads) return 0;
  const pad = Array.from(navigator.getGamepads()).find(p => p && p.connected);
  if (!pad) return 0;
  HEAPF32[axes >> 2] = pad.axes.length > 0 ? pad.axes[0] : 0;
  HEAPF32[(axes >> 2) + 1] = pad.axes.length > 1 ? pad.axes[1] : 0;
  let bits = 0;
  pad.buttons.slice(0, 32).forEach((button, i) => {
    if (button.pressed) bits |= 1 << i;
  });
  HEAPU32[pressed >> 2] = bits >>> 0;
  return pad.mapping === 'standard' ? 1 : 2;
});
// clang-format on

uint32_t AxisPosition(float value) {
  if (!std::isfinite(value)) return kCentre;
  const float clamped = std::clamp(value, -1.0f, 1.0f);
  return static_cast<uint32_t>(std::lround((clamped + 1.0f) * (kAxisMax / 2.0f)));
}

bool Pressed(uint32_t bits, int index) {
  return (bits >> index) & 1u;
}

}  // namespace

GamepadReading ReadingFromPage(const PagePad& page) {
  GamepadReading reading;
  reading.x = AxisPosition(page.x);
  reading.y = AxisPosition(page.y);
  reading.buttons = page.pressed & ((1u << kButtons) - 1);
  if (page.standard) {
    if (Pressed(page.pressed, kDpadLeft)) reading.x = 0;
    if (Pressed(page.pressed, kDpadRight)) reading.x = kAxisMax;
    if (Pressed(page.pressed, kDpadUp)) reading.y = 0;
    if (Pressed(page.pressed, kDpadDown)) reading.y = kAxisMax;
  }
  return reading;
}

bool OpenGamepads() {
  return true;
}

int GamepadCount() {
  if (pad.attached) return 1;
  float axes[2];
  uint32_t pressed = 0;
  return ReadPagePad(axes, &pressed) != 0 ? 1 : 0;
}

GamepadCaps GamepadCapabilities() {
  return GamepadCaps{0, kAxisMax, 0, kAxisMax};
}

bool ReadGamepad(GamepadReading& reading) {
  reading = GamepadReading{};
  if (pad.attached) {
    reading.x = pad.left ? 0 : pad.right ? kAxisMax : pad.x;
    reading.y = pad.up ? 0 : pad.down ? kAxisMax : pad.y;
    reading.buttons = pad.buttons;
    return true;
  }
  float axes[2] = {0, 0};
  uint32_t pressed = 0;
  const int kind = ReadPagePad(axes, &pressed);
  if (kind == 0) return false;
  reading = ReadingFromPage(PagePad{axes[0], axes[1], pressed, kind == 1});
  return true;
}

// The page reads its pads only when asked: nothing moves while the game sleeps.
void CaptureGamepad(bool) {}

bool AttachVirtualGamepad(bool) {
  if (pad.attached) return false;
  pad = VirtualPad{};
  pad.attached = true;
  return true;
}

void SetVirtualGamepadPosition(uint32_t x, uint32_t y) {
  pad.x = std::min(x, kAxisMax);
  pad.y = std::min(y, kAxisMax);
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
