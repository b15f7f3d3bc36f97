// The gamepad on WINMM: the first joystick that answers, read by polling with joyGetPosEx and
// scaled by its own capabilities to the 0 to 65535 axes the game expects. A d-pad arrives as
// the point-of-view hat; a controller's A, B, X, Y and shoulders are its buttons 1 to 6.
// Asking every joystick slot can take a few hundred milliseconds on Windows 10 once a
// controller has ever been connected: the slots are scanned on a thread of their own, at start
// and when Windows says devices changed, and the game's thread only reads the pad a scan found,
// with the capabilities the scan read.
#include "platform/Gamepad.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/win32/GamepadScan.h"

namespace skyrift::platform {
namespace {

constexpr uint32_t kAxisMax = 65535;
constexpr uint32_t kCentre = 32768;
constexpr int kButtons = 6;

// What WINMM reports of one pad: its axis ranges and a reading in those units.
struct RawPad {
  uint32_t xMin = 0, xMax = kAxisMax, yMin = 0, yMax = kAxisMax;
  uint32_t x = kCentre, y = kCentre;
  uint32_t buttons = 0;
  DWORD pov = JOY_POVCENTERED;
  bool hasPov = false;
};

class SystemSlots : public JoystickSlots {
 public:
  UINT Count() override { return joyGetNumDevs(); }
  bool Read(UINT id, JOYINFOEX& info) override {
    info = JOYINFOEX{};
    info.dwSize = sizeof info;
    info.dwFlags = JOY_RETURNALL;
    return joyGetPosEx(id, &info) == JOYERR_NOERROR;
  }
  bool Capabilities(UINT id, JOYCAPSW& caps) override {
    return joyGetDevCapsW(id, &caps, sizeof caps) == JOYERR_NOERROR;
  }
};

SystemSlots systemSlots;
std::atomic<JoystickSlots*> slots{&systemSlots};

// A pad a scan found: its slot, and its ranges in the units of its readings.
struct FoundPad {
  UINT id = 0;
  RawPad ranges;
};

struct ScanResult {
  int count = 0;
  std::optional<FoundPad> first;
};

ScanResult ScanSlots() {
  ScanResult result;
  JoystickSlots& asked = *slots.load();
  const UINT count = asked.Count();
  for (UINT id = 0; id < count; ++id) {
    JOYINFOEX info;
    JOYCAPSW caps{};
    if (!asked.Read(id, info) || !asked.Capabilities(id, caps)) continue;
    ++result.count;
    if (result.first) continue;
    FoundPad pad{id, {}};
    pad.ranges.xMin = caps.wXmin;
    pad.ranges.xMax = caps.wXmax;
    pad.ranges.yMin = caps.wYmin;
    pad.ranges.yMax = caps.wYmax;
    pad.ranges.hasPov = (caps.wCaps & JOYCAPS_HASPOV) != 0;
    result.first = pad;
  }
  return result;
}

// The thread that scans when asked, and what its last scan found.
class Scanner {
 public:
  ~Scanner() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

  void Request() {
    std::lock_guard lock(mutex_);
    due_ = true;
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    changed_.notify_all();
  }

  // What a scan finished since the last call found; nothing when none has.
  std::optional<ScanResult> TakeNew() {
    std::lock_guard lock(mutex_);
    if (!fresh_) return std::nullopt;
    fresh_ = false;
    return last_;
  }

  // Waits for the scans asked for to end, and tells what the last one found.
  ScanResult Settled() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !due_ && !scanning_; });
    return last_;
  }

  unsigned Scans() {
    std::lock_guard lock(mutex_);
    return scans_;
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return due_ || stop_; });
      if (stop_) return;
      due_ = false;
      scanning_ = true;
      lock.unlock();
      const ScanResult result = ScanSlots();
      lock.lock();
      scanning_ = false;
      last_ = result;
      fresh_ = true;
      ++scans_;
      changed_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  bool due_ = false, scanning_ = false, stop_ = false, fresh_ = false;
  ScanResult last_;
  unsigned scans_ = 0;
  std::thread thread_;
};

Scanner scanner;
bool started = false;
std::optional<FoundPad> current;  // the pad read on the game's thread
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

// The virtual pad first, then the pad the last scan found; nothing when there is none. A pad
// that stops answering was pulled out: the slots are scanned again for another.
std::optional<RawPad> ReadAny() {
  if (virtualPad) return virtualPad;
  if (auto scan = scanner.TakeNew()) current = scan->first;
  if (!current) return std::nullopt;
  JOYINFOEX info;
  if (!slots.load()->Read(current->id, info)) {
    current.reset();
    scanner.Request();
    return std::nullopt;
  }
  RawPad pad = current->ranges;
  pad.x = info.dwXpos;
  pad.y = info.dwYpos;
  pad.buttons = info.dwButtons;
  pad.pov = info.dwPOV;
  return pad;
}

}  // namespace

void UseJoystickSlots(JoystickSlots* replacement) {
  scanner.Settled();  // no scan is left asking the slots being replaced
  slots = replacement != nullptr ? replacement : &systemSlots;
  current.reset();
}

void GamepadDevicesChanged() {
  if (started) scanner.Request();
}

unsigned GamepadScans() {
  return scanner.Scans();
}

// A fresh start looks for a pad at once.
bool OpenGamepads() {
  started = true;
  current.reset();
  scanner.Request();
  return true;
}

// Asked at start, which may wait for the scan under way.
int GamepadCount() {
  if (!started) return 0;
  return scanner.Settled().count + (virtualPad ? 1 : 0);
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
