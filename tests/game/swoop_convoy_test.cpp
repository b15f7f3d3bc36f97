// Swoopers and convoys: the swoop's placement, legs and velocity table; the convoy's chain of
// followers and its one shot per ship; the straight shots of both.
#include <map>
#include <memory>
#include <vector>

#include "World.h"
#include "platform/Random.h"
#include "sprites/ConvoyEnemy.h"
#include "sprites/SwoopEnemy.h"
#include "sprites/Tags.h"

namespace skyrift::testing {
namespace {

class SwoopConvoyTest : public World {
 protected:
  std::unique_ptr<SwoopEnemy> Swoop(int side, int pathLength) {
    auto ship = std::make_unique<SwoopEnemy>(_bmpSwoopEnemy, PlayArea(), EdgeDie, side, pathLength);
    ship->SetTag(TagEnemyShip);
    ship->SetHealth(10);
    return ship;
  }
  // A convoy ship the test owns; its followers go to the engine.
  std::unique_ptr<ConvoyEnemy> Convoy(int followers, POINT start, POINT velocity) {
    auto ship = std::make_unique<ConvoyEnemy>(_bmpConvoyEnemy, PlayArea(), EdgeDie, followers,
                                              start.x, start.y);
    ship->SetTag(TagEnemyShip);
    ship->SetVelocity(velocity);
    return ship;
  }
  std::vector<ConvoyEnemy*> Followers() const {
    std::vector<ConvoyEnemy*> found;
    for (Sprite* sprite : Fired()) {
      if (auto* ship = dynamic_cast<ConvoyEnemy*>(sprite)) found.push_back(ship);
    }
    return found;
  }
};

// The velocity the ship flies on `leg` from `side`, outside or in bullet time.
POINT Leg(int side, int leg, bool slowed = false) {
  const SwoopLeg& path = SwoopEnemy::kPath[side][leg];
  return slowed ? path.slowed : path.normal;
}

TEST(SwoopPath, SidesMirrorEachOtherEachLegIsSteeperAndBulletTimeIsSlower) {
  for (int leg = 0; leg < 3; ++leg) {
    for (bool slowed : {false, true}) {
      const POINT upperLeft = Leg(0, leg, slowed);
      // Into the area from every corner: right from the left, down from the top.
      EXPECT_GT(upperLeft.x, 0) << leg;
      EXPECT_GT(upperLeft.y, 0) << leg;
      EXPECT_EQ(Leg(1, leg, slowed), (POINT{-upperLeft.x, upperLeft.y})) << leg;
      EXPECT_EQ(Leg(2, leg, slowed), (POINT{upperLeft.x, -upperLeft.y})) << leg;
      EXPECT_EQ(Leg(3, leg, slowed), (POINT{-upperLeft.x, -upperLeft.y})) << leg;
      if (leg > 0) {
        const POINT before = Leg(0, leg - 1, slowed);
        EXPECT_LE(upperLeft.x, before.x) << leg;
        EXPECT_GE(upperLeft.y, before.y) << leg;
        EXPECT_GT(upperLeft.y * before.x, before.y * upperLeft.x) << "steeper, leg " << leg;
      }
    }
    EXPECT_LT(Leg(0, leg, true).x + Leg(0, leg, true).y, Leg(0, leg).x + Leg(0, leg).y) << leg;
  }
}

TEST_F(SwoopConvoyTest, SwooperIsPlacedJustOutsideItsCornerAndHoldsStillThere) {
  for (int side = 0; side < 4; ++side) {
    platform::SeedRandom(40 + side);
    const int draw = platform::Random();
    platform::SeedRandom(40 + side);
    auto ship = Swoop(side, 100);
    EXPECT_NE(ship->Update(), UpdateKill) << side;
    const RECT& at = ship->GetPosition();
    const bool left = (side == 0 || side == 2);
    EXPECT_EQ(at.left, left ? -50 : 900) << side;
    if (left) {
      EXPECT_EQ(at.right, 0) << side;  // touching the area, so not removed
    }
    EXPECT_EQ(at.top, (side >= 2 ? 400 : 0) + draw % 200) << side;
    EXPECT_EQ(ship->GetVelocity(), (POINT{0, 0})) << side;

    const RECT placed = at;
    ship->Update();
    EXPECT_EQ(ship->GetPosition().left - placed.left, Leg(side, 0).x) << side;
    EXPECT_EQ(ship->GetPosition().top - placed.top, Leg(side, 0).y) << side;
  }
}

TEST_F(SwoopConvoyTest, SwoopLegsChangeAtAQuarterOfThePathAndFiftyStepsLater) {
  struct Case {
    int pathLength;
    int leg2From;  // first step of leg 2 (1 when leg 1 is skipped)
    int leg3From;  // first step of leg 3
  } cases[] = {
      {100, 25, 75}, {0, 1, 50},  // leg 1 skipped
      {-3, 1, 49},                // -3 / 4 is 0; 197 / 4 is 49
      {-100, 1, 25},              // leg 2 shortened
      {-200, 1, 1},               // straight into leg 3
      {-400, 1, 1},
  };
  for (const Case& c : cases) {
    platform::SeedRandom(1);
    auto ship = Swoop(0, c.pathLength);
    ship->Update();           // placement
    ship->SetPosition(0, 0);  // room for ninety steps of the steepest leg
    for (int step = 1; step <= 90; ++step) {
      ASSERT_NE(ship->Update(), UpdateKill);
      const int leg = step < c.leg2From ? 0 : step < c.leg3From ? 1 : 2;
      ASSERT_EQ(ship->GetVelocity(), Leg(0, leg)) << c.pathLength << " step " << step;
    }
  }
}

TEST_F(SwoopConvoyTest, SwoopFollowsItsSidesRowInAndOutOfBulletTime) {
  for (int side = 0; side < 4; ++side) {
    for (BOOL bulletTime : {FALSE, TRUE}) {
      _bBulletTime = bulletTime;
      platform::SeedRandom(9);
      auto ship = Swoop(side, 100);  // legs from steps 1, 25 and 75
      ship->Update();
      for (int step = 1; step <= 80; ++step) {
        const RECT before = ship->GetPosition();
        ASSERT_NE(ship->Update(), UpdateKill);
        const int leg = step < 25 ? 0 : step < 75 ? 1 : 2;
        const POINT want = Leg(side, leg, bulletTime);
        ASSERT_EQ(ship->GetPosition().left - before.left, want.x) << side << " step " << step;
        ASSERT_EQ(ship->GetPosition().top - before.top, want.y) << side << " step " << step;
      }
    }
  }
}

TEST_F(SwoopConvoyTest, SwoopersShootAtRandomAndLeaveWhenOutOfTheArea) {
  platform::SeedRandom(21);
  auto ship = Swoop(0, 400);
  int spawns = 0, updates = 0;
  UpdateResult result = UpdateNone;
  while ((result = ship->Update()) != UpdateKill && updates < 1000) {
    ++updates;
    spawns += (result == UpdateSpawn);
  }
  EXPECT_EQ(result, UpdateKill);
  EXPECT_GT(ship->GetPosition().bottom, 590);  // it dove out through the bottom
  // About one frame in thirty.
  EXPECT_GT(spawns, 0);
  EXPECT_LT(spawns, updates / 10);
}

TEST_F(SwoopConvoyTest, StraightShotsDropFromTheMiddleOfTheShip) {
  auto swooper = Swoop(0, 100);
  swooper->SetPosition(100, 200);
  std::unique_ptr<Sprite> slow(swooper->SpawnSprite());
  auto convoy = Convoy(0, {300, 150}, {6, 2});
  std::unique_ptr<Sprite> fast(convoy->SpawnSprite());

  EXPECT_EQ(slow->GetPosition().left, 100 + 25);
  EXPECT_EQ(slow->GetPosition().top, 200 + 39);
  EXPECT_EQ(slow->GetVelocity(), (POINT{0, 10}));
  EXPECT_EQ(fast->GetPosition().left, 300 + 25);
  EXPECT_EQ(fast->GetPosition().top, 150 + 37);
  EXPECT_EQ(fast->GetVelocity(), (POINT{0, 15}));
  for (const Sprite* bullet : {slow.get(), fast.get()}) {
    EXPECT_EQ(bullet->GetBitmap(), _bmpEnemyBullet);
    EXPECT_EQ(bullet->GetWidth(), 10);
    EXPECT_EQ(bullet->Tag(), TagEnemyBullet);
  }
  EXPECT_TRUE(Fired().empty());  // returned to the engine, not added by the ships
}

TEST_F(SwoopConvoyTest, LeaderTrailsAFollowerEveryTwelveUpdatesFromItsStart) {
  auto leader = Convoy(6, {0, 100}, {6, 2});
  EXPECT_EQ(leader->GetPosition().left, 0);
  EXPECT_EQ(leader->GetHealth(), 12);
  for (int update = 1; update <= 36; ++update) {
    leader->Update();
    ASSERT_EQ(Followers().size(), static_cast<size_t>(update / 12)) << update;
  }
  for (ConvoyEnemy* follower : Followers()) {
    EXPECT_EQ(follower->GetPosition().left, 0);
    EXPECT_EQ(follower->GetPosition().top, 100);
    EXPECT_EQ(follower->GetVelocity(), (POINT{6, 2}));
    EXPECT_EQ(follower->GetBitmap(), _bmpConvoyEnemy);
    EXPECT_EQ(follower->Tag(), TagEnemyShip);
    EXPECT_EQ(follower->GetHealth(), 12);
  }

  // The first follower was made at the leader's age 12, so it fires on its own 138th update;
  // it never emits followers of its own.
  ConvoyEnemy* first = Followers().front();
  for (int update = 1; update < 138; ++update) ASSERT_EQ(first->Update(), UpdateNone) << update;
  EXPECT_EQ(first->Update(), UpdateSpawn);
  EXPECT_EQ(Followers().size(), 3u);
}

TEST_F(SwoopConvoyTest, FollowerMadeInBulletTimeKeepsTheSlowedHeading) {
  auto leader = Convoy(6, {900, 300}, {-6, 2});
  for (int update = 1; update < 12; ++update) leader->Update();
  _bBulletTime = TRUE;
  leader->Update();
  ASSERT_EQ(Followers().size(), 1u);
  ConvoyEnemy* follower = Followers().front();
  EXPECT_EQ(follower->GetVelocity(), (POINT{-1, 0}));

  _bBulletTime = FALSE;
  follower->Update();
  EXPECT_EQ(follower->GetPosition().left, 899);
  EXPECT_EQ(follower->GetPosition().top, 300);
  // The leader itself is back to full speed.
  const int x = leader->GetPosition().left;
  leader->Update();
  EXPECT_EQ(leader->GetPosition().left, x - 6);
}

TEST_F(SwoopConvoyTest, EveryShipOfAConvoyFiresOnceAtAge150) {
  // The leader and its followers, updated once per frame as the sprite list would, until all
  // have left the area.
  std::vector<std::unique_ptr<ConvoyEnemy>> owned;
  owned.push_back(Convoy(6, {0, 100}, {6, 2}));
  std::map<ConvoyEnemy*, int> shots;
  std::map<ConvoyEnemy*, bool> gone;
  std::vector<ConvoyEnemy*> ships{owned.front().get()};
  for (int frame = 0; frame < 400; ++frame) {
    for (ConvoyEnemy* ship : ships) {
      if (gone[ship]) continue;
      const UpdateResult result = ship->Update();
      if (result == UpdateKill) gone[ship] = true;
      if (result == UpdateSpawn) shots[ship] += 1;
    }
    ships.resize(1);
    for (ConvoyEnemy* follower : Followers()) ships.push_back(follower);
  }
  // A dozen followers, made at ages 12 to 144; the leader is gone before its 13th.
  ASSERT_EQ(ships.size(), 13u);
  for (ConvoyEnemy* ship : ships) {
    EXPECT_TRUE(gone[ship]);
    EXPECT_EQ(shots[ship], 1);
  }

  // A ship that leaves the area on the update that would make it 150 goes without firing.
  auto leaving = Convoy(0, {895, 100}, {6, 0});
  leaving->SetAge(149);
  EXPECT_EQ(leaving->Update(), UpdateKill);
  auto staying = Convoy(0, {894, 100}, {6, 0});
  staying->SetAge(149);
  EXPECT_EQ(staying->Update(), UpdateSpawn);
}

TEST_F(SwoopConvoyTest, ADyingShipDoesNothingMore) {
  auto leader = Convoy(6, {0, 100}, {6, 2});
  for (int update = 1; update < 12; ++update) leader->Update();
  const RECT at = leader->GetPosition();
  leader->SetAge(149);
  leader->Kill();
  EXPECT_EQ(leader->Update(), UpdateKill);
  EXPECT_EQ(leader->GetPosition(), at);
  EXPECT_TRUE(Followers().empty());

  platform::SeedRandom(2);
  auto swooper = Swoop(2, 100);
  swooper->Update();
  const RECT placed = swooper->GetPosition();
  swooper->Kill();
  EXPECT_EQ(swooper->Update(), UpdateKill);
  EXPECT_EQ(swooper->GetPosition(), placed);
}

}  // namespace
}  // namespace skyrift::testing
