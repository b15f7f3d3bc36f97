// The gamepad: the dead zone and flags the engine makes of a position and buttons, and a
// virtual pad steering through the engine and the game (plugged in and pulled out mid-game).
// How each layer reads a pad is tested on that layer (tests/platform/gamepad_test).
// What the game does with each flag is tested with the keyboard's actions (input_test).
#include "engine/Joystick.h"

#include <vector>

#include "Harness.h"
#include "Keys.h"
#include "World.h"
#include "engine/GameCallbacks.h"
#include "platform/Gamepad.h"

namespace skyrift::testing {
namespace {

constexpr uint32_t kMid = 32768;

using Joystick = PadWorld;

TEST_F(Joystick, TheDeadZoneIsTheMiddleHalfOfEachAxis) {
  const RECT zone = JoystickDeadZone(0, 65535, 0, 65535);
  EXPECT_EQ(zone, (RECT{16383, 16383, 49151, 49151}));
  EXPECT_EQ(JoystickDeadZone(0, 1023, 100, 300), (RECT{255, 150, 767, 250}));

  EXPECT_EQ(MakeStickState(zone, 10000, kMid, 0), StickLeft);
  EXPECT_EQ(MakeStickState(zone, 50000, kMid, 0), StickRight);
  EXPECT_EQ(MakeStickState(zone, 30000, kMid, 0), 0);
  EXPECT_EQ(MakeStickState(zone, 16382, kMid, 0), StickLeft);
  EXPECT_EQ(MakeStickState(zone, 16383, kMid, 0), 0);
  EXPECT_EQ(MakeStickState(zone, 49151, kMid, 0), 0);
  EXPECT_EQ(MakeStickState(zone, 49152, kMid, 0), StickRight);
  EXPECT_EQ(MakeStickState(zone, 0, 0, 0), StickLeft | StickUp);
  EXPECT_EQ(MakeStickState(zone, 65535, 65535, 0), StickRight | StickDown);
}

TEST_F(Joystick, ButtonsMapToTheirFlagsWithFiveAndSixSharingTheMenuBit) {
  const RECT zone = JoystickDeadZone(0, 65535, 0, 65535);
  const StickState expected[] = {0x0010, 0x0020, 0x0300, 0x0400, 0x5000, 0x6000};
  for (int button = 1; button <= 6; ++button) {
    EXPECT_EQ(MakeStickState(zone, kMid, kMid, 1u << (button - 1)), expected[button - 1]) << button;
  }
  EXPECT_EQ(MakeStickState(zone, kMid, kMid, 0x3F), 0x7730);
  // Buttons past the sixth are not the game's.
  EXPECT_EQ(MakeStickState(zone, kMid, kMid, 0xC0), 0);
}

TEST_F(Joystick, AVirtualControllerSteersAndPressesThroughThePlatform) {
  ASSERT_TRUE(platform::AttachVirtualGamepad(true));
  ASSERT_TRUE(_pEngine->OpenJoystick());
  _pEngine->AcquireJoystick();

  platform::SetVirtualGamepadPosition(10000, kMid);
  EXPECT_EQ(Poll(), (POINT{-8, 0}));
  platform::SetVirtualGamepadPosition(50000, kMid);
  EXPECT_EQ(Poll(), (POINT{8, 0}));
  platform::SetVirtualGamepadPosition(kMid, 60000);
  EXPECT_EQ(Poll(), (POINT{0, 8}));
  _pPlayer1->SetVelocity(3, 3);
  platform::SetVirtualGamepadPosition(30000, kMid);
  EXPECT_EQ(Poll(), (POINT{3, 3})) << "a stick in the dead zone leaves the keyboard's velocity";

  platform::SetVirtualGamepadDpad(true, false, true, false);
  EXPECT_EQ(Poll(), (POINT{-6, -6}));
  platform::SetVirtualGamepadDpad(false, false, false, false);

  // The right shoulder is button 6.
  platform::SetVirtualGamepadButton(6, true);
  Poll(6);
  EXPECT_EQ(_iGameState, GameStateUpgrade1);
  platform::SetVirtualGamepadButton(6, false);

  // A (button 1) counts toward a volley while it is held, and only then.
  _iGameState = GameStateStage1;
  platform::SetVirtualGamepadButton(1, true);
  Poll(3);
  platform::SetVirtualGamepadButton(1, false);
  Poll(3);
  EXPECT_EQ(_iFireDelay, 3);
  _pEngine->UnacquireJoystick();
}

TEST(GamepadInTheGame, APadPluggedInDuringPlayDrivesPlayerOneUntilItIsPulledOut) {
  GameHarness game;
  ASSERT_TRUE(game.Start());
  game.Hold(kEnter, 8);
  game.Hold(kOne, 8);
  ASSERT_EQ(_iGameState, GameStateStage1);
  ASSERT_NE(_pPlayer1, nullptr);

  ASSERT_TRUE(platform::AttachVirtualGamepad(true));
  const int x = _pPlayer1->GetPosition().left;
  platform::SetVirtualGamepadPosition(0, kMid);
  game.Step(5);
  EXPECT_EQ(_pPlayer1->GetPosition().left, x - 5 * 8);

  // A held: the keyboard's handler advances the fire counter too, so volleys come every fifth
  // frame rather than every ninth.
  platform::SetVirtualGamepadPosition(kMid, kMid);
  ClearPlayRequests();
  platform::SetVirtualGamepadButton(1, true);
  game.Step(20);
  platform::SetVirtualGamepadButton(1, false);
  EXPECT_EQ(Requests(_sndPlayerFire, kAnyFreeChannel), 4);

  // The left shoulder opens the menu and freezes the world.
  platform::SetVirtualGamepadButton(5, true);
  game.Step(6);
  platform::SetVirtualGamepadButton(5, false);
  EXPECT_EQ(_iGameState, GameStateUpgrade1);
  const int ticker = _iStageTicker;
  game.Step(10);
  EXPECT_EQ(_iStageTicker, ticker);
  platform::SetVirtualGamepadButton(6, true);
  game.Step(6);
  platform::SetVirtualGamepadButton(6, false);
  EXPECT_EQ(_iGameState, GameStateStage1);

  // Pulled out while pushed left: the ship stops and the keyboard carries on.
  platform::SetVirtualGamepadPosition(0, kMid);
  game.Step(1);
  platform::DetachVirtualGamepad();
  game.Step(3);
  const int stopped = _pPlayer1->GetPosition().left;
  game.Step(3);
  EXPECT_EQ(_pPlayer1->GetPosition().left, stopped);
  ClearPlayRequests();
  game.Hold(kP1Fire, 10);
  EXPECT_EQ(Requests(_sndPlayerFire, kAnyFreeChannel), 2);
}

}  // namespace
}  // namespace skyrift::testing
