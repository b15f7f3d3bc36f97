// The gamepad: the dead zone and flags the engine makes of a position and buttons, a virtual
// pad read through the real platform and engine (plugged in and pulled out mid-game), and the
// game's answer to each flag with its thresholds and guards.
#include "engine/Joystick.h"

#include <vector>

#include "GameSamples.h"
#include "Harness.h"
#include "PlayWorld.h"
#include "engine/GameCallbacks.h"
#include "game/Players.h"
#include "platform/Gamepad.h"

namespace skyrift::testing {
namespace {

constexpr uint32_t kMid = 32768;

class Joystick : public PlayWorld {
 protected:
  void SetUp() override {
    PlayWorld::SetUp();
    _iNumPlayers = 1;
    CreatePlayers(FALSE);
    _bGameStarted = TRUE;
    _iGameState = GameStateStage1;
    _iStateBeforeMenu1 = 0;
    _iMenuToggleDelay = 0;
    _iUpgradeCost = 2500;
    _pPlayer1->SetBombs(0);
  }
  void TearDown() override {
    platform::DetachVirtualGamepad();
    PlayWorld::TearDown();
  }

  // A second ship, for the two-player cases.
  static void AddPlayer2() {
    _iNumPlayers = 2;
    _bPlayer2Out = FALSE;
    _pPlayer2 = new PlayerShip(_bmpPlayer2, RECT{0, 0, 900, 600}, EdgeStop);
    _pPlayer2->SetFrameCount(4);
    _pPlayer2->SetTag("player2");
    _pEngine->InsertSprite(_pPlayer2);
  }

  // The game's handler for `frames` frames with the same state.
  static void Run(StickState state, int frames) {
    for (int i = 0; i < frames; ++i) GameJoystick(state);
  }

  // The frames (1-based) after which `changed` says something changed.
  template <typename Changed>
  static std::vector<int> FramesWhere(StickState state, int frames, Changed changed) {
    std::vector<int> found;
    for (int frame = 1; frame <= frames; ++frame) {
      GameJoystick(state);
      if (changed()) found.push_back(frame);
    }
    return found;
  }

  // Polls the engine `times` times and returns the ship's velocity afterwards.
  static POINT Poll(int times = 1) {
    for (int i = 0; i < times; ++i) _pEngine->PollJoystick();
    return _pPlayer1->GetVelocity();
  }

