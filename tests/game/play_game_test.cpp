// Whole games, headless: start with Enter and a player count, fly, fire, the bullet-time loop,
// stage 2 from the stage-clear screen, and game over once both ships are gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Harness.h"
#include "Keys.h"
#include "World.h"
#include "engine/Engine.h"
#include "engine/MessageLoop.h"
#include "engine/Sound.h"
#include "platform/Mixer.h"
#include "sprites/PlayerShip.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift::testing {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// From the title to stage 1 with one or two players.
void StartPlaying(GameHarness& game, int players) {
  _iNextFrameTick = 0;  // the driven clock starts afresh in each test
  ASSERT_TRUE(game.Start());
  game.Step(3);
  game.Hold(kEnter, 2);
  game.Hold(players == 2 ? kTwo : kOne, 3);
  ASSERT_EQ(_iGameState, GameStateStage1);
  ASSERT_EQ(_iNumPlayers, players);
}

TEST(PlayGame, OnePlayerFliesFiresAndSeesFullBars) {
  GameHarness game;
  ASSERT_NO_FATAL_FAILURE(StartPlaying(game, 1));
  ASSERT_NE(_pPlayer1, nullptr);
  EXPECT_EQ(_pPlayer1->GetPosition().left, 425);
  const auto log = game.LogLines();
  EXPECT_EQ(std::count(log.begin(), log.end(), "CreatePlayers() start"), 1);

  game.Step(1);
  for (int x = 277; x < 432; ++x) {
    ASSERT_EQ(game.Pixel(x, 660), kRed) << x;
    ASSERT_EQ(game.Pixel(x, 676), kBlue) << x;
  }
  EXPECT_NE(game.Pixel(432, 660), kRed);
  EXPECT_NE(game.Pixel(724, 660), kRed);  // nobody on the right half

  // Eight pixels a frame; the velocity is set in the key poll and applied in the same frame.
  game.Hold(kP1Right, 5);
  EXPECT_EQ(_pPlayer1->GetPosition().left, 465);
  game.Step(2);
  EXPECT_EQ(_pPlayer1->GetPosition().left, 465);

  // A volley every fifth frame, each with its sound.
  ClearPlayRequests();
  _iFireDelay = 0;
  game.Hold(kP1Fire, 10);
  EXPECT_EQ(Tagged(TagBulletP1).size(), 2u);
  EXPECT_EQ(Requests(_sndPlayerFire, kAnyFreeChannel), 2);

  // Bullet time: its loop on channel 1 until switched off again.
  game.Hold(kP1BulletTime, 1);
  EXPECT_TRUE(_bBulletTime);
  EXPECT_TRUE(platform::ChannelPlaying(1));
  EXPECT_EQ(Requests(_sndBulletTimeAct, kAnyFreeChannel), 1);
  EXPECT_EQ(Requests(_sndBulletTimeDur, kBulletTimeChannel), 1);
  game.Step(6);
  game.Hold(kP1BulletTime, 1);
  EXPECT_FALSE(_bBulletTime);
  EXPECT_FALSE(platform::ChannelPlaying(1));
  EXPECT_EQ(Requests(_sndBulletTimeDeact, kAnyFreeChannel), 1);
}

TEST(PlayGame, FireOnTheStageClearScreenStartsStage2WithItsMusic) {
  GameHarness game;
  ASSERT_NO_FATAL_FAILURE(StartPlaying(game, 2));
  game.Step(50);
  const COLORREF lastFrame = game.Pixel(100, 300);
  _iGameState = GameStateInterlude;  // as after the boss
  game.Step(2);
  EXPECT_EQ(game.Pixel(100, 300), lastFrame);  // the page lies over stage 1's last frame
  EXPECT_NE(game.Pixel(450, 300), game.Pixel(100, 300));
  // Both players press fire in the same frame: stage 2 starts once, and runs.
  game.Press(kP1Fire);
  game.Press(kP2Fire);
  game.Step(8);
  game.Release(kP1Fire);
  game.Release(kP2Fire);
  EXPECT_EQ(_iGameState, GameStateStage2);
  EXPECT_EQ(_iStageTicker, 8);
  EXPECT_TRUE(platform::MusicPlaying());
  const auto log = game.LogLines();
  EXPECT_EQ(std::count(log.begin(), log.end(), "_sngCurrentStage = NULL"), 0);
  EXPECT_EQ(_pPlayer1->GetPosition().left, 275);
  EXPECT_EQ(_pPlayer2->GetPosition().left, 575);
  game.Close();  // the sanitizer build finds any stream or layer left behind
}

TEST(PlayGame, WhenBothShipsAreGoneTheGameIsOverAndStaysOver) {
  GameHarness game;
  ASSERT_NO_FATAL_FAILURE(StartPlaying(game, 2));
  game.Step(5);
  // The collision rules' part: the last life lost, the player marked out.
  for (int i = 0; i < 6; ++i) _pPlayer2->LoseLife();
  _bPlayer2Out = TRUE;
  game.Hold(kP1Fire, 10);
  EXPECT_EQ(_pPlayer2, nullptr);
  EXPECT_EQ(_iGameState, GameStateStage1);

  for (int i = 0; i < 6; ++i) _pPlayer1->LoseLife();
  _bPlayer1Out = TRUE;
  game.Step(1);
  EXPECT_EQ(_iGameState, GameStateGameOver);
  EXPECT_EQ(_pPlayer1, nullptr);
  const int ticker = _iStageTicker;
  const COLORREF banner = game.Pixel(450, 300);
  game.Hold(kP1Menu, 12);  // the menu key does nothing now
  EXPECT_EQ(_iGameState, GameStateGameOver);
  EXPECT_EQ(_iStageTicker, ticker);
  EXPECT_EQ(game.Pixel(450, 300), banner);
  game.Close();
}

}  // namespace
}  // namespace skyrift::testing
