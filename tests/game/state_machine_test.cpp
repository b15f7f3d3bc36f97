// The state machine's menu toggles and the rule that only the play states move the world.
#include <algorithm>
#include <iterator>
#include <vector>

#include "Keys.h"
#include "World.h"
#include "engine/GameCallbacks.h"
#include "sprites/Tags.h"

namespace skyrift::testing {
namespace {

class StateMachine : public World {
 protected:
  void SetUp() override {
    World::SetUp();
    _iNumPlayers = 2;
    _pPlayer1 = AddShip(TagPlayer1);
    _pPlayer2 = AddShip(TagPlayer2);
    _iGameState = GameStateStage1;
  }

  static PlayerShip* AddShip(const char* tag) {
    auto* ship = new PlayerShip(_bmpPlayer1, PlayArea(), EdgeStop);
    ship->SetFrameCount(4);
    ship->SetTag(tag);
    ship->SetPosition(400, 500);
    _pEngine->InsertSprite(ship);
    return ship;
  }

  // Holds `key` for `frames` frames and returns the frames (1-based) after which the state changed.
  std::vector<int> Hold(int key, int frames) {
    std::vector<int> changes;
    platform::KeyEvent(key, true);
    for (int frame = 1; frame <= frames; ++frame) {
      const int before = _iGameState;
      PollKeys();
      if (_iGameState != before) changes.push_back(frame);
    }
    platform::KeyEvent(key, false);
    return changes;
  }

