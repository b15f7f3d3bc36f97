// The players' actions from the keys and the pad, side by side: movement by the order of its
// tests, the shared repeat counters and each control's thresholds, the mode toggles, bullet
// time, the pad's menu button; then the keyboard's title sequence and stage-clear screen.
#include "game/KeyboardInput.h"

#include <algorithm>

#include "Keys.h"
#include "World.h"
#include "game/Players.h"
#include "game/Screens.h"
#include "sprites/Tags.h"

namespace skyrift::testing {
namespace {

using PadActions = PadWorld;

class InputTest : public World {
 protected:
  // The play dispatch of one frame.
  static void Frame() {
    if (!_bPlayer1Out) HandlePlayer1Keys();
    if (_iNumPlayers > 1 && !_bPlayer2Out) HandlePlayer2Keys();
  }
  // The 1-based frames, out of `frames`, in which `happened` turned true after the frame.
  template <typename Check>
  static std::vector<int> FramesWhere(int frames, Check happened) {
    std::vector<int> hits;
    for (int frame = 1; frame <= frames; ++frame) {
      Frame();
      if (happened()) hits.push_back(frame);
    }
    return hits;
  }
};

// Steering.
TEST_F(InputTest, MovementFollowsTheOrderOfItsTests) {
  struct Case {
    std::vector<int> held;
    std::vector<int> tapped;  // pressed and released since the last frame
    bool slow;
    POINT expected;
  };
  const POINT kept{1, 1};
  const Case cases[] = {
      {{}, {}, false, {0, 0}},
      {{kP1Left}, {}, false, {-8, 0}},
      {{kP1Right}, {}, false, {8, 0}},
      {{kP1Up}, {}, false, {0, -8}},
      {{kP1Down}, {}, false, {0, 8}},
      {{kP1Up, kP1Down}, {}, false, {0, -8}},  // up wins
      {{kP1Up, kP1Left}, {}, false, {-6, -6}},
      {{kP1Up, kP1Right}, {}, false, {6, -6}},
      {{kP1Down, kP1Left}, {}, false, {-6, 6}},
      {{kP1Down, kP1Right}, {}, false, {6, 6}},
      {{kP1Up, kP1Left, kP1Right}, {}, false, {-6, -6}},
      {{kP1Down, kP1Left}, {}, true, {-3, 3}},  // recharge speed 4
      {{kP1Left, kP1Right}, {}, false, kept},
      {{}, {kP1Up}, false, kept},  // a tap is not untouched, nor down
      {{kP1Left}, {kP1Down}, false, kept},
  };
  StartGame(false);
  for (const Case& c : cases) {
    platform::ResetKeyboard();
    if (c.slow) {
      _pPlayer1->UseSlowSpeed();
    } else {
      _pPlayer1->UseNormalSpeed();
    }
    _pPlayer1->SetVelocity(kept);
    for (int key : c.held) Hold(key);
    for (int key : c.tapped) {
      Hold(key);
      Let(key);
    }
    HandlePlayer1Keys();
    EXPECT_EQ(_pPlayer1->GetVelocity(), c.expected)
        << "held " << c.held.size() << " tapped " << c.tapped.size() << " slow " << c.slow;
  }

  // The frame after a tap the key is untouched again.
  platform::ResetKeyboard();
  Hold(kP1Up);
  Let(kP1Up);
  HandlePlayer1Keys();
  HandlePlayer1Keys();
  EXPECT_EQ(_pPlayer1->GetVelocity(), (POINT{0, 0}));
}

TEST_F(PadActions, SteeringWithDiagonalsAtFourFifthsOfTheSpeed) {
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

// Volleys, bombs and the mode toggles, on the counters both controls share.
TEST_F(InputTest, FireEveryFifthFrameExceptWhileRecharging) {
  StartGame(false);
  Hold(kP1Fire);
  EXPECT_EQ(FramesWhere(10, [] { return _iFireDelay == 0; }), (std::vector<int>{5, 10}));
  EXPECT_EQ(Tagged(TagBulletP1).size(), 2u);

  _pPlayer1->SetRecharging(1);
  _iFireDelay = 0;
  Frame();
  Frame();
  Frame();
  Frame();
  Frame();
  Frame();
  EXPECT_EQ(Tagged(TagBulletP1).size(), 2u);
  EXPECT_EQ(_iFireDelay, 6);  // the counter keeps counting
}

TEST_F(InputTest, BothPlayersShareOneCounterPerAction) {
  StartGame(true);
  Hold(kP1Fire);
  Hold(kP2Fire);
  std::vector<int> volleys1, volleys2;
  for (int frame = 1; frame <= 10; ++frame) {
    const size_t before1 = Tagged(TagBulletP1).size(), before2 = Tagged(TagBulletP2).size();
    Frame();
    if (Tagged(TagBulletP1).size() > before1) volleys1.push_back(frame);
    if (Tagged(TagBulletP2).size() > before2) volleys2.push_back(frame);
  }
  // Twice the counting, and each volley restarts the other player's count.
  EXPECT_EQ(volleys1, (std::vector<int>{3, 8}));
  EXPECT_EQ(volleys2, (std::vector<int>{5, 10}));
}

TEST_F(InputTest, BombsWaitNineFramesForPlayer1AndSixForPlayer2AndClearTheField) {
  StartGame(true);
  AddSprite(TagEnemyShip, 100, 100);
  AddSprite(TagPowerUp, 300, 100);
  _bPlayer2Out = TRUE;
  Hold(kP1Bomb);
  EXPECT_EQ(FramesWhere(9, [] { return _pPlayer1->GetBombs() == 1; }), (std::vector<int>{9}));
  EXPECT_TRUE(Tagged(TagEnemyShip).empty());
  EXPECT_EQ(Tagged(TagPowerUp).size(), 1u);
  EXPECT_EQ(Tagged(TagPlayer1).size(), 2u);  // the ship and the flash
  EXPECT_EQ(Requests(_sndPlayerBomb, kAnyFreeChannel), 1);
  Let(kP1Bomb);

  _bPlayer1Out = TRUE;
  _bPlayer2Out = FALSE;
  _iBombDelay = 0;
  Hold(kP2Bomb);
  EXPECT_EQ(FramesWhere(6, [] { return _pPlayer2->GetBombs() == 1; }), (std::vector<int>{6}));
  EXPECT_EQ(Tagged(TagPlayer1).size(), 3u);  // player 2's flash is player 1's too

  // Without bombs nothing happens, and the counter goes on counting.
  _pPlayer2->SetBombs(0);
  _iBombDelay = 0;
  for (int i = 0; i < 20; ++i) Frame();
  EXPECT_EQ(_pPlayer2->GetBombs(), 0);
  EXPECT_EQ(_iBombDelay, 20);
  EXPECT_EQ(Requests(_sndPlayerBomb, kAnyFreeChannel), 2) << "one for each bomb dropped";
}

TEST_F(InputTest, ModeTogglesWaitSixCountedFrames) {
  StartGame(false);
  Hold(kP1Recharge);
  EXPECT_EQ(FramesWhere(12, [] { return _iRechargeDelay == 0; }), (std::vector<int>{6, 12}));
  EXPECT_FALSE(_pPlayer1->IsRecharging());
  EXPECT_EQ(_pPlayer1->GetSpeed(), 8);
  EXPECT_EQ(_pPlayer1->GetBitmap(), _bmpPlayer1);
  for (int i = 0; i < 6; ++i) Frame();
  EXPECT_TRUE(_pPlayer1->IsRecharging());
  EXPECT_EQ(_pPlayer1->GetSpeed(), 4);
  EXPECT_EQ(_pPlayer1->GetBitmap(), _bmpPlayer1Recharge);
  Let(kP1Recharge);
}

TEST_F(InputTest, EachShipWearsItsOwnPictures) {
  StartGame(true);
  Hold(kP2Recharge);
  // Two players advance the counter twice a frame: player 2's handler reaches 6 in the third.
  EXPECT_EQ(FramesWhere(6, [] { return _iRechargeDelay == 0; }), (std::vector<int>{3, 6}));
  Let(kP2Recharge);
  EXPECT_FALSE(_pPlayer2->IsRecharging());
  EXPECT_EQ(_pPlayer2->GetBitmap(), _bmpPlayer2);
  Hold(kP2Recharge);
  for (int i = 0; i < 3; ++i) Frame();
  EXPECT_TRUE(_pPlayer2->IsRecharging());
  EXPECT_EQ(_pPlayer2->GetBitmap(), _bmpPlayer2Recharge);
  EXPECT_EQ(_pPlayer1->GetBitmap(), _bmpPlayer1) << "the other ship is left alone";
}

TEST_F(PadActions, TogglesAndBombsWaitOnTheirCounters) {
  // Recharge mode on the fifth frame held, off on the tenth; no volley while it is on.
  EXPECT_EQ(FramesWhere(StickButton2 | StickButton1, 10, [] { return _iRechargeDelay == 0; }),
            (std::vector<int>{5, 10}));
  EXPECT_EQ(_iFireDelay, 10);
  EXPECT_TRUE(Tagged(TagBulletP1).empty());
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
  EXPECT_EQ(Requests(_sndBulletTimeAct, kAnyFreeChannel), 1);
  EXPECT_EQ(Requests(_sndBulletTimeDur, kBulletTimeChannel), 1);
  Run(0x0200, 5);
  EXPECT_FALSE(_bBulletTime);
  EXPECT_FALSE(_pPlayer1->HasBulletTime());
  EXPECT_EQ(Requests(_sndBulletTimeDeact, kAnyFreeChannel), 1);

  // Bombs: no counting without one; with one, the fifth frame clears the unprotected sprites.
  AddSprite(TagEnemyShip, 100, 100);
  _pPlayer1->SetBombs(0);
  Run(StickButton4, 6);
  EXPECT_EQ(_iBombDelay, 0);
  _pPlayer1->SetBombs(1);
  Run(StickButton4, 4);
  EXPECT_EQ(Tagged(TagEnemyShip).size(), 1u);
  Run(StickButton4, 1);
  EXPECT_EQ(_pPlayer1->GetBombs(), 0);
  EXPECT_TRUE(Tagged(TagEnemyShip).empty());
  EXPECT_EQ(Tagged(TagPlayer1).size(), 2u) << "the ship and the bomb's flash";
  EXPECT_EQ(Requests(_sndPlayerBomb, kAnyFreeChannel), 1);
}

// Bullet time.
TEST_F(InputTest, BulletTimeIsOneFlagThatEitherPlayerFlips) {
  StartGame(true);
  Hold(kP1BulletTime);
  // Two players advance the counter twice a frame.
  EXPECT_EQ(FramesWhere(4, [] { return _bBulletTime; }), (std::vector<int>{4}));
  EXPECT_TRUE(_pPlayer1->HasBulletTime());
  Let(kP1BulletTime);

  _iBulletTimeDelay = 0;
  Hold(kP2BulletTime);
  for (int i = 0; i < 3; ++i) Frame();
  EXPECT_FALSE(_bBulletTime);
  EXPECT_FALSE(_pPlayer2->HasBulletTime());
  EXPECT_TRUE(_pPlayer1->HasBulletTime());  // the other ship's own flag is left alone
}

TEST_F(PadActions, BulletTimeSwitchedOnByPlayerTwoStaysOn) {
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

// The upgrade menu from the pad (the keys' side is with the state machine and the menu).
TEST_F(PadActions, ButtonSixAloneTogglesTheMenuLikeButtonFive) {
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

TEST_F(PadActions, ButtonOneInTheMenuBuysEveryFourthFrameAndQueuesAVolleyEveryNinth) {
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
  EXPECT_EQ(Requests(_sndUpgradeDing, kAnyFreeChannel), 3);
  EXPECT_EQ(Requests(_sndPlayerFire, kAnyFreeChannel), 2);
  // The world is frozen in the menu: both volleys wait in the list, where they were made.
  const std::vector<Sprite*> shots = Tagged(TagBulletP1);
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_EQ(shots[0]->GetPosition(), shots[1]->GetPosition());

  // Up and down on the stick move the highlight on the same counter.
  _iMenuDelay = 0;
  Run(StickUp, 4);
  EXPECT_EQ(_iUpgradeChoice, 1);
  Run(StickDown, 12);
  EXPECT_EQ(_iUpgradeChoice, 0) << "wrapped past the last entry";
}

// When the pad has no say.
TEST_F(PadActions, NothingWhilePlayerOneIsOutBeforeThePlayersAreChosenOrWhilePaused) {
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
    EXPECT_TRUE(Tagged(TagBulletP1).empty());
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

  // Play paused by key.
  _bGameStarted = TRUE;
  _bPlayPaused = TRUE;
  Run(everything, 24);
  untouched();
}

// The keyboard's screens.
TEST_F(InputTest, TitleAsksForStartThenThePlayerCount) {
  auto frames = [](int n) {
    for (int i = 0; i < n; ++i) HandleTitleKeys();
  };
  Hold(kOne);
  frames(10);
  EXPECT_FALSE(_bStartPressed);
  EXPECT_EQ(_iGameState, GameStateTitle);
  Let(kOne);

  DrawTitleScreen(_hOffscreenDC);
  EXPECT_EQ(_hOffscreenDC->GetPixel(310, 455), RGB(250, 250, 250));  // press enter

  Hold(kEnter);
  frames(1);
  EXPECT_TRUE(_bStartPressed);  // the counter was long past 6
  EXPECT_EQ(Requests(_sndUpgradeDing, kAnyFreeChannel), 1);
  Let(kEnter);
  DrawTitleScreen(_hOffscreenDC);
  EXPECT_EQ(_hOffscreenDC->GetPixel(160, 455), RGB(250, 250, 0));  // how many players

  Hold(kTwo);
  frames(1);
  EXPECT_FALSE(_bGameStarted);  // Enter restarted the counter
  frames(2);
  EXPECT_TRUE(_bGameStarted);
  EXPECT_EQ(_iGameState, GameStateStage1);
  EXPECT_EQ(_iNumPlayers, 2);
  ASSERT_NE(_pPlayer1, nullptr);
  ASSERT_NE(_pPlayer2, nullptr);
  EXPECT_EQ(_pPlayer1->GetPosition().left, 350);
  EXPECT_EQ(_pPlayer2->GetPosition().left, 550);
  EXPECT_EQ(_pEngine->GetSprites().size(), 2u);

  // Neither Enter nor another count does anything now.
  Hold(kEnter);
  Hold(kOne);
  frames(20);
  EXPECT_EQ(_iNumPlayers, 2);
  EXPECT_EQ(_pEngine->GetSprites().size(), 2u);
  EXPECT_EQ(Requests(_sndUpgradeDing, kAnyFreeChannel), 2) << "one for each of the two steps";
  const auto log = LogLines();
  EXPECT_EQ(std::count(log.begin(), log.end(), "CreatePlayers() start"), 1);
}

TEST_F(InputTest, EnterOrPlayerOnesFireStartsTheTitle) {
  for (const int key : {kEnter, kP1Fire, kP2Fire}) {
    ResetPlay();
    Hold(key);
    for (int frame = 0; frame < 7; ++frame) HandleTitleKeys();
    EXPECT_EQ(_bStartPressed, key != kP2Fire ? TRUE : FALSE) << key;
  }
}

TEST_F(InputTest, FireOnTheStageClearScreenStartsStage2OnceEvenForBothPlayers) {
  StartGame(true);
  _iGameState = GameStateInterlude;
  _iFireDelay = 3;
  Hold(kP1Fire);
  Hold(kP2Fire);
  HandleStageClearKeys();
  EXPECT_EQ(_iGameState, GameStateInterlude);  // 4 and 5 are not past the threshold
  HandleStageClearKeys();
  EXPECT_EQ(_iGameState, GameStateStage2);
  EXPECT_EQ(_iFireDelay, 7) << "both counted, and the start clears nothing";
  // The music stream is missing here, so each start writes one line.
  const auto log = LogLines();
  EXPECT_EQ(std::count(log.begin(), log.end(), "_sngCurrentStage = NULL"), 1);

  // Without fire the counter advances once a frame for each player in play, and only for them.
  Let(kP1Fire);
  Let(kP2Fire);
  const struct {
    BOOL out1, out2;
    int counted;
  } counts[] = {{FALSE, FALSE, 6}, {TRUE, FALSE, 3}, {FALSE, TRUE, 3}};
  for (const auto& c : counts) {
    _iGameState = GameStateInterlude;
    _bPlayer1Out = c.out1;
    _bPlayer2Out = c.out2;
    _iFireDelay = 0;
    for (int frame = 0; frame < 3; ++frame) HandleStageClearKeys();
    EXPECT_EQ(_iFireDelay, c.counted) << c.out1 << c.out2;
    EXPECT_EQ(_iGameState, GameStateInterlude);
  }
}

}  // namespace
}  // namespace skyrift::testing
