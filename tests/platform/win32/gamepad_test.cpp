// The joystick slots on Windows: asking every slot is slow, so without a pad they are scanned at
// most once a second, across the tick count's wrap; a known pad is read every time.
#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/Gamepad.h"
#include "platform/win32/GamepadScan.h"

namespace skyrift::platform {
namespace {

TEST(Win32Gamepad, WithoutAPadTheSlotsAreScannedAtMostOnceASecondAndAKnownPadIsReadEveryTime) {
  constexpr uint32_t kStart = 0xFFFFFE00;  // half a second before the count wraps
  ASSERT_TRUE(OpenGamepads());
  GamepadReading reading;
  DriveClock(kStart);
  ASSERT_FALSE(ReadGamepad(reading)) << "this test needs a machine without a gamepad";
  const unsigned scans = GamepadScans();
  for (uint32_t frame = 1; frame <= 24; ++frame) {  // a second of frames, short of a whole one
    DriveClock(kStart + frame * 41);
    EXPECT_FALSE(ReadGamepad(reading));
  }
  EXPECT_EQ(GamepadScans(), scans) << "scanned again within the second";
  DriveClock(kStart + 1000);  // past the wrap
  EXPECT_FALSE(ReadGamepad(reading));
  EXPECT_EQ(GamepadScans(), scans + 1) << "not scanned again after a second";

  ASSERT_TRUE(AttachVirtualGamepad(true));
  ASSERT_TRUE(ReadGamepad(reading)) << "a pad that was plugged in is found by the next read";
  const unsigned scansWithPad = GamepadScans();
  for (uint32_t x = 0; x <= 65535; x += 4369) {
    SetVirtualGamepadPosition(x, 0);
    ASSERT_TRUE(ReadGamepad(reading));
    EXPECT_EQ(reading.x, x) << "every read is a fresh reading of the pad";
  }
  EXPECT_EQ(GamepadScans(), scansWithPad) << "a known pad is read without a scan";
  DetachVirtualGamepad();
  EXPECT_FALSE(ReadGamepad(reading));
  UseRealClock();
}

}  // namespace
}  // namespace skyrift::platform
