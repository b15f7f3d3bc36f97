// The stage boss: its entry and stop, the fan, curtain and sweep patterns, the engine beams of
// a volley and what destroying the engines changes.
#include <memory>
#include <vector>

#include "World.h"
#include "platform/Random.h"
#include "sprites/BossShip.h"
#include "sprites/Tags.h"

namespace skyrift::testing {
namespace {

constexpr int kLeftBeamX = 450 - 325 + 117;
constexpr int kRightBeamX = 450 - 325 + 491;

class BossTest : public World {
 protected:
  void SetUp() override {
    World::SetUp();
    boss_ = std::make_unique<BossShip>(_bmpBoss1, PlayArea(), EdgeDie);
    boss_->SetTag(TagBoss);
    boss_->SetHealth(7500);
    boss_->SetPosition((900 - 650) / 2, -320);
  }

  // The boss as it is once stopped at the top of the play area.
  void Arrived() {
    boss_->SetPosition(125, 0);
    boss_->Update();
    ASSERT_EQ(boss_->GetPhase(), 1);
  }

  // The bullets added since the list held `from` sprites.
  std::vector<Sprite*> Since(size_t from) const {
    return std::vector<Sprite*>(Fired().begin() + static_cast<std::ptrdiff_t>(from), Fired().end());
  }

  // Runs `updates` updates and gives the x of each beam shot fired on each of them.
  std::vector<std::vector<int>> BeamsOver(int updates,
                                          const std::function<void(int)>& before = {}) {
    std::vector<std::vector<int>> beams;
    for (int update = 1; update <= updates; ++update) {
      if (before) before(update);
      const size_t from = Fired().size();
      boss_->Update();
      std::vector<int> xs;
      for (const Sprite* shot : Since(from)) {
        EXPECT_EQ(shot->GetBitmap(), _bmpBossBeam);
        EXPECT_EQ(shot->GetPosition().top, 255);
        EXPECT_EQ(shot->GetVelocity(), (POINT{0, 12}));
        EXPECT_EQ(shot->GetWidth(), 51);
        xs.push_back(shot->GetPosition().left);
      }
      beams.push_back(xs);
    }
    return beams;
  }

  // A seed whose first phase-1 draw starts a volley and whose next `quiet` draws start none.
  static unsigned VolleySeed(int quiet) {
    return SeedWhere(quiet + 1, [](const std::vector<int>& draws) {
      if (draws[0] % 250 != 0) return false;
      for (size_t i = 1; i < draws.size(); ++i) {
        if (draws[i] % 250 == 0) return false;
      }
      return true;
    });
  }