  GameSamples samples;
};

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

TEST_F(Joystick, SteeringWithDiagonalsAtFourFifthsOfTheSpeed) {
  struct Case {
    StickState state;
    POINT velocity;
  };
  const Case cases[] = {
      {StickUp | StickLeft, {-6, -6}},
      {StickUp | StickRight, {6, -6}},
      {StickDown | StickLeft, {-6, 6}},
      {StickDown | StickRight, {6, 6}},
      {StickUp, {0, -8}},
      {StickDown, {0, 8}},
      {StickLeft, {-8, 0}},
      {StickRight, {8, 0}},
  };
  for (const Case& c : cases) {
    _pPlayer1->SetVelocity(0, 0);
    GameJoystick(c.state);
    EXPECT_EQ(_pPlayer1->GetVelocity(), c.velocity) << c.state;
  }
  _pPlayer1->UpgradeSpeed(1);
  GameJoystick(StickDown | StickLeft);
  EXPECT_EQ(_pPlayer1->GetVelocity(), (POINT{-7, 7}));
  GameJoystick(StickButton4);
  EXPECT_EQ(_pPlayer1->GetVelocity(), (POINT{-7, 7})) << "no direction: unchanged";
}

TEST_F(Joystick, ButtonSixAloneTogglesTheMenuLikeButtonFive) {
  auto inMenu = [] { return _iGameState == GameStateUpgrade1; };
  for (StickState button : {StickButton5, StickButton6}) {
    int last = _iGameState;
    auto toggled = [&] {
      const bool changed = _iGameState != last;
      last = _iGameState;
      return changed;
    };
    EXPECT_EQ(FramesWhere(button, 12, toggled), (std::vector<int>{6, 12})) << button;
    EXPECT_FALSE(inMenu());
    Run(button, 6);
    EXPECT_TRUE(inMenu());
    EXPECT_EQ(_iStateBeforeMenu1, GameStateStage1);
    Run(button, 6);
    EXPECT_EQ(_iGameState, GameStateStage1);
  }
  // Opened from the interlude, it returns there.
  _iGameState = GameStateInterlude;
  Run(StickButton6, 6);
  Run(StickButton6, 6);
  EXPECT_EQ(_iGameState, GameStateInterlude);
}

TEST_F(Joystick, ButtonOneInTheMenuBuysEveryFourthFrameAndQueuesAVolleyEveryNinth) {
  _iGameState = GameStateUpgrade1;
  _iUpgradeChoice = 2;
  _pPlayer1->AddPoints(3 * 2500);
  int health = _pPlayer1->GetMaxHealth();
  auto bought = [&] {
    const bool changed = _pPlayer1->GetMaxHealth() != health;
    health = _pPlayer1->GetMaxHealth();
    return changed;
  };
  std::vector<int> volleys;
  std::vector<int> buys;
  for (int frame = 1; frame <= 20; ++frame) {
    const int fireCount = _iFireDelay;
    GameJoystick(StickButton1);
    if (_iFireDelay < fireCount) volleys.push_back(frame);
    if (bought()) buys.push_back(frame);
  }
  EXPECT_EQ(buys, (std::vector<int>{4, 8, 12})) << "while the points last";
  EXPECT_EQ(volleys, (std::vector<int>{9, 18}));
  EXPECT_EQ(_pPlayer1->GetPoints(), 0);
  EXPECT_EQ(_iGameState, GameStateUpgrade1);
  EXPECT_EQ(GameSamples::Played(_sndUpgradeDing), 3);
  EXPECT_EQ(GameSamples::Played(_sndPlayerFire), 2);
  // The world is frozen in the menu: both volleys wait in the list, where they were made.
  const std::vector<Sprite*> shots = Tagged("bullet_p1");
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_EQ(shots[0]->GetPosition(), shots[1]->GetPosition());

  // Up and down on the stick move the highlight on the same counter.
  _iMenuDelay = 0;
  Run(StickUp, 4);
  EXPECT_EQ(_iUpgradeChoice, 1);
  Run(StickDown, 12);
  EXPECT_EQ(_iUpgradeChoice, 0) << "wrapped past the last entry";
}

TEST_F(Joystick, TogglesAndBombsWaitOnTheirCounters) {
  // Recharge mode on the fifth frame held, off on the tenth; no volley while it is on.
  EXPECT_EQ(FramesWhere(StickButton2 | StickButton1, 10, [] { return _iRechargeDelay == 0; }),
            (std::vector<int>{5, 10}));
  EXPECT_EQ(_iFireDelay, 10);
  EXPECT_TRUE(Tagged("bullet_p1").empty());
  EXPECT_FALSE(_pPlayer1->IsRecharging());
  Run(StickButton2, 5);
  ASSERT_TRUE(_pPlayer1->IsRecharging());
  EXPECT_EQ(_pPlayer1->GetSpeed(), 4);
  EXPECT_EQ(_pPlayer1->GetBitmap(), _bmpPlayer1Recharge);
  _iFireDelay = 0;
  Run(StickButton1, 12);
  EXPECT_EQ(_iFireDelay, 12) << "recharging: fire counts but never fires";
  Run(StickButton2, 5);
  EXPECT_EQ(_pPlayer1->GetSpeed(), 8);
  EXPECT_EQ(_pPlayer1->GetBitmap(), _bmpPlayer1);

  // Bullet time, on any of its bits, with its hum on channel 1.
  ClearPlayRequests();
  Run(0x0100, 5);
  EXPECT_TRUE(_bBulletTime);
  EXPECT_TRUE(_pPlayer1->HasBulletTime());
  EXPECT_EQ(GameSamples::Played(_sndBulletTimeAct), 1);
  EXPECT_EQ(GameSamples::Played(_sndBulletTimeDur, kBulletTimeChannel), 1);
  Run(0x0200, 5);
  EXPECT_FALSE(_bBulletTime);
  EXPECT_FALSE(_pPlayer1->HasBulletTime());
  EXPECT_EQ(GameSamples::Played(_sndBulletTimeDeact), 1);

  // Bombs: no counting without one; with one, the fifth frame clears the unprotected sprites.
  AddSprite("enemy_ship", 100, 100);
  _pPlayer1->SetBombs(0);
  Run(StickButton4, 6);
  EXPECT_EQ(_iBombDelay, 0);
  _pPlayer1->SetBombs(1);
  Run(StickButton4, 4);
  EXPECT_EQ(Tagged("enemy_ship").size(), 1u);
  Run(StickButton4, 1);
  EXPECT_EQ(_pPlayer1->GetBombs(), 0);
  EXPECT_TRUE(Tagged("enemy_ship").empty());
  EXPECT_EQ(Tagged("player1").size(), 2u) << "the ship and the bomb's flash";
  EXPECT_EQ(GameSamples::Played(_sndPlayerBomb), 1);
}

TEST_F(Joystick, BulletTimeSwitchedOnByPlayerTwoStaysOn) {
  AddPlayer2();
  _pPlayer2->SetBulletTime(1);
  _bBulletTime = TRUE;
  Run(StickButton3, 5);
  EXPECT_TRUE(_bBulletTime);
  EXPECT_EQ(_iBulletTimeDelay, 0) << "the press is used up";
  EXPECT_TRUE(PlayRequests().empty());

  _pPlayer2->SetBulletTime(0);
  Run(StickButton3, 5);
  EXPECT_FALSE(_bBulletTime);
}

TEST_F(Joystick, NothingWhilePlayerOneIsOutOrBeforeThePlayersAreChosen) {
  const StickState everything = StickUp | StickLeft | 0x7730;
  _pPlayer1->SetBombs(2);
  _pPlayer1->SetVelocity(1, 1);
  auto untouched = [&] {
    EXPECT_EQ(_iGameState, GameStateStage1);
    EXPECT_EQ(_pPlayer1->GetVelocity(), (POINT{1, 1}));
    EXPECT_EQ(_pPlayer1->GetBombs(), 2);
    EXPECT_FALSE(_pPlayer1->IsRecharging());
    EXPECT_FALSE(_bBulletTime);
    EXPECT_EQ(_iFireDelay + _iBombDelay + _iRechargeDelay + _iBulletTimeDelay + _iMenuToggleDelay,
              0);
    EXPECT_TRUE(Tagged("bullet_p1").empty());
    EXPECT_TRUE(PlayRequests().empty());
  };

  // Player 1 out while player 2 plays on.
  AddPlayer2();
  _bPlayer1Out = TRUE;
  Run(everything, 24);
  untouched();

  _bPlayer1Out = FALSE;
  _bGameStarted = FALSE;
  Run(everything, 24);
  untouched();
}

TEST(GamepadInTheGame, APadPluggedInDuringPlayDrivesPlayerOneUntilItIsPulledOut) {
  GameHarness game;
  ASSERT_TRUE(game.Start());
  auto tap = [&](int key) {
    game.Press(key);
    game.Step(8);
    game.Release(key);
  };
  tap(13);    // Enter
  tap(0x31);  // one player
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
  EXPECT_EQ(GameSamples::Played(_sndPlayerFire), 4);

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
  game.Press(32);
  game.Step(10);
  game.Release(32);
  EXPECT_EQ(GameSamples::Played(_sndPlayerFire), 2);
}

}  // namespace
}  // namespace skyrift::testing
