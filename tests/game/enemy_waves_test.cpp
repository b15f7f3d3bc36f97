// The enemy schedules: which ticks spawn what, the random places and paths in their draw order,
// the convoy's side, and the swoopers of the boss's last phase.
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "World.h"
#include "game/EnemyWaves.h"
#include "platform/Random.h"
#include "sprites/BossShip.h"
#include "sprites/Tags.h"

namespace skyrift::testing {
namespace {

// A run of spawns: `count` ticks from `first`, `step` apart.
struct Run {
  int first;
  int last;
  int count;
  int step;
};

using Spawns = std::map<int, int>;  // tick -> enemies spawned on it

Spawns Expected(std::initializer_list<Run> runs) {
  Spawns spawns;
  for (const Run& run : runs) {
    EXPECT_EQ(run.first + (run.count - 1) * run.step, run.last) << "a mistyped row";
    for (int i = 0; i < run.count; ++i) ++spawns[run.first + i * run.step];
  }
  return spawns;
}

class EnemyWaves : public World {
 protected:
  // One kind's waves for the current tick, as the stage runs them.
  static void Run(const Bitmap* image) { RunWaves(*EnemyKindOf(image)); }

  // Runs one kind's waves on every tick of a stage and notes what they add, checking the picture.
  Spawns Observe(const Bitmap* image) {
    Spawns spawns;
    platform::SeedRandom(1);
    for (int t = 1; t <= 2500; ++t) {
      _iStageTicker = t;
      const size_t before = _pEngine->GetSprites().size();
      Run(image);
      const auto& sprites = _pEngine->GetSprites();
      for (size_t i = before; i < sprites.size(); ++i) {
        EXPECT_EQ(sprites[i]->GetBitmap(), image) << "tick " << t;
      }
      if (sprites.size() > before) spawns[t] = static_cast<int>(sprites.size() - before);
    }
    return spawns;
  }

  // Runs `spawn` and returns the sprite it added last, or null when the list did not grow.
  template <typename Spawn>
  static Sprite* Spawned(Spawn spawn) {
    const size_t before = _pEngine->GetSprites().size();
    spawn();
    const auto& sprites = _pEngine->GetSprites();
    return sprites.size() > before ? sprites.back() : nullptr;
  }

  // Where a swooper entered (0 upper left, 1 upper right, 2 lower left, 3 lower right) and how
  // many moves its first leg lasted: its path length over 4, less one.
  struct Flight {
    int side;
    int firstLegMoves;
  };
  static Flight Fly(Sprite* swooper) {
    swooper->Update();  // placement only
    const RECT at = swooper->GetPosition();
    EXPECT_TRUE(at.left == -50 || at.left == 900) << at.left;
    const int side = (at.top >= 400 ? 2 : 0) + (at.left == 900 ? 1 : 0);
    const POINT firstLeg{side % 2 == 0 ? 5 : -5, side < 2 ? 2 : -2};
    int moves = 0;
    for (swooper->Update();
         swooper->GetVelocity().x == firstLeg.x && swooper->GetVelocity().y == firstLeg.y;
         swooper->Update()) {
      ++moves;
    }
    return {side, moves};
  }