  std::unique_ptr<BossShip> boss_;
};

TEST_F(BossTest, GlidesInAndStopsOnceItsTopReachesTheArea) {
  for (int update = 1; update <= 64; ++update) {
    ASSERT_EQ(boss_->Update(), UpdateNone) << update;
    ASSERT_EQ(boss_->GetPosition().top, -320 + 5 * update);
  }
  EXPECT_EQ(boss_->GetPhase(), 0);
  // The 65th finds the top at 0: the boss stops without moving and asks for its patterns.
  EXPECT_EQ(boss_->Update(), UpdateSpawn);
  EXPECT_EQ(boss_->GetPhase(), 1);
  EXPECT_EQ(boss_->GetPosition().top, 0);
  EXPECT_EQ(boss_->GetPosition().left, 125);
  boss_->Update();
  EXPECT_EQ(boss_->GetPosition().top, 0);
  EXPECT_TRUE(Fired().empty());

  // In bullet time it enters at one pixel a frame.
  BossShip slow(_bmpBoss1, PlayArea(), EdgeDie);
  slow.SetPosition(125, -320);
  _bBulletTime = TRUE;
  for (int update = 1; update <= 320; ++update) slow.Update();
  EXPECT_EQ(slow.GetPosition().top, 0);
  EXPECT_EQ(slow.GetPhase(), 0);
  EXPECT_EQ(slow.Update(), UpdateSpawn);
  EXPECT_EQ(slow.GetPhase(), 1);
}

TEST_F(BossTest, FanIsSixteenBulletsInAHalfCircleFromTheMiddle) {
  Arrived();
  boss_->FanBurst();
  ASSERT_EQ(Fired().size(), 16u);
  // The left half turns from straight left to straight down, always downward; the right half
  // mirrors it bullet for bullet.
  for (size_t i = 0; i < 8; ++i) {
    const POINT left = Fired()[i]->GetVelocity();
    EXPECT_EQ(Fired()[i + 8]->GetVelocity(), (POINT{-left.x, left.y})) << i;
    if (i == 0) {
      EXPECT_TRUE(left.x < 0 && left.y == 0) << "starts straight left";
    }
    if (i == 7) {
      EXPECT_TRUE(left.x == 0 && left.y > 0) << "ends straight down";
    }
    if (i > 0) {
      const POINT before = Fired()[i - 1]->GetVelocity();
      EXPECT_TRUE(left.x > before.x && left.y > before.y) << "turns on at " << i;
    }
  }
  for (size_t i = 0; i < 16; ++i) {
    const Sprite* bullet = Fired()[i];
    EXPECT_EQ(bullet->GetPosition().left, 125 + 325) << i;
    EXPECT_EQ(bullet->GetPosition().top, 21) << i;
    EXPECT_EQ(bullet->GetBitmap(), _bmpLargeEnemyBullet);
    EXPECT_EQ(bullet->GetWidth(), 20);
    EXPECT_EQ(bullet->Tag(), TagEnemyBullet);
  }
}

TEST_F(BossTest, CurtainIsSixBulletsAcrossTheBodyWithTheLastDriftingRight) {
  Arrived();
  boss_->CurtainBurst();
  ASSERT_EQ(Fired().size(), 6u);
  for (int i = 0; i < 6; ++i) {
    const Sprite* bullet = Fired()[static_cast<size_t>(i)];
    EXPECT_EQ(bullet->GetPosition().left, 125 + 35 + i * 108) << i;
    EXPECT_EQ(bullet->GetPosition().top, 50) << i;
    EXPECT_EQ(bullet->GetVelocity(), (POINT{i < 5 ? -1 : 1, 11})) << i;
    EXPECT_EQ(bullet->GetBitmap(), _bmpBossCurtainBullet);
    EXPECT_EQ(bullet->GetWidth(), 7);
  }
}

TEST_F(BossTest, VolleyFiresBeamsEverySecondUpdateForNinetyNineUpdates) {
  Arrived();
  platform::SeedRandom(VolleySeed(150));
  const auto beams = BeamsOver(150);
  for (int update = 1; update <= 150; ++update) {
    const std::vector<int>& xs = beams[static_cast<size_t>(update - 1)];
    if (update % 2 == 0 && update < 100) {
      EXPECT_EQ(xs, (std::vector<int>{kLeftBeamX, kRightBeamX})) << update;
    } else {
      EXPECT_TRUE(xs.empty()) << update;
    }
  }
  // The fight goes on in phase 1 and the patterns are asked for every frame.
  EXPECT_EQ(boss_->Update(), UpdateSpawn);
  EXPECT_EQ(boss_->GetPhase(), 1);
}

TEST_F(BossTest, ADestroyedEngineFallsSilentAtOnceAndTheOtherFinishesTheVolley) {
  Arrived();
  platform::SeedRandom(VolleySeed(150));
  const auto beams = BeamsOver(150, [this](int update) {
    if (update == 41) boss_->SetLeftEngineDown(1);
  });
  for (int update = 1; update <= 150; ++update) {
    const std::vector<int>& xs = beams[static_cast<size_t>(update - 1)];
    if (update % 2 != 0 || update >= 100) {
      EXPECT_TRUE(xs.empty()) << update;
    } else if (update <= 40) {
      EXPECT_EQ(xs, (std::vector<int>{kLeftBeamX, kRightBeamX})) << update;
    } else {
      EXPECT_EQ(xs, (std::vector<int>{kRightBeamX})) << update;
    }
  }
  EXPECT_EQ(boss_->GetPhase(), 1);
}

TEST_F(BossTest, AVolleyWithOneEngineLeftStillRunsItsFullLength) {
  Arrived();
  boss_->SetRightEngineDown(1);
  platform::SeedRandom(VolleySeed(150));
  const auto beams = BeamsOver(150);
  for (int update = 1; update <= 150; ++update) {
    const std::vector<int>& xs = beams[static_cast<size_t>(update - 1)];
    if (update % 2 == 0 && update < 100) {
      EXPECT_EQ(xs, (std::vector<int>{kLeftBeamX})) << update;
    } else {
      EXPECT_TRUE(xs.empty()) << update;
    }
  }
}

TEST_F(BossTest, BothEnginesDownTurnsTheFightToPhaseTwo) {
  Arrived();
  boss_->SetLeftEngineDown(1);
  boss_->Update();
  EXPECT_EQ(boss_->GetPhase(), 1);
  boss_->SetRightEngineDown(1);
  EXPECT_EQ(boss_->GetPhase(), 1);  // the change comes with the next update
  EXPECT_EQ(boss_->Update(), UpdateSpawn);
  EXPECT_EQ(boss_->GetPhase(), 2);
  // No way back, and no beams without engines, whatever the draws.
  platform::SeedRandom(VolleySeed(10));
  for (int update = 0; update < 100; ++update) boss_->Update();
  EXPECT_EQ(boss_->GetPhase(), 2);
  EXPECT_TRUE(Fired().empty());
}

TEST_F(BossTest, SweepStartedBySpawnSpriteMakesElevenPairsOverTwentyOneUpdates) {
  Arrived();
  boss_->SetLeftEngineDown(1);
  boss_->SetRightEngineDown(1);
  boss_->Update();
  ASSERT_EQ(boss_->GetPhase(), 2);

  // No fan, no curtain, a sweep.
  const auto sweepOnly = [](const std::vector<int>& d) {
    return d[0] % 25 != 0 && d[1] % 30 != 0 && d[2] % 40 == 0;
  };
  platform::SeedRandom(SeedWhere(3, sweepOnly));
  EXPECT_EQ(boss_->SpawnSprite(), nullptr);

  std::vector<size_t> madeAt;  // bullets after the spawn and after each update
  madeAt.push_back(Fired().size());
  for (int update = 1; update <= 20; ++update) {
    // A second start while one runs does not restart it.
    if (update == 5) {
      platform::SeedRandom(SeedWhere(3, sweepOnly));
      boss_->SpawnSprite();
    }
    boss_->Update();
    madeAt.push_back(Fired().size());
  }
  for (size_t step = 0; step <= 20; ++step) {
    EXPECT_EQ(madeAt[step], 2 * (step / 2 + 1)) << "step " << step;
  }
  ASSERT_EQ(Fired().size(), 22u);
  for (size_t pair = 0; pair < 11; ++pair) {
    const Sprite* first = Fired()[2 * pair];
    const Sprite* second = Fired()[2 * pair + 1];
    // Stream A turns from straight left through straight down to straight right, evenly on both
    // sides of the middle; stream B mirrors it.
    const POINT a = first->GetVelocity();
    const POINT mirrored = Fired()[2 * (10 - pair)]->GetVelocity();
    EXPECT_EQ(second->GetVelocity(), (POINT{-a.x, a.y})) << pair;
    EXPECT_EQ(mirrored, (POINT{-a.x, a.y})) << pair;
    EXPECT_GE(a.y, 0) << pair;
    if (pair == 0) {
      EXPECT_TRUE(a.x < 0 && a.y == 0) << "starts straight left";
    }
    if (pair == 5) {
      EXPECT_TRUE(a.x == 0 && a.y > 0) << "straight down in the middle";
    }
    if (pair > 0) {
      const POINT before = Fired()[2 * (pair - 1)]->GetVelocity();
      EXPECT_GT(a.x, before.x) << pair;
      EXPECT_TRUE(pair <= 5 ? a.y >= before.y : a.y <= before.y) << pair;
    }
    for (const Sprite* bullet : {first, second}) {
      EXPECT_EQ(bullet->GetPosition().left, 125 + 317);
      EXPECT_EQ(bullet->GetPosition().top, 162);
      EXPECT_EQ(bullet->GetBitmap(), _bmpBossSweepBullet);
      EXPECT_EQ(bullet->GetWidth(), 20);
    }
  }

  // Step 20 ended it: on the very next frame a new draw starts a new sweep from its first pair,
  // and that one ends after its eleven pairs too.
  platform::SeedRandom(SeedWhere(3, sweepOnly));
  boss_->SpawnSprite();
  ASSERT_EQ(Fired().size(), 24u);
  EXPECT_EQ(Fired()[22]->GetVelocity(), (POINT{-9, 0}));
  for (int update = 1; update <= 30; ++update) boss_->Update();
  EXPECT_EQ(Fired().size(), 44u);
}

TEST_F(BossTest, PatternsFollowThePhasesDraws) {
  Arrived();
  // Phase 1: a fan on one draw in 30, then a curtain on one in 60; never a sweep.
  platform::SeedRandom(
      SeedWhere(2, [](const std::vector<int>& d) { return d[0] % 30 == 0 && d[1] % 60 == 0; }));
  boss_->SpawnSprite();
  EXPECT_EQ(Fired().size(), 16u + 6u);
  platform::SeedRandom(
      SeedWhere(2, [](const std::vector<int>& d) { return d[0] % 30 != 0 && d[1] % 60 == 0; }));
  boss_->SpawnSprite();
  EXPECT_EQ(Fired().size(), 16u + 6u + 6u);
  platform::SeedRandom(SeedWhere(3, [](const std::vector<int>& d) {
    return d[0] % 30 != 0 && d[1] % 60 != 0 && d[2] % 40 == 0;
  }));
  boss_->SpawnSprite();
  boss_->Update();
  EXPECT_EQ(Fired().size(), 16u + 6u + 6u);

  // Phase 2: one in 25 for a fan, one in 30 for a curtain.
  boss_->SetLeftEngineDown(1);
  boss_->SetRightEngineDown(1);
  boss_->Update();
  const size_t before = Fired().size();
  platform::SeedRandom(SeedWhere(3, [](const std::vector<int>& d) {
    return d[0] % 25 == 0 && d[0] % 30 != 0 && d[1] % 30 == 0 && d[2] % 40 != 0;
  }));
  boss_->SpawnSprite();
  EXPECT_EQ(Fired().size(), before + 16u + 6u);
}

}  // namespace
}  // namespace skyrift::testing