  void Idle(int frames) {
    for (int i = 0; i < frames; ++i) PollKeys();
  }
};

TEST_F(StateMachine, AHeldMenuKeyTogglesEverySixthFrame) {
  EXPECT_EQ(Hold(kP1Menu, 18), (std::vector<int>{6, 12, 18}));
  EXPECT_EQ(_iGameState, GameStateUpgrade1);
  EXPECT_EQ(_iStateBeforeMenu1, GameStateStage1);
}

TEST_F(StateMachine, MenusNestAndEachToggleRestoresWhatItSaved) {
  Hold(kP1Menu, 6);
  EXPECT_EQ(_iGameState, GameStateUpgrade1);
  Hold(kP2Menu, 6);
  EXPECT_EQ(_iGameState, GameStateUpgrade2);
  EXPECT_EQ(_iStateBeforeMenu2, GameStateUpgrade1);
  Hold(kP2Menu, 6);
  EXPECT_EQ(_iGameState, GameStateUpgrade1);
  Hold(kP1Menu, 6);
  EXPECT_EQ(_iGameState, GameStateStage1);

  Hold(kP2Menu, 6);
  Hold(kP1Menu, 6);
  EXPECT_EQ(_iGameState, GameStateUpgrade1);
  Hold(kP1Menu, 6);
  EXPECT_EQ(_iGameState, GameStateUpgrade2);
  Hold(kP2Menu, 6);
  EXPECT_EQ(_iGameState, GameStateStage1);
}

TEST_F(StateMachine, HoweverTheMenuKeysCrossClosingBothLeadsBackToWhereTheFirstOpened) {
  // Player 1's key '1', player 2's '2', the pad's menu button 'P' (player 1's), pressed in
  // turn from a state; the state after each press.
  const struct {
    int from;
    const char* presses;
    std::vector<int> states;
  } crossings[] = {
      {GameStateStage1, "1212", {12, 13, 13, 1}},
      {GameStateStage2, "2121", {13, 12, 12, 2}},
      {GameStateStage1, "1221", {12, 13, 12, 1}},
      {GameStateInterlude, "P2P2", {12, 13, 13, 7}},
      {GameStateStage1, "2P21", {13, 12, 12, 1}},
      {GameStateStage1, "121121", {12, 13, 13, 12, 12, 1}},
  };
  _bGameStarted = TRUE;  // the pad acts once the players are chosen
  for (const auto& crossing : crossings) {
    SCOPED_TRACE(crossing.presses);
    _iGameState = crossing.from;
    std::vector<int> states;
    for (const char* press = crossing.presses; *press != '\0'; ++press) {
      _iMenuToggleDelay = 0;
      if (*press == 'P') {
        for (int frame = 0; frame < 6; ++frame) GameJoystick(StickButton5);
      } else {
        Hold(*press == '1' ? kP1Menu : kP2Menu, 6);
      }
      states.push_back(_iGameState);
    }
    EXPECT_EQ(states, crossing.states);
  }
  _bGameStarted = FALSE;
}

TEST_F(StateMachine, AMenuOpenedFromTheInterludeReturnsThere) {
  _iGameState = GameStateInterlude;
  Hold(kP1Menu, 6);
  EXPECT_EQ(_iGameState, GameStateUpgrade1);
  Hold(kP1Menu, 6);
  EXPECT_EQ(_iGameState, GameStateInterlude);
}

TEST_F(StateMachine, TogglesNeedAShipInPlay) {
  _bPlayer1Out = TRUE;
  EXPECT_TRUE(Hold(kP1Menu, 12).empty());
  _bPlayer1Out = FALSE;
  PlayerShip* ship = _pPlayer1;
  _pPlayer1 = nullptr;
  EXPECT_TRUE(Hold(kP1Menu, 12).empty());
  _pPlayer1 = ship;
  _bPlayer2Out = TRUE;
  EXPECT_TRUE(Hold(kP2Menu, 12).empty());
}

TEST_F(StateMachine, PlayerTwosMenuNeedsATwoPlayerGame) {
  _iNumPlayers = 1;
  EXPECT_TRUE(Hold(kP2Menu, 12).empty());
}

TEST_F(StateMachine, NothingTogglesOnceTheGameIsOver) {
  _iGameState = GameStateGameOver;
  _bGameOver = TRUE;
  EXPECT_TRUE(Hold(kP1Menu, 12).empty());
  EXPECT_EQ(_iMenuToggleDelay, 0) << "the keys are not even counted";
}

TEST_F(StateMachine, TheKeysActInTheStateTheMenuKeyHasJustSet) {
  // Fire held with the menu key: no volley from the menu just opened, one from the stage just
  // returned to.
  const struct {
    int from, to;
    size_t shots;
  } cases[] = {{GameStateStage1, GameStateUpgrade1, 0u}, {GameStateUpgrade1, GameStateStage1, 1u}};
  platform::KeyEvent(kP1Menu, true);
  platform::KeyEvent(kP1Fire, true);
  for (const auto& c : cases) {
    _iGameState = c.from;
    _iStateBeforeMenu1 = GameStateStage1;
    _iMenuToggleDelay = _iFireDelay = 10;
    const size_t before = Tagged(TagBulletP1).size();
    PollKeys();
    EXPECT_EQ(_iGameState, c.to);
    EXPECT_EQ(Tagged(TagBulletP1).size() - before, c.shots) << c.from;
  }
}

// The states of the state machine that are not a stage's play.
constexpr int kNamedStates[] = {GameStateTitle, GameStateInterlude, GameStateUpgrade1,
                                GameStateUpgrade2, GameStateGameOver};

// A state no stage is played in and the state machine has no name for.
int NotAPlayState() {
  int state = 0;
  while (StageOfState(state) != nullptr ||
         std::find(std::begin(kNamedStates), std::end(kNamedStates), state) !=
             std::end(kNamedStates)) {
    ++state;
  }
  return state;
}

TEST_F(StateMachine, OnlyThePlayStatesMoveTheWorld) {
  Sprite* drifting = Put(_bmpPlayer1, "", 100, 100);
  drifting->SetVelocity(3, 3);
  _iStageTicker = 77;
  for (int state : {GameStateTitle, GameStateInterlude, GameStateUpgrade1, GameStateUpgrade2,
                    GameStateGameOver, NotAPlayState(), 99}) {
    _iGameState = state;
    GameFrame();
    EXPECT_EQ(drifting->GetPosition().left, 100) << state;
    EXPECT_EQ(_iStageTicker, 77) << state;
  }
}

}  // namespace
}  // namespace skyrift::testing