  // A boss standing at the top of the play area, in the list and named by _pBoss.
  static BossShip* StoppedBoss() {
    auto* boss = new BossShip(_bmpBoss1, PlayArea(), EdgeDie);
    boss->SetTag(TagBoss);
    boss->SetPosition(125, 0);
    _pEngine->InsertSprite(boss);
    _pBoss = boss;
    boss->Update();
    EXPECT_EQ(boss->GetPhase(), 1);
    return boss;
  }
};

TEST_F(EnemyWaves, EveryScheduleSpawnsOnItsTicksWithTheWindowEndsLeftOut) {
  const Spawns swoop = Observe(_bmpSwoopEnemy);
  EXPECT_EQ(swoop, Expected({{36, 96, 6, 12},
                             {252, 348, 9, 12},
                             {1260, 1344, 8, 12},
                             {1512, 1692, 16, 12},
                             {676, 896, 56, 4},
                             {156, 240, 8, 12},
                             {432, 516, 8, 12},
                             {1104, 1188, 8, 12},
                             {1404, 1596, 17, 12}}));
  EXPECT_EQ(swoop.begin()->first, 36);
  EXPECT_EQ(swoop.count(900), 0u) << "a multiple of 4, but the window's end";
  EXPECT_EQ(swoop.at(1596), 2) << "both swoop sides at once";

  EXPECT_EQ(Observe(_bmpHoverEnemy),
            Expected({{264, 396, 3, 66}, {1452, 1782, 6, 66}, {700, 875, 6, 35}}));
  EXPECT_EQ(Observe(_bmpGunshipEnemy),
            Expected({{930, 1020, 4, 30}, {1250, 1350, 3, 50}, {1584, 1848, 4, 88}}));
  EXPECT_EQ(Observe(_bmpConvoyEnemy), Expected({{1085, 1225, 5, 35}, {1435, 1540, 4, 35}}))
      << "leaders only: they bring their followers themselves";
}

TEST_F(EnemyWaves, EachKindEntersWithItsTagHealthAndEdge) {
  struct Case {
    void (*spawn)();
    const Bitmap* image;
    int health;
  };
  const Case cases[] = {
      {[] { SpawnSwoopEnemy(0, 100); }, _bmpSwoopEnemy, 10},
      {[] { SpawnHoverEnemy(250); }, _bmpHoverEnemy, 15},
      {[] { SpawnGunshipEnemy(250); }, _bmpGunshipEnemy, 50},
      {[] { SpawnConvoyEnemy(6, 50); }, _bmpConvoyEnemy, 12},
  };
  for (const Case& c : cases) {
    const Sprite* enemy = Spawned(c.spawn);
    ASSERT_NE(enemy, nullptr);
    EXPECT_EQ(enemy->GetBitmap(), c.image);
    EXPECT_EQ(enemy->Tag(), TagEnemyShip);
    EXPECT_EQ(enemy->GetHealth(), c.health);
    EXPECT_EQ(enemy->GetEdgeAction(), EdgeDie);
    const RECT bounds = enemy->GetBounds();
    EXPECT_EQ(bounds.right, 900);
    EXPECT_EQ(bounds.bottom, 600);
  }
}

TEST_F(EnemyWaves, SwoopersTakeTheirSideAndPathFromTheDrawsInOrder) {
  // The upper-left rows: only the path length is drawn.
  {
    const unsigned seed = SeedWhere(1, [](const std::vector<int>&) { return true; });
    const int length = 50 + DrawsAfter(seed, 1)[0] % 125;
    _iStageTicker = 36;
    Sprite* swooper = Spawned([] { Run(_bmpSwoopEnemy); });
    ASSERT_NE(swooper, nullptr);
    const Flight flight = Fly(swooper);
    EXPECT_EQ(flight.side, 0);
    EXPECT_EQ(flight.firstLegMoves + 1, length / 4);
  }
  // The upper-right rows.
  {
    const unsigned seed = SeedWhere(1, [](const std::vector<int>& d) { return d[0] % 125 > 60; });
    const int length = 50 + DrawsAfter(seed, 1)[0] % 125;
    _iStageTicker = 156;
    Sprite* swooper = Spawned([] { Run(_bmpSwoopEnemy); });
    ASSERT_NE(swooper, nullptr);
    const Flight flight = Fly(swooper);
    EXPECT_EQ(flight.side, 1);
    EXPECT_EQ(flight.firstLegMoves + 1, length / 4);
  }
  // The dense wave: the side first, then the length; the draws are chosen so that swapping
  // them would show.
  for (int side = 0; side < 4; ++side) {
    const unsigned seed = SeedWhere(2, [side](const std::vector<int>& d) {
      return d[0] % 4 == side && d[1] % 4 != side && d[1] % 700 >= 8;
    });
    const std::vector<int> draws = DrawsAfter(seed, 2);
    _iStageTicker = 676;
    Sprite* swooper = Spawned([] { Run(_bmpSwoopEnemy); });
    ASSERT_NE(swooper, nullptr);
    const Flight flight = Fly(swooper);
    EXPECT_EQ(flight.side, side);
    EXPECT_EQ(flight.firstLegMoves + 1, (draws[1] % 700) / 4);
  }
}

TEST_F(EnemyWaves, AConvoyLeaderStartsOnTheSideItsCoinShowsAfterItsHeightIsDrawn) {
  for (const int coin : {0, 1}) {
    const unsigned seed =
        SeedWhere(2, [coin](const std::vector<int>& d) { return d[1] % 2 == coin; });
    const std::vector<int> draws = DrawsAfter(seed, 2);
    _iStageTicker = 1085;
    const Sprite* leader = Spawned([] { Run(_bmpConvoyEnemy); });
    ASSERT_NE(leader, nullptr);
    EXPECT_EQ(leader->GetPosition().left, coin == 0 ? 0 : 900);
    EXPECT_EQ(leader->GetPosition().top, draws[0] % 100);
    EXPECT_EQ(leader->GetVelocity().x, coin == 0 ? 6 : -6);
    EXPECT_EQ(leader->GetVelocity().y, 2);
  }
}

TEST_F(EnemyWaves, HoverShipsAndGunshipsStopOnTheirDrawnLineAndConvoyLeadersTrailFollowers) {
  // The line is 200 plus the first draw modulo 100; seeds at both ends of the hundred whose
  // second draw lies at the other end, so that a second draw would show.
  const struct {
    Bitmap* image;
    int tick;
  } kinds[] = {{_bmpHoverEnemy, 264}, {_bmpGunshipEnemy, 930}};
  for (const auto& kind : kinds) {
    for (const bool high : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "tick " << kind.tick << (high ? ", high" : ", low"));
      const unsigned seed = SeedWhere(2, [high](const std::vector<int>& d) {
        return high ? d[0] % 100 >= 90 && d[1] % 100 < 50 : d[0] % 100 < 10 && d[1] % 100 >= 50;
      });
      const int line = 200 + DrawsAfter(seed, 1)[0] % 100;
      _iStageTicker = kind.tick;
      Sprite* ship = Spawned([&] { Run(kind.image); });
      ASSERT_NE(ship, nullptr);
      int updates = 0;
      do {
        ship->Update();
      } while (ship->GetVelocity().y != 0 && ++updates < 200);
      // Hovering: it stopped one move after its top edge came within 5 of the line.
      EXPECT_EQ(ship->GetVelocity().y, 0);
      EXPECT_NEAR(ship->GetPosition().top - 5, line, 4);
    }
  }

