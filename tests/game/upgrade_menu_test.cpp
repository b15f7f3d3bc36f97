// The upgrade menu: the price, what each entry buys, the repeat rate of held keys and the
// highlight both players' menus share.
#include <vector>

#include "Keys.h"
#include "World.h"
#include "engine/GameCallbacks.h"
#include "game/KeyboardInput.h"
#include "game/Players.h"
#include "game/UpgradeMenu.h"

namespace skyrift::testing {
namespace {

class UpgradeMenu : public World {
 protected:
  void SetUp() override {
    World::SetUp();
    _iNumPlayers = 2;
    CreatePlayers(TRUE);
    _iGameState = GameStateUpgrade1;
    _iMenuToggleDelay = 0;
    _iUpgradeCost = 2500;
  }

  // Player 1's menu for `frames` frames with `keys` held; the highlight after each frame.
  static std::vector<int> Hold(std::vector<int> keys, int frames) {
    for (int key : keys) platform::KeyEvent(key, true);
    std::vector<int> choices;
    for (int i = 0; i < frames; ++i) {
      HandleUpgradeMenuKeys(_pPlayer1, kP1Up, kP1Down, kP1Fire);
      choices.push_back(_iUpgradeChoice);
    }
    for (int key : keys) platform::KeyEvent(key, false);
    return choices;
  }
};

TEST_F(UpgradeMenu, AHeldKeyMovesTheHighlightEveryFourthFrameAndWraps) {
  EXPECT_EQ(Hold({kP1Up}, 8), (std::vector<int>{0, 0, 0, 3, 3, 3, 3, 2}));
  EXPECT_EQ(_iMenuDelay, 0);
  _iUpgradeChoice = 2;
  EXPECT_EQ(Hold({kP1Down}, 8), (std::vector<int>{2, 2, 2, 3, 3, 3, 3, 0}));
  // Nothing held: the counter stands still.
  Hold({kP1Up}, 2);
  Hold({}, 5);
  EXPECT_EQ(_iMenuDelay, 2);
}

TEST_F(UpgradeMenu, TwoHeldKeysShareOneCounterAndActSooner) {
  // Up and down each advance the counter; down, tested second, reaches the threshold.
  EXPECT_EQ(Hold({kP1Up, kP1Down}, 6), (std::vector<int>{0, 1, 1, 2, 2, 3}));

  _pPlayer1->AddPoints(10 * 2500);
  _iUpgradeChoice = 2;
  const int health = _pPlayer1->GetMaxHealth();
  Hold({kP1Down, kP1Fire}, 4);  // down moves nothing: fire takes every second frame
  EXPECT_EQ(_iUpgradeChoice, 2);
  EXPECT_EQ(_pPlayer1->GetMaxHealth(), health + 20);
  EXPECT_EQ(_pPlayer1->GetPoints(), 8 * 2500);
  EXPECT_EQ(Requests(_sndUpgradeDing, kAnyFreeChannel), 2);
}

TEST_F(UpgradeMenu, ThePriceIsExactlyTheCost) {
  _pPlayer1->AddPoints(2499);
  _iUpgradeChoice = 3;
  const int energy = _pPlayer1->GetMaxEnergy();
  Hold({kP1Fire}, 4);
  EXPECT_EQ(_pPlayer1->GetPoints(), 2499);
  EXPECT_EQ(_pPlayer1->GetMaxEnergy(), energy);
  EXPECT_EQ(_iMenuDelay, 0) << "the press is used up although nothing was bought";
  EXPECT_TRUE(PlayRequests().empty()) << "and nothing is heard";

  _pPlayer1->AddPoints(1);
  Hold({kP1Fire}, 4);
  EXPECT_EQ(_pPlayer1->GetPoints(), 0);
  EXPECT_EQ(_pPlayer1->GetMaxEnergy(), energy + 25);
  Hold({kP1Fire}, 8);
  EXPECT_EQ(_pPlayer1->GetMaxEnergy(), energy + 25);
  ASSERT_EQ(PlayRequests().size(), 1u);
  EXPECT_EQ(PlayRequests()[0].sample, _sndUpgradeDing);
  EXPECT_EQ(PlayRequests()[0].channel, kAnyFreeChannel);
}

TEST_F(UpgradeMenu, EachEntryBuysItsUpgrade) {
  PlayerShip& ship = *_pPlayer1;
  ship.AddPoints(4 * 2500);
  ship.TakeDamage(40);
  ship.AddEnergy(-100);
  const int health = ship.GetMaxHealth();
  const int energy = ship.GetMaxEnergy();

  _iUpgradeChoice = 0;
  Hold({kP1Fire}, 4);
  EXPECT_EQ(ship.GetFirepower(), 13);

  _iUpgradeChoice = 1;
  Hold({kP1Fire}, 4);
  EXPECT_EQ(ship.GetSpeed(), 9);
  EXPECT_EQ(ship.GetBaseSpeed(), 9);

  _iUpgradeChoice = 2;
  Hold({kP1Fire}, 4);
  EXPECT_EQ(ship.GetMaxHealth(), health + 10);
  EXPECT_EQ(ship.GetHealth(), health + 10) << "the hull is refilled";

  _iUpgradeChoice = 3;
  Hold({kP1Fire}, 4);
  EXPECT_EQ(ship.GetMaxEnergy(), energy + 25);
  EXPECT_EQ(ship.GetEnergy(), energy + 25) << "the energy is refilled";
  EXPECT_EQ(ship.GetPoints(), 0);
}

TEST_F(UpgradeMenu, SpeedBoughtInRechargeModeIsTheNewNormalSpeed) {
  PlayerShip& ship = *_pPlayer1;
  ship.AddPoints(2500);
  ship.SetRecharging(1);
  ship.UseSlowSpeed();
  _iUpgradeChoice = 1;
  Hold({kP1Fire}, 4);
  EXPECT_EQ(ship.GetSpeed(), 9);
  EXPECT_TRUE(ship.IsRecharging());
}

TEST_F(UpgradeMenu, FirepowerBoughtWithPowerUpsRecomputesTheBonus) {
  PlayerShip& ship = *_pPlayer1;
  ship.PowerUp();
  ship.PowerUp();
  ASSERT_EQ(ship.GetFirepower(), 14);  // 10 and two bonuses of 2
  ship.AddPoints(2500);
  Hold({kP1Fire}, 4);
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
  toggle(kP1Menu);
  ASSERT_EQ(_iGameState, GameStateUpgrade1);
  hold(kP1Down, 8);
  toggle(kP1Menu);
  ASSERT_EQ(_iGameState, GameStateStage1);

  toggle(kP2Menu);
  ASSERT_EQ(_iGameState, GameStateUpgrade2);
  EXPECT_EQ(_iUpgradeChoice, 2);
  const int health = _pPlayer2->GetMaxHealth();
  hold(kP2Fire, 4);
  EXPECT_EQ(_pPlayer2->GetMaxHealth(), health + 10);
  EXPECT_EQ(_pPlayer2->GetPoints(), 0);
  EXPECT_EQ(_pPlayer1->GetMaxHealth(), health) << "player 1's ship is not touched";
  EXPECT_EQ(Requests(_sndUpgradeDing, kAnyFreeChannel), 1);
}

}  // namespace
}  // namespace skyrift::testing
