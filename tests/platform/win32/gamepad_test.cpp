// The joystick slots on Windows: asking them can take a few hundred milliseconds, so they are
// scanned on a thread of their own, at start and when Windows says devices changed; the game's
// thread reads only the pad a scan found, with the capabilities the scan read.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/Gamepad.h"
#include "platform/win32/GamepadScan.h"

namespace skyrift::platform {
namespace {

using Clock = std::chrono::steady_clock;

// Sixteen slots, each as slow to answer as Windows 10 can be, with a pad in one of them or none.
class FakeSlots : public JoystickSlots {
 public:
  UINT Count() override { return 16; }
  bool Read(UINT id, JOYINFOEX& info) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(slowMs));
    ++reads[id];
    if (static_cast<int>(id) != plugged) return false;
    info.dwXpos = x;
    info.dwYpos = 0;
    info.dwButtons = 0;
    info.dwPOV = JOY_POVCENTERED;
    return true;
  }
  bool Capabilities(UINT id, JOYCAPSW& caps) override {
    ++capabilityReads;
    if (static_cast<int>(id) != plugged) return false;
    caps.wXmin = caps.wYmin = 100;
    caps.wXmax = caps.wYmax = 1100;
    return true;
  }
  int slowMs = 25;  // a whole scan: 400 ms
  std::atomic<int> plugged = -1;
  std::atomic<uint32_t> x = 600;
  std::atomic<int> reads[16] = {};
  std::atomic<int> capabilityReads = 0;
};

class Win32Gamepad : public ::testing::Test {
 protected:
  void SetUp() override { UseJoystickSlots(&slots_); }
  void TearDown() override { UseJoystickSlots(nullptr); }
  FakeSlots slots_;
};

TEST_F(Win32Gamepad, SlowScansNeverHoldUpAFrame) {
  ASSERT_TRUE(OpenGamepads());
  const unsigned scans = GamepadScans();
  GamepadReading reading;
  // Three seconds of frames, Windows saying a device changed every second.
  const auto start = Clock::now();
  Clock::duration slowest{};
  for (int frame = 0; frame < 72; ++frame) {
    if (frame % 24 == 12) GamepadDevicesChanged();
    const auto before = Clock::now();
    EXPECT_FALSE(ReadGamepad(reading));
    slowest = std::max(slowest, Clock::now() - before);
    std::this_thread::sleep_until(start + std::chrono::milliseconds(41 * (frame + 1)));
  }
  EXPECT_LT(slowest, std::chrono::milliseconds(20)) << "a frame waited for a scan";
  EXPECT_EQ(GamepadCount(), 0) << "waits for the last scan asked for";
  EXPECT_GE(GamepadScans(), scans + 3) << "the start's scan and one for each change";
  // Without a change from Windows the slots are left alone.
  const unsigned settled = GamepadScans();
  for (int frame = 0; frame < 24; ++frame) EXPECT_FALSE(ReadGamepad(reading));
  EXPECT_EQ(GamepadScans(), settled);
}

TEST_F(Win32Gamepad, AFoundPadIsReadAloneWithItsCapabilitiesReadOnce) {
  slots_.slowMs = 1;
  slots_.plugged = 3;
  ASSERT_TRUE(OpenGamepads());
  EXPECT_EQ(GamepadCount(), 1);
  GamepadReading reading;
  ASSERT_TRUE(ReadGamepad(reading));
  const int capabilityReads = slots_.capabilityReads;
  const int otherReads = slots_.reads[2] + slots_.reads[4];
  for (uint32_t x = 100; x <= 1100; x += 100) {
    slots_.x = x;
    ASSERT_TRUE(ReadGamepad(reading));
    EXPECT_EQ(reading.x, (x - 100) * 65535 / 1000) << "scaled by the pad's own range";
  }
  EXPECT_EQ(slots_.capabilityReads, capabilityReads) << "capabilities read again";
  EXPECT_EQ(slots_.reads[2] + slots_.reads[4], otherReads) << "other slots asked";

  // Pulled out: the read fails, and the scan it asks for finds it in another slot.
  slots_.plugged = 7;
  EXPECT_FALSE(ReadGamepad(reading));
  EXPECT_EQ(GamepadCount(), 1);
  EXPECT_TRUE(ReadGamepad(reading)) << "found again in slot 7";
}

}  // namespace
}  // namespace skyrift::platform
