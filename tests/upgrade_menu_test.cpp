// The upgrade menu: the price, what each entry buys, the repeat rate of held keys and the
// highlight both players' menus share.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "game/Globals.h"
#include "game/UpgradeMenu.h"
#include "graphics/Bitmap.h"
#include "platform/Keyboard.h"
#include "sprites/PlayerShip.h"

namespace skyrift {
namespace {

constexpr int kUp = 38, kDown = 40, kFire = 32, kTab = 9;
constexpr int kP2Up = 87, kP2Down = 83, kP2Fire = 70, kQ = 81;

class UpgradeMenu : public ::testing::Test {
 protected:
  UpgradeMenu()
      : target(platform::Surface::CreateTarget(900, 732, 0)),
        shipImage(target.get(), 200, 64, RGB(0, 200, 0)),
        engine(platform::ProgramModule(), "Skyrift", "Skyrift", 1000, 1001, 900, 732) {
    platform::ResetKeyboard();
    _pEngine = &engine;
    _pPlayer1 = AddShip("player1");
    _pPlayer2 = AddShip("player2");
    _bPlayer1Out = _bPlayer2Out = FALSE;
    _iNumPlayers = 2;
    _bGameOver = FALSE;
    _iGameState = GameStateUpgrade1;
    _iMenuDelay = _iMenuToggleDelay = 0;
    _iUpgradeChoice = 0;
    _iUpgradeCost = 2500;
    _iKeyP1Up = kUp, _iKeyP1Down = kDown, _iKeyP1Fire = kFire, _iKeyP1Menu = kTab;
    _iKeyP2Up = kP2Up, _iKeyP2Down = kP2Down, _iKeyP2Fire = kP2Fire, _iKeyP2Menu = kQ;
  }
  ~UpgradeMenu() override {
    engine.DeleteAllSprites();
    _pEngine = nullptr;
    _pPlayer1 = _pPlayer2 = nullptr;
    platform::ResetKeyboard();
  }

  PlayerShip* AddShip(const char* tag) {
    auto* ship = new PlayerShip(&shipImage, RECT{0, 0, 900, 600}, EdgeStop);
    ship->SetFrameCount(4);
    ship->SetTag(tag);
    engine.InsertSprite(ship);
    return ship;
  }

  // Player 1's menu for `frames` frames with `keys` held; the highlight after each frame.
  std::vector<int> Hold(std::vector<int> keys, int frames) {
    for (int key : keys) platform::KeyEvent(key, true);
    std::vector<int> choices;
    for (int i = 0; i < frames; ++i) {
      HandleUpgradeMenuKeys(_pPlayer1, kUp, kDown, kFire);
      choices.push_back(_iUpgradeChoice);
    }
    for (int key : keys) platform::KeyEvent(key, false);
    return choices;
  }

