// The gamepad on WINMM: the first joystick that answers, read by polling with joyGetPosEx and
// scaled by its own capabilities to the 0 to 65535 axes the game expects. A d-pad arrives as
// the point-of-view hat; a controller's A, B, X, Y and shoulders are its buttons 1 to 6.
// Asking every joystick slot is slow on Windows, so with no pad the slots are scanned at most
// once a second; a known pad is read every frame.
#include "platform/Gamepad.h"

#include "platform/win32/Win32.h"

#include <mmsystem.h>

#include <algorithm>
#include <optional>

#include "platform/Clock.h"
#include "platform/win32/GamepadScan.h"

namespace skyrift::platform {
namespace {

constexpr uint32_t kAxisMax = 65535;
constexpr uint32_t kCentre = 32768;
constexpr int kButtons = 6;
constexpr uint32_t kScanIntervalMs = 1000;

// What WINMM reports of one pad: its axis ranges and a reading in those units.
struct RawPad {
  uint32_t xMin = 0, xMax = kAxisMax, yMin = 0, yMax = kAxisMax;
  uint32_t x = kCentre, y = kCentre;
  uint32_t buttons = 0;
  DWORD pov = JOY_POVCENTERED;
  bool hasPov = false;
};

// The virtual pad sits in a slot of its own before the system's, found by the same scan.
constexpr UINT kVirtualSlot = ~0u;

bool started = false;
std::optional<UINT> current;       // the slot read last time, read alone while it answers
std::optional<uint32_t> lastScan;  // none: the next read scans
unsigned scans = 0;
std::optional<RawPad> virtualPad;

uint32_t Scale(uint32_t value, uint32_t low, uint32_t high) {
  if (high <= low) return kCentre;
  if (value <= low) return 0;
  if (value >= high) return kAxisMax;
  return static_cast<uint32_t>(uint64_t{value - low} * kAxisMax / (high - low));
}

GamepadReading Convert(const RawPad& pad) {
  GamepadReading reading;
  reading.x = Scale(pad.x, pad.xMin, pad.xMax);
  reading.y = Scale(pad.y, pad.yMin, pad.yMax);
  // The hat pushes the position to the end of its axis, over whatever the stick says; its
  // angle is in hundredths of a degree clockwise from up.
  if (pad.hasPov && pad.pov != JOY_POVCENTERED && pad.pov < 36000) {
    const DWORD angle = pad.pov;
    if (angle > 0 && angle < 18000) reading.x = kAxisMax;
    if (angle > 18000) reading.x = 0;
    if (angle < 9000 || angle > 27000) reading.y = 0;
    if (angle > 9000 && angle < 27000) reading.y = kAxisMax;
  }
  reading.buttons = pad.buttons & ((1u << kButtons) - 1);
  return reading;
}

std::optional<RawPad> ReadJoystick(UINT id) {
  if (id == kVirtualSlot) return virtualPad;
  JOYINFOEX info{};
  info.dwSize = sizeof info;
  info.dwFlags = JOY_RETURNALL;
  if (joyGetPosEx(id, &info) != JOYERR_NOERROR) return std::nullopt;
  JOYCAPSW caps{};
  if (joyGetDevCapsW(id, &caps, sizeof caps) != JOYERR_NOERROR) return std::nullopt;
  RawPad pad;
  pad.xMin = caps.wXmin;
  pad.xMax = caps.wXmax;
  pad.yMin = caps.wYmin;
  pad.yMax = caps.wYmax;
  pad.x = info.dwXpos;
  pad.y = info.dwYpos;
  pad.buttons = info.dwButtons;
  pad.hasPov = (caps.wCaps & JOYCAPS_HASPOV) != 0;
  pad.pov = info.dwPOV;
  return pad;
}

// The current pad, else the first that answers a scan; nothing when none is plugged in or
// the last scan was less than a second ago.
std::optional<RawPad> ReadAny() {
  if (current) {
    if (auto pad = ReadJoystick(*current)) return pad;
    current.reset();
  }
  const uint32_t now = GetTickCount();
  if (lastScan && TicksBetween(*lastScan, now) < kScanIntervalMs) return std::nullopt;
  lastScan = now;
  ++scans;
  if (auto pad = ReadJoystick(kVirtualSlot)) {
    current = kVirtualSlot;
    return pad;
  }
  const UINT count = joyGetNumDevs();
  for (UINT id = 0; id < count; ++id) {
    if (auto pad = ReadJoystick(id)) {
      current = id;
      return pad;
    }
  }
  return std::nullopt;
}

}  // namespace

unsigned GamepadScans() {
  return scans;
}

// A fresh start looks for a pad at once.
bool OpenGamepads() {
  started = true;
  lastScan.reset();
  return true;
}

int GamepadCount() {
  if (!started) return 0;
  int count = virtualPad ? 1 : 0;
  const UINT devices = joyGetNumDevs();
  for (UINT id = 0; id < devices; ++id) count += ReadJoystick(id) ? 1 : 0;
  return count;
}

GamepadCaps GamepadCapabilities() {
  return GamepadCaps{0, kAxisMax, 0, kAxisMax};
}

bool ReadGamepad(GamepadReading& reading) {
  reading = GamepadReading{};
  if (!started) return false;
  const auto pad = ReadAny();
  if (!pad) return false;
  reading = Convert(*pad);
  return true;
}

// WINMM joysticks are polled and post no messages, so there is nothing to hold back while the
// game is in the background.
void CaptureGamepad(bool) {}

// --- The virtual pad: a WINMM-shaped device of our own, read through the same conversion --
// Plugging it in starts the pads afresh, so the next read finds it, as a pad the player plugs
// in is found by the next scan.
bool AttachVirtualGamepad(bool /*gameController: both kinds read alike through WINMM*/) {
  if (virtualPad || !OpenGamepads()) return false;
  virtualPad = RawPad{};
  // Its axes run over a range of their own, as real devices' do, so the scaling is exercised.
  virtualPad->xMin = virtualPad->yMin = 1000;
  virtualPad->xMax = virtualPad->yMax = 1000 + kAxisMax;
  virtualPad->x = virtualPad->y = 1000 + kCentre;
  virtualPad->hasPov = true;
  return true;
}

void SetVirtualGamepadPosition(uint32_t x, uint32_t y) {
  if (!virtualPad) return;
  virtualPad->x = virtualPad->xMin + std::min(x, kAxisMax);
  virtualPad->y = virtualPad->yMin + std::min(y, kAxisMax);
}

void SetVirtualGamepadButton(int button, bool down) {
  if (!virtualPad || button < 1 || button > kButtons) return;
  const uint32_t bit = 1u << (button - 1);
  virtualPad->buttons = down ? (virtualPad->buttons | bit) : (virtualPad->buttons & ~bit);
}

void SetVirtualGamepadDpad(bool up, bool down, bool left, bool right) {
  if (!virtualPad) return;
  // Up 0, then clockwise in hundredths of a degree; opposite directions cancel.
  const int dx = (right ? 1 : 0) - (left ? 1 : 0), dy = (down ? 1 : 0) - (up ? 1 : 0);
  static constexpr DWORD kAngles[3][3] = {
      {31500, 0, 4500}, {27000, JOY_POVCENTERED, 9000}, {22500, 18000, 13500}};
  virtualPad->pov = kAngles[dy + 1][dx + 1];
}

void DetachVirtualGamepad() {
  virtualPad.reset();
}

}  // namespace skyrift::platform
