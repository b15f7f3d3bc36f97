// Stage 1's script as the stage cycle runs it: the warning signs and their sounds, the scripted
// power-ups, the boss's arrival and its engines; stage 2 without any of it; and the script's
// pointers cleared when the sprite list deletes what they name.
#include <algorithm>
#include <vector>

#include "Harness.h"
#include "Keys.h"
#include "World.h"
#include "game/BossEntry.h"
#include "game/WarningSigns.h"
#include "game/StageCycle.h"
#include "platform/Random.h"
#include "sprites/BossShip.h"
#include "sprites/Tags.h"

namespace skyrift::testing {
namespace {

class BossEntry : public World {
 protected:
  static bool Listed(const Sprite* sprite) {
    const auto& sprites = _pEngine->GetSprites();
    return sprite != nullptr && std::find(sprites.begin(), sprites.end(), sprite) != sprites.end();
  }
};

// The ticks on which something held, as a list of first-to-last ranges.
struct Ticks {
  std::vector<int> all;
  void Note(int t) { all.push_back(t); }
  bool Contiguous() const {
    return all.empty() || all.back() - all.front() + 1 == static_cast<int>(all.size());
  }
  int First() const { return all.empty() ? 0 : all.front(); }
  int Last() const { return all.empty() ? 0 : all.back(); }
};

TEST_F(BossEntry, StageOneShowsItsWarningsDropsItsPowerUpsAndBringsTheBossThenItsEngines) {
  // No ship is in play: the script runs by the ticker alone.
  _iGameState = GameStateStage1;
  platform::SeedRandom(7);
  Ticks sign1, sign2, largeIncoming, massiveEnemy, bossEnters, powerUps, engines;
  int bossMade = 0, bossStopped = 0;
  size_t knownPowerUps = 0;
  for (int frame = 1; frame <= 2200; ++frame) {
    CycleStage(*StageOfState(GameStateStage1));
    const int t = _iStageTicker;
    ASSERT_EQ(t, frame);
    if (!Showing(_bmpWarning1).empty()) sign1.Note(t);
    if (!Showing(_bmpWarning2).empty()) sign2.Note(t);
    if (Requests(_sndLargeIncoming) > 0) largeIncoming.Note(t);
    if (Requests(_sndMassiveEnemy) > 0) massiveEnemy.Note(t);
    if (Requests(_sndBoss1Enter) > 0) bossEnters.Note(t);
    EXPECT_LE(Requests(_sndLargeIncoming) + Requests(_sndMassiveEnemy), 1);
    ClearPlayRequests();

    const std::vector<Sprite*> drops = Tagged(TagPowerUp);
    if (drops.size() > knownPowerUps) {
      powerUps.Note(t);
      EXPECT_GT(drops.back()->GetVelocity().x, 0) << "moving right";
      EXPECT_GT(drops.back()->GetVelocity().y, 0) << "and down";
      knownPowerUps = drops.size();
    }

    if (t == 626) {
      ASSERT_NE(_pWarning1, nullptr);
      EXPECT_TRUE(_pWarning1->IsDying());
    }
    if (t == 627) {
      EXPECT_EQ(_pWarning1, nullptr) << "deleted and forgotten";
    }
    if (t == 551 || t == 2026) {
      const Sprite* sign = t == 551 ? _pWarning1 : _pWarning2;
      ASSERT_NE(sign, nullptr);
      EXPECT_EQ(sign->Tag(), TagWarning);
      EXPECT_EQ(sign->GetFrameCount(), 4);
      EXPECT_EQ(sign->GetPosition().left, 145);
      EXPECT_EQ(sign->GetPosition().top, 465);
    }

    if (_pBoss != nullptr && bossMade == 0) {
      bossMade = t;
      EXPECT_EQ(_pBoss->GetPosition().left, 125);
      EXPECT_EQ(_pBoss->GetPosition().top, -320) << "just out of sight above the play area";
      EXPECT_EQ(_pBoss->GetHealth(), 7500);
      EXPECT_EQ(_pBoss->Tag(), TagBoss);
      EXPECT_TRUE(Listed(_pBoss));
      ASSERT_NE(_pBossLeftEngine, nullptr);
      ASSERT_NE(_pBossRightEngine, nullptr);
      EXPECT_EQ(_pBossLeftEngine->GetPosition().left, 219);
      EXPECT_EQ(_pBossLeftEngine->GetPosition().top, 245);
      EXPECT_EQ(_pBossRightEngine->GetPosition().left, 543);
      EXPECT_EQ(_pBossRightEngine->GetPosition().top, 244);
      EXPECT_EQ(_pBossLeftEngine->GetHealth(), 1200);
      EXPECT_EQ(_pBossRightEngine->GetHealth(), 1200);
    }
    if (_pBoss != nullptr && _pBoss->GetPhase() == 1 && bossStopped == 0) bossStopped = t;
    if (Listed(_pBossLeftEngine) || Listed(_pBossRightEngine)) {
      EXPECT_TRUE(Listed(_pBossLeftEngine) && Listed(_pBossRightEngine)) << "both at once";
      engines.Note(t);
    }
  }

  EXPECT_TRUE(sign1.Contiguous());
  EXPECT_EQ(sign1.First(), 551);
  EXPECT_EQ(sign1.Last(), 626);
  EXPECT_TRUE(sign2.Contiguous());
  EXPECT_EQ(sign2.First(), 2026);
  EXPECT_EQ(sign2.Last(), 2076);
  EXPECT_EQ(largeIncoming.all, std::vector<int>{551});
  EXPECT_EQ(massiveEnemy.all, std::vector<int>{2026});
  EXPECT_EQ(powerUps.all, (std::vector<int>{560, 2030}));
  EXPECT_EQ(bossMade, 2101);
  EXPECT_EQ(bossEnters.all, std::vector<int>{2101});
  EXPECT_EQ(bossStopped, 2166) << "64 moves of 5 pixels, and a stop";
  EXPECT_EQ(engines.First(), bossStopped) << "the engines appear in the frame the boss stops";
  EXPECT_EQ(engines.Last(), 2200);
  EXPECT_EQ(_pBoss->GetPosition().top, 0);
}

TEST_F(BossEntry, StageTwoHasNoSignsNoScriptedPowerUpsAndNoBoss) {
  _iGameState = GameStateStage2;
  platform::SeedRandom(7);
  size_t enemies = 0;
  for (int frame = 1; frame <= 2200; ++frame) {
    CycleStage(*StageOfState(GameStateStage2));
    ASSERT_TRUE(Tagged(TagWarning).empty()) << frame;
    ASSERT_TRUE(Tagged(TagPowerUp).empty()) << frame;
    ASSERT_TRUE(Tagged(TagBoss).empty()) << frame;
    enemies = std::max(enemies, Tagged(TagEnemyShip).size());
  }
  EXPECT_GT(enemies, 0u) << "the schedules ran";
  EXPECT_EQ(_pBoss, nullptr);
  EXPECT_FALSE(_bBossSpawned);
  EXPECT_EQ(Requests(_sndLargeIncoming) + Requests(_sndMassiveEnemy) + Requests(_sndBoss1Enter), 0);
}

TEST_F(BossEntry, WhatTheListDeletesIsForgottenAndNeverMadeAgain) {
  // A sign deleted early is not made again, and its removal step reads nothing.
  _iStageTicker = 551;
  RunWarningSigns();
  ASSERT_NE(_pWarning1, nullptr);
  _pWarning1->Kill();
  _pEngine->UpdateAllSprites();
  EXPECT_EQ(_pWarning1, nullptr);
  for (_iStageTicker = 552; _iStageTicker <= 700; ++_iStageTicker) RunWarningSigns();
  EXPECT_TRUE(Tagged(TagWarning).empty());
  EXPECT_FALSE(_bWarning1Shown);

  // A boss deleted before it stops never gets its engines, and is not made again; the engines
  // stay the game's to free.
  _iStageTicker = 2101;
  RunBossEntry();
  ASSERT_NE(_pBoss, nullptr);
  Sprite* left = _pBossLeftEngine;
  _pBoss->Kill();
  _pEngine->UpdateAllSprites();
  EXPECT_EQ(_pBoss, nullptr);
  for (int frame = 0; frame < 100; ++frame) {
    ++_iStageTicker;
    RunBossEntry();
  }
  EXPECT_TRUE(Tagged(TagBoss).empty());
  EXPECT_FALSE(_bBossEnginesAttached);
  EXPECT_FALSE(Listed(left));
  EXPECT_EQ(_pBossLeftEngine, left);
}

TEST_F(BossEntry, AttachedEnginesAndTheBossAreForgottenWhenDestroyed) {
  _iStageTicker = 2101;
  RunBossEntry();
  _pBoss->SetPosition(125, 0);
  _pEngine->UpdateAllSprites();  // the boss stops
  RunBossEntry();
  ASSERT_TRUE(_bBossEnginesAttached);
  ASSERT_TRUE(Listed(_pBossLeftEngine) && Listed(_pBossRightEngine));
  // The left engine is handed over first.
  const auto& sprites = _pEngine->GetSprites();
  EXPECT_LT(std::find(sprites.begin(), sprites.end(), _pBossLeftEngine),
            std::find(sprites.begin(), sprites.end(), _pBossRightEngine));

  _pBossLeftEngine->Kill();
  _pBossRightEngine->Kill();
  _pEngine->UpdateAllSprites();
  EXPECT_EQ(_pBossLeftEngine, nullptr);
  EXPECT_EQ(_pBossRightEngine, nullptr);
  _pBoss->Kill();
  _pEngine->UpdateAllSprites();
  EXPECT_EQ(_pBoss, nullptr);
  RunBossEntry();
  EXPECT_TRUE(Tagged(TagBoss).empty());
}

TEST(BossEntryRun, ARunEndingWhileTheBossDescendsFreesTheEnginesItNeverAttached) {
  GameHarness game;
  ASSERT_TRUE(game.Start());
  game.Step(5);
  game.Hold(kEnter, 4);
  game.Hold(kOne, 4);
  ASSERT_EQ(_iGameState, GameStateStage1);
  _iStageTicker = 2099;  // straight to the boss
  game.Step(3);
  ASSERT_NE(_pBoss, nullptr);
  EXPECT_EQ(_pBoss->GetPhase(), 0);
  ASSERT_NE(_pBossLeftEngine, nullptr);
  EXPECT_FALSE(_bBossEnginesAttached);
  // The sanitizer build fails this test if the end leaks them.
  game.Close();
  EXPECT_EQ(_pBossLeftEngine, nullptr);
  EXPECT_EQ(_pBossRightEngine, nullptr);
  EXPECT_EQ(_pBoss, nullptr);
}

}  // namespace
}  // namespace skyrift::testing