  std::unique_ptr<platform::Surface> target;
  Bitmap shipImage;
  Engine engine;
};

TEST_F(UpgradeMenu, AHeldKeyMovesTheHighlightEveryFourthFrameAndWraps) {
  EXPECT_EQ(Hold({kUp}, 8), (std::vector<int>{0, 0, 0, 3, 3, 3, 3, 2}));
  EXPECT_EQ(_iMenuDelay, 0);
  _iUpgradeChoice = 2;
  EXPECT_EQ(Hold({kDown}, 8), (std::vector<int>{2, 2, 2, 3, 3, 3, 3, 0}));
  // Nothing held: the counter stands still.
  Hold({kUp}, 2);
  Hold({}, 5);
  EXPECT_EQ(_iMenuDelay, 2);
}

TEST_F(UpgradeMenu, TwoHeldKeysShareOneCounterAndActSooner) {
  // Up and down each advance the counter; down, tested second, reaches the threshold.
  EXPECT_EQ(Hold({kUp, kDown}, 6), (std::vector<int>{0, 1, 1, 2, 2, 3}));

  _pPlayer1->AddPoints(10 * 2500);
  _iUpgradeChoice = 2;
  const int health = _pPlayer1->GetMaxHealth();
  Hold({kDown, kFire}, 4);  // down moves nothing: fire takes every second frame
  EXPECT_EQ(_iUpgradeChoice, 2);
  EXPECT_EQ(_pPlayer1->GetMaxHealth(), health + 20);
  EXPECT_EQ(_pPlayer1->GetPoints(), 8 * 2500);
}

TEST_F(UpgradeMenu, ThePriceIsExactlyTheCost) {
  _pPlayer1->AddPoints(2499);
  _iUpgradeChoice = 3;
  const int energy = _pPlayer1->GetMaxEnergy();
  Hold({kFire}, 4);
  EXPECT_EQ(_pPlayer1->GetPoints(), 2499);
  EXPECT_EQ(_pPlayer1->GetMaxEnergy(), energy);
  EXPECT_EQ(_iMenuDelay, 0) << "the press is used up although nothing was bought";

  _pPlayer1->AddPoints(1);
  Hold({kFire}, 4);
  EXPECT_EQ(_pPlayer1->GetPoints(), 0);
  EXPECT_EQ(_pPlayer1->GetMaxEnergy(), energy + 25);
  Hold({kFire}, 8);
  EXPECT_EQ(_pPlayer1->GetMaxEnergy(), energy + 25);
}

TEST_F(UpgradeMenu, EachEntryBuysItsUpgrade) {
  PlayerShip& ship = *_pPlayer1;
  ship.AddPoints(4 * 2500);
  ship.TakeDamage(4);
  ship.AddEnergy(-100);

  _iUpgradeChoice = 0;
  Hold({kFire}, 4);
  EXPECT_EQ(ship.GetFirepower(), 13);

  _iUpgradeChoice = 1;
  Hold({kFire}, 4);
  EXPECT_EQ(ship.GetSpeed(), 9);
  EXPECT_EQ(ship.GetBaseSpeed(), 9);

  _iUpgradeChoice = 2;
  Hold({kFire}, 4);
  EXPECT_EQ(ship.GetMaxHealth(), 20);
  EXPECT_EQ(ship.GetHealth(), 20) << "the hull is refilled";

  _iUpgradeChoice = 3;
  Hold({kFire}, 4);
  EXPECT_EQ(ship.GetMaxEnergy(), 525);
  EXPECT_EQ(ship.GetEnergy(), 525) << "the energy is refilled";
  EXPECT_EQ(ship.GetPoints(), 0);
}

TEST_F(UpgradeMenu, SpeedBoughtInRechargeModeIsTheNewNormalSpeed) {
  PlayerShip& ship = *_pPlayer1;
  ship.AddPoints(2500);
  ship.SetRecharging(1);
  ship.UseSlowSpeed();
  _iUpgradeChoice = 1;
  Hold({kFire}, 4);
  EXPECT_EQ(ship.GetSpeed(), 9);
  EXPECT_TRUE(ship.IsRecharging());
}

TEST_F(UpgradeMenu, FirepowerBoughtWithPowerUpsRecomputesTheBonus) {
  PlayerShip& ship = *_pPlayer1;
  ship.PowerUp();
  ship.PowerUp();
  ASSERT_EQ(ship.GetFirepower(), 14);  // 10 and two bonuses of 2
  ship.AddPoints(2500);
  Hold({kFire}, 4);
  EXPECT_EQ(ship.GetPowerLevel(), 2);
  EXPECT_EQ(ship.GetFirepower(), 13 + 2 * 2);  // the bonus is a fifth of the new base
}

TEST_F(UpgradeMenu, PlayerTwosMenuOpensOnPlayerOnesLastEntry) {
  // Through the frame's key dispatch: player 1 opens the menu, moves down twice and leaves;
  // player 2's fire then buys the third entry for player 2.
  _iGameState = GameStateStage1;
  _pPlayer2->AddPoints(2500);
  auto toggle = [](int key) {
    platform::KeyEvent(key, true);
    const int before = _iGameState;
    for (int i = 0; i < 12 && _iGameState == before; ++i) PollKeys();
    platform::KeyEvent(key, false);
  };
  auto hold = [](int key, int frames) {
    platform::KeyEvent(key, true);
    for (int i = 0; i < frames; ++i) PollKeys();
    platform::KeyEvent(key, false);
  };
  toggle(kTab);
  ASSERT_EQ(_iGameState, GameStateUpgrade1);
  hold(kDown, 8);
  toggle(kTab);
  ASSERT_EQ(_iGameState, GameStateStage1);

  toggle(kQ);
  ASSERT_EQ(_iGameState, GameStateUpgrade2);
  EXPECT_EQ(_iUpgradeChoice, 2);
  const int health = _pPlayer2->GetMaxHealth();
  hold(kP2Fire, 4);
  EXPECT_EQ(_pPlayer2->GetMaxHealth(), health + 10);
  EXPECT_EQ(_pPlayer2->GetPoints(), 0);
  EXPECT_EQ(_pPlayer1->GetMaxHealth(), health) << "player 1's ship is not touched";
}

}  // namespace
}  // namespace skyrift
