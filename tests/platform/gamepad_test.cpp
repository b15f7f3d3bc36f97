// Each layer's pads as the engine reads them: a controller's and a plain joystick's buttons one
// to six, axes and d-pad or hat, and a pad plugged in or pulled out mid-game.
#include <gtest/gtest.h>

#include "World.h"
#include "engine/Engine.h"
#include "platform/Gamepad.h"

namespace skyrift::testing {
namespace {

constexpr uint32_t kMid = 32768;

using Joystick = PadWorld;

TEST_F(Joystick, EachPadReadsButtonsOneToSixAndTheFullAxisRange) {
  for (bool controller : {true, false}) {
    ASSERT_TRUE(platform::AttachVirtualGamepad(controller));
    platform::GamepadReading reading;
    for (int button = 1; button <= 6; ++button) {
      platform::SetVirtualGamepadButton(button, true);
      ASSERT_TRUE(platform::ReadGamepad(reading));
      EXPECT_EQ(reading.buttons, 1u << (button - 1))
          << "button " << button << (controller ? " (controller)" : "");
      platform::SetVirtualGamepadButton(button, false);
    }
    platform::SetVirtualGamepadPosition(0, 65535);
    ASSERT_TRUE(platform::ReadGamepad(reading));
    EXPECT_EQ(reading.x, 0u);
    EXPECT_EQ(reading.y, 65535u);
    platform::DetachVirtualGamepad();
    EXPECT_FALSE(platform::ReadGamepad(reading));
    EXPECT_EQ(reading.buttons, 0u);
  }
}

TEST_F(Joystick, APlainJoystickUsesItsFirstSixButtonsAndItsHat) {
  ASSERT_TRUE(platform::AttachVirtualGamepad(false));
  ASSERT_TRUE(_pEngine->OpenJoystick());

  platform::SetVirtualGamepadPosition(kMid, 1000);
  EXPECT_EQ(Poll(), (POINT{0, -8}));
  platform::SetVirtualGamepadPosition(kMid, kMid);
  platform::SetVirtualGamepadDpad(false, true, false, true);
  EXPECT_EQ(Poll(), (POINT{6, 6}));
  platform::SetVirtualGamepadDpad(false, false, false, false);

  platform::SetVirtualGamepadButton(2, true);
  Poll(5);
  EXPECT_TRUE(_pPlayer1->IsRecharging());
  EXPECT_EQ(_pPlayer1->GetBitmap(), _bmpPlayer1Recharge);
  platform::SetVirtualGamepadButton(2, false);

  platform::SetVirtualGamepadButton(5, true);
  Poll(6);
  EXPECT_EQ(_iGameState, GameStateUpgrade1);
}

TEST_F(Joystick, APadPluggedInMidGameIsPickedUpAndAnUnpluggedOneGoesQuiet) {
  EXPECT_FALSE(_pEngine->OpenJoystick()) << "this test needs a machine without a gamepad";
  _pPlayer1->SetVelocity(1, 1);
  EXPECT_EQ(Poll(), (POINT{1, 1}));

  ASSERT_TRUE(platform::AttachVirtualGamepad(true));
  platform::SetVirtualGamepadPosition(10000, kMid);
  EXPECT_EQ(Poll(), (POINT{-8, 0})) << "the dead zone is worked out for a late pad too";
  platform::SetVirtualGamepadButton(1, true);
  Poll(4);
  EXPECT_EQ(_iFireDelay, 4);

  platform::DetachVirtualGamepad();
  _pPlayer1->SetVelocity(2, 2);
  Poll(4);
  EXPECT_EQ(_pPlayer1->GetVelocity(), (POINT{2, 2}));
  EXPECT_EQ(_iFireDelay, 4) << "the pulled-out pad's held button is gone";

  ASSERT_TRUE(platform::AttachVirtualGamepad(false));
  platform::SetVirtualGamepadPosition(60000, kMid);
  EXPECT_EQ(Poll(), (POINT{8, 0}));
}

}  // namespace
}  // namespace skyrift::testing
