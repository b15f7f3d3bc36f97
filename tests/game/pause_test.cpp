// Pausing by key, headless: Esc and Pause freeze play and its sound and show the sign, in the
// play states, the interlude and the menus alike; a regained focus does not undo it; the title
// ignores them, a tap between frames counts, and a key bound to a player's action keeps that
// meaning.
#include <gtest/gtest.h>

#include "Harness.h"
#include "Keys.h"
#include "engine/MessageLoop.h"
#include "engine/Sound.h"
#include "game/Pause.h"
#include "game/Stages.h"
#include "platform/Mixer.h"
#include "sprites/PlayerShip.h"
#include "world/Globals.h"

namespace skyrift::testing {
namespace {

constexpr int kEscape = 0x1B, kPauseKey = 0x13;
constexpr COLORREF kSignEdge = RGB(255, 200, 40);

void StartPlaying(GameHarness& game) {
  _iNextFrameTick = 0;
  ASSERT_TRUE(game.Start());
  game.Step(3);
  game.Hold(kEnter, 2);
  game.Hold(kOne, 3);
  ASSERT_EQ(_iGameState, GameStateStage1);
}

// Pixels of the sign's lettering: bright yellow inside the sign's black ground.
int LetteringPixels(const GameHarness& game) {
  int count = 0;
  for (int y = 256; y < 344; ++y) {
    for (int x = 236; x < 664; ++x) {
      const COLORREF c = game.Pixel(x, y);
      count += GetRValue(c) > 200 && GetGValue(c) > 150 && GetBValue(c) < 120 ? 1 : 0;
    }
  }
  return count;
}

TEST(Pause, EscOrPauseFreezesPlayAndItsSoundUntilTheSameKeyAgain) {
  GameHarness game;
  ASSERT_NO_FATAL_FAILURE(StartPlaying(game));
  PlaySample(kBulletTimeChannel, _sndBulletTimeDur);  // as in bullet time
  for (const int key : {kEscape, kPauseKey}) {
    SCOPED_TRACE(key);
    game.Step(2);
    const int ticker = _iStageTicker;
    game.Hold(key, 2);
    EXPECT_TRUE(PlayPaused());
    EXPECT_TRUE(platform::MusicPaused());
    EXPECT_TRUE(platform::ChannelPaused(kBulletTimeChannel));
    EXPECT_EQ(game.Pixel(231, 251), kSignEdge);
    EXPECT_GT(LetteringPixels(game), 100) << "PAUSED, large";

    // Nothing moves: not the stage's clock, not the ship under a held key.
    const int shipX = _pPlayer1->GetPosition().left;
    game.Hold(kP1Right, 10);
    EXPECT_EQ(_iStageTicker, ticker);
    EXPECT_EQ(_pPlayer1->GetPosition().left, shipX);

    // Another window taking the focus and giving it back leaves the game paused and silent.
    game.Activate(false);
    game.Activate(true);
    EXPECT_TRUE(PlayPaused());
    EXPECT_TRUE(platform::MusicPaused());

    game.Hold(key, 2);
    EXPECT_FALSE(PlayPaused());
    EXPECT_FALSE(platform::MusicPaused());
    EXPECT_FALSE(platform::ChannelPaused(kBulletTimeChannel));
    game.Step(3);
    EXPECT_GT(_iStageTicker, ticker);
    EXPECT_NE(game.Pixel(231, 251), kSignEdge) << "the sign is gone with the next frame";
  }
}

// A press is a press however short or crowded: a tap between two frames toggles, and Esc with
// Pause in one frame toggles once, with nothing left over for the next frame.
TEST(Pause, ATapBetweenFramesTogglesAndBothKeysInOneFrameToggleOnce) {
  GameHarness game;
  ASSERT_NO_FATAL_FAILURE(StartPlaying(game));
  for (const int key : {kEscape, kPauseKey}) {
    SCOPED_TRACE(key);
    for (const bool paused : {true, false}) {
      game.Press(key);
      game.Release(key);
      game.Step(1);
      EXPECT_EQ(PlayPaused(), paused);
    }
  }
  game.Press(kEscape);
  game.Press(kPauseKey);
  game.Step(1);
  EXPECT_TRUE(PlayPaused());
  game.Step(2);
  EXPECT_TRUE(PlayPaused()) << "held, they are one press";
  game.Release(kEscape);
  game.Release(kPauseKey);
  game.Step(2);
  EXPECT_TRUE(PlayPaused());
}

TEST(Pause, TheInterludeAndTheMenusPauseTheTitleDoesNot) {
  GameHarness game;
  _iNextFrameTick = 0;
  ASSERT_TRUE(game.Start());
  game.Step(3);
  game.Hold(kEscape, 2);
  EXPECT_FALSE(PlayPaused()) << "on the title";
  EXPECT_FALSE(platform::MusicPaused());
  game.Hold(kEnter, 2);
  game.Hold(kOne, 3);
  ASSERT_EQ(_iGameState, GameStateStage1);

  game.Hold(kP1Menu, 2);
  ASSERT_EQ(_iGameState, GameStateUpgrade1);
  game.Hold(kEscape, 2);
  EXPECT_TRUE(PlayPaused()) << "in the upgrade menu";
  game.Hold(kP1Menu, 12);
  EXPECT_EQ(_iGameState, GameStateUpgrade1) << "no key but the pause keys while paused";
  game.Hold(kEscape, 2);
  EXPECT_FALSE(PlayPaused());

  _iGameState = GameStateInterlude;
  game.Hold(kPauseKey, 2);
  EXPECT_TRUE(PlayPaused()) << "in the interlude";
  game.Step(1);
  game.Hold(kPauseKey, 2);
  EXPECT_FALSE(PlayPaused());
}

TEST(Pause, AKeyBoundToAPlayersActionKeepsThatMeaning) {
  GameHarness game;
  ASSERT_NO_FATAL_FAILURE(StartPlaying(game));
  _iKeyP1Fire = kEscape;  // as a controls.txt that binds Esc to fire would
  _iFireDelay = 0;
  ClearPlayRequests();
  game.Hold(kEscape, 6);
  EXPECT_FALSE(PlayPaused());
  EXPECT_FALSE(PlayRequests().empty()) << "Esc fired";
  game.Hold(kPauseKey, 2);
  EXPECT_TRUE(PlayPaused()) << "the Pause key still pauses";
  game.Hold(kPauseKey, 2);
  ASSERT_FALSE(PlayPaused());

  // A bound key's tap between two frames is the action's: a touched direction key leaves the
  // ship's velocity as it was.
  _iKeyP1Up = kEscape;
  _iKeyP1Fire = kP1Fire;
  _pPlayer1->SetVelocity(5, 0);
  game.Press(kEscape);
  game.Release(kEscape);
  game.Step(1);
  EXPECT_EQ(_pPlayer1->GetVelocity().x, 5);
  EXPECT_FALSE(PlayPaused());
}

// A lost focus stops every frame; in play the frozen picture carries the sign, once, and the
// title's does not.
TEST(Pause, ALostFocusShowsTheSignOverThePlayUntilTheFocusComesBack) {
  GameHarness game;
  _iNextFrameTick = 0;
  ASSERT_TRUE(game.Start());
  game.Step(3);
  game.Activate(false);
  EXPECT_NE(game.ShownPixel(231, 251), kSignEdge) << "not over the title";
  game.Activate(true);
  game.Hold(kEnter, 2);
  game.Hold(kOne, 3);
  ASSERT_EQ(_iGameState, GameStateStage1);
  game.Activate(false);
  EXPECT_EQ(game.ShownPixel(231, 251), kSignEdge);
  EXPECT_GT(LetteringPixels(game), 100);
  EXPECT_FALSE(PlayPaused()) << "the focus coming back is what resumes";
  game.Activate(true);
  game.Step(2);
  EXPECT_NE(game.ShownPixel(231, 251), kSignEdge);
}

}  // namespace
}  // namespace skyrift::testing