  // The schedule's convoy ship is a leader: it trails a follower every 12 frames.
  _iStageTicker = 1085;
  Run(_bmpConvoyEnemy);
  for (int frame = 0; frame < 25; ++frame) _pEngine->UpdateAllSprites();
  EXPECT_EQ(Showing(_bmpConvoyEnemy).size(), 3u);
}

TEST_F(EnemyWaves, TheBossPhaseRowRunsOnlyWhileTheBossFightsWithoutEngines) {
  _iStageTicker = 3000;  // past every window
  const auto spawnsAndDraws = [](unsigned seed) {
    platform::SeedRandom(seed);
    const size_t before = _pEngine->GetSprites().size();
    Run(_bmpSwoopEnemy);
    const int spawned = static_cast<int>(_pEngine->GetSprites().size() - before);
    const int next = platform::Random();
    // How many draws the row took: the position of `next` in the sequence after `seed`.
    platform::SeedRandom(seed);
    int used = 0;
    while (platform::Random() != next && used < 10) ++used;
    return std::pair<int, int>{spawned, used};
  };
  const unsigned lucky =
      SeedWhere(3, [](const std::vector<int>& d) { return d[0] % 30 == 0 && d[2] % 3 == 2; });

  // No boss, or one still with its engines: nothing, and no draw.
  EXPECT_EQ(spawnsAndDraws(lucky), (std::pair<int, int>{0, 0}));
  BossShip* boss = StoppedBoss();
  EXPECT_EQ(spawnsAndDraws(lucky), (std::pair<int, int>{0, 0}));

  // Both engines down: one chance in 30 a frame, then the length and the side.
  boss->SetLeftEngineDown(1);
  boss->SetRightEngineDown(1);
  boss->Update();
  ASSERT_EQ(boss->GetPhase(), 2);
  const unsigned unlucky = SeedWhere(1, [](const std::vector<int>& d) { return d[0] % 30 != 0; });
  EXPECT_EQ(spawnsAndDraws(unlucky), (std::pair<int, int>{0, 1}));
  const std::vector<int> draws = DrawsAfter(lucky, 3);
  ASSERT_EQ(spawnsAndDraws(lucky), (std::pair<int, int>{1, 3}));
  const Flight flight = Fly(_pEngine->GetSprites().back());
  EXPECT_EQ(flight.side, 3);
  EXPECT_EQ(flight.firstLegMoves, std::max(0, (draws[1] % 700) / 4 - 1));

  // Once the list has deleted the boss, the row is gone for good.
  boss->Kill();
  _pEngine->UpdateAllSprites();
  EXPECT_EQ(_pBoss, nullptr);
  EXPECT_EQ(spawnsAndDraws(lucky), (std::pair<int, int>{0, 0}));
}

}  // namespace
}  // namespace skyrift::testing
