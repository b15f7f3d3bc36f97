// The stage frames: game over tested at the start of a frame, the stage-clear sequence, the
// start of stage 2, the way from one stage's interlude into the next, and ships that are gone
// staying unread.
#include "World.h"
#include "game/KeyboardInput.h"
#include "game/Players.h"
#include "game/Screens.h"
#include "game/StageCycle.h"
#include "game/Stages.h"
#include "graphics/Background.h"
#include "platform/Mixer.h"
#include "sprites/Tags.h"

namespace skyrift::testing {
namespace {

using StageCycleTest = World;

TEST_F(StageCycleTest, TheFrameThatFindsBothPlayersOutStillRunsToTheEnd) {
  StartGame(true);
  Sprite* enemy = AddSprite(TagEnemyShip, 100, 100);
  enemy->SetVelocity(0, 8);
  CycleStage(*StageOfState(GameStateStage1));
  EXPECT_EQ(_iGameState, GameStateStage1);
  EXPECT_EQ(_iStageTicker, 1);
  EXPECT_EQ(enemy->GetPosition().top, 108);

  // Both go with bullet time on: the frame still runs slowed, and then, since no key is read
  // from now on, the game ends bullet time.
  _bPlayer1Out = _bPlayer2Out = TRUE;
  _bBulletTime = TRUE;
  PlaySample(kBulletTimeChannel, _sndBulletTimeDur);
  CycleStage(*StageOfState(GameStateStage1));
  EXPECT_EQ(_iGameState, GameStateGameOver);
  EXPECT_TRUE(_bGameOver);
  EXPECT_EQ(enemy->GetPosition().top, 110) << "a quarter of 8 in bullet time";
  EXPECT_FALSE(_bBulletTime);
  EXPECT_FALSE(platform::ChannelPlaying(kBulletTimeChannel));
  EXPECT_EQ(Requests(_sndBulletTimeDeact), 1);
  EXPECT_EQ(_iStageTicker, 2);
  EXPECT_EQ(_hOffscreenDC->GetPixel(10, 10), kBannerColour);  // painted as game over

  // Stage 2 makes the same test.
  _bGameOver = FALSE;
  _bBulletTime = TRUE;
  _iGameState = GameStateStage2;
  CycleStage(*StageOfState(GameStateStage2));
  EXPECT_EQ(_iGameState, GameStateGameOver);
  EXPECT_EQ(_iStageTicker, 3);
  EXPECT_EQ(enemy->GetPosition().top, 112);
  EXPECT_FALSE(_bBulletTime);

  // Game over in the frame that ends the stage-clear wait stays game over.
  _bGameOver = FALSE;
  _iGameState = GameStateStage1;
  _bBossDefeated = TRUE;
  _iStageClearTimer = 143;
  CycleStage(*StageOfState(GameStateStage1));
  EXPECT_EQ(_iGameState, GameStateGameOver);
  EXPECT_TRUE(_bGameOver);
}

TEST_F(StageCycleTest, TheStageClearBannerShowsFor71FramesAndTheScreenFollowsAt144) {
  StartGame(false);
  _bBossDefeated = TRUE;
  int firstShown = 0, lastShown = 0, shownFrames = 0, heard = 0;
  for (int frame = 1; frame <= 143; ++frame) {
    CycleStage(*StageOfState(GameStateStage1));
    ASSERT_EQ(_iStageClearTimer, frame);
    if (heard == 0 && Requests(_sndStage1Complete) > 0) heard = frame;
    if (_bShowStageClear) {
      if (firstShown == 0) firstShown = frame;
      lastShown = frame;
      ++shownFrames;
    }
  }
  EXPECT_EQ(firstShown, 72);
  EXPECT_EQ(lastShown, 142);
  EXPECT_EQ(shownFrames, 71);
  EXPECT_EQ(heard, 72) << "with the banner";
  EXPECT_EQ(Requests(_sndStage1Complete), 1);
  EXPECT_EQ(_iGameState, GameStateStage1);
  CycleStage(*StageOfState(GameStateStage1));
  EXPECT_EQ(_iGameState, GameStateInterlude);
  EXPECT_EQ(_iStageClearTimer, 0);
}

TEST_F(StageCycleTest, EachRowEndsOnlyAsItsTestOfClearedSays) {
  StartGame(false);
  // Stage 1 is won by defeating the boss; stage 2 has no end.
  const struct {
    int state;
    bool endsWithTheBoss;
  } rows[] = {{GameStateStage1, true}, {GameStateStage2, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.state);
    const Stage& stage = *StageOfState(row.state);
    _iGameState = stage.state;
    // Past every wave and the boss's arrival, so that nothing fights the ship meanwhile.
    _iStageTicker = 3000;
    _bBossSpawned = TRUE;
    _iStageClearTimer = 0;
    _bBossDefeated = FALSE;
    for (int frame = 0; frame < 150; ++frame) CycleStage(stage);
    EXPECT_EQ(_iGameState, stage.state) << "the boss still fights";
    _bBossDefeated = TRUE;
    for (int frame = 0; frame < 150; ++frame) CycleStage(stage);
    EXPECT_EQ(_iGameState, row.endsWithTheBoss ? GameStateInterlude : stage.state);
    EXPECT_EQ(Requests(_sndStage1Complete), row.endsWithTheBoss ? 1 : 0);
    ClearPlayRequests();
  }
}

TEST_F(StageCycleTest, Stage2StartsWithTheShipsOnTheBottomEdgeAndAFreshTicker) {
  StartGame(true);
  _iStageTicker = 3000;
  _iGameState = GameStateInterlude;
  AddSprite(TagEnemyBullet, 10, 10);
  AddSprite(TagRepairPowerUp, 10, 100);
  _pPlayer1->SetPosition(40, 40);
  _bPlayer1Out = TRUE;  // out, but not yet deleted: left where it is

  EnterStage(*StageOfState(GameStateStage2));
  EXPECT_EQ(_iGameState, GameStateStage2);
  EXPECT_EQ(_iStageTicker, 0);
  EXPECT_EQ(_pPlayer2->GetPosition().left, 575);
  EXPECT_EQ(_pPlayer2->GetPosition().top, 536);
  EXPECT_EQ(_pPlayer1->GetPosition().left, 40);
  EXPECT_TRUE(Tagged(TagEnemyBullet).empty());
  EXPECT_EQ(Tagged(TagRepairPowerUp).size(), 1u);

  auto* far = dynamic_cast<ScrollingLayer*>(_pFarBackground);
  auto* near = dynamic_cast<ScrollingLayer*>(_pNearBackground);
  ASSERT_NE(far, nullptr);
  ASSERT_NE(near, nullptr);
  EXPECT_EQ(far->GetViewWidth(), 900);
  EXPECT_EQ(near->GetViewHeight(), 600);
  EXPECT_EQ(LogLines(),
            (std::vector<std::string>{"CreatePlayers() start", "_sngCurrentStage = NULL"}));

  _bPlayer1Out = FALSE;
  _bPlayer2Out = TRUE;
  EnterStage(*StageOfState(GameStateStage2));
  EXPECT_EQ(_pPlayer1->GetPosition().left, 275);
  EXPECT_EQ(_pPlayer1->GetPosition().top, 536);
}

TEST_F(StageCycleTest, EachInterludeLeadsIntoTheNextRowWhichTheStateMachineThenPlays) {
  StartGame(true);
  // How far a layer has scrolled, whatever its direction.
  const auto scrolled = [](const Background* layer) {
    const auto* scrolling = dynamic_cast<const ScrollingLayer*>(layer);
    return scrolling->GetOffset() + scrolling->GetViewWidth() + scrolling->GetViewHeight();
  };
  for (int row = 1; row < kStageCount; ++row) {
    const Stage& stage = kStages[row];
    _iGameState = GameStateInterlude;
    _iCurrentStage = row - 1;
    _iStageTicker = 500;
    EnterNextStage();
    EXPECT_EQ(_iGameState, stage.state) << row;
    EXPECT_EQ(_iCurrentStage, row);
    EXPECT_EQ(_iStageTicker, 0) << row;

    const int far = scrolled(_pFarBackground);
    const int near = scrolled(_pNearBackground);
    GameFrame();
    EXPECT_EQ(_iStageTicker, 1) << row;
    EXPECT_EQ(scrolled(_pFarBackground) - far, stage.far.speed) << row;
    EXPECT_EQ(scrolled(_pNearBackground) - near, stage.near.speed) << row;
  }

  // The last row has nothing after it: its interlude stays.
  _iGameState = GameStateInterlude;
  _iCurrentStage = kStageCount - 1;
  EnterNextStage();
  EXPECT_EQ(_iGameState, GameStateInterlude);
}

TEST_F(StageCycleTest, AShipDeletedAfterItsLastLifeIsNeverReadAgain) {
  StartGame(true);
  _bBulletTime = TRUE;
  _pPlayer2->SetBulletTime(1);
  _pPlayer2->SetRecharging(1);
  for (int i = 0; i < 6; ++i) _pPlayer2->LoseLife();
  _bPlayer2Out = TRUE;  // as the collision rules record it

  // Held keys, upkeep and painting run through the frame that deletes the ship and after.
  for (int key : {70, 71, 84, 82, 87}) platform::KeyEvent(key, true);
  for (int frame = 0; frame < 30; ++frame) {
    HandlePlayer1Keys();
    HandlePlayer2Keys();
    CycleStage(*StageOfState(GameStateStage1));
    DrawUpgradeMenu2(_hOffscreenDC);
  }
  EXPECT_EQ(_pPlayer2, nullptr);
  EXPECT_TRUE(Tagged(TagPlayer2).empty());
  EXPECT_EQ(_iHudLives2, 0);
  EXPECT_EQ(_iGameState, GameStateStage1);

  // Player 1's last life: the next frame ends the game and deletes the ship.
  for (int i = 0; i < 6; ++i) _pPlayer1->LoseLife();
  _bPlayer1Out = TRUE;
  HandlePlayer1Keys();
  CycleStage(*StageOfState(GameStateStage1));
  EXPECT_EQ(_iGameState, GameStateGameOver);
  EXPECT_EQ(_pPlayer1, nullptr);
  DrawGameOver(_hOffscreenDC);
  EXPECT_EQ(_iHudLives1, 0);
}

}  // namespace
}  // namespace skyrift::testing
