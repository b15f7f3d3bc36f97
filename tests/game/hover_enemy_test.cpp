// Hover ships and gunships: how their shots aim, and the drop-in, hover and climb-out flight.
#include <algorithm>
#include <memory>
#include <vector>

#include "World.h"
#include "platform/Random.h"
#include "sprites/GunshipEnemy.h"
#include "sprites/HoverEnemy.h"
#include "sprites/Tags.h"

namespace skyrift::testing {
namespace {

class HoverEnemyTest : public World {
 protected:
  std::unique_ptr<HoverEnemy> Hover(int side, int stopLine) {
    auto ship = std::make_unique<HoverEnemy>(_bmpHoverEnemy, PlayArea(), EdgeDie, side, stopLine);
    ship->SetTag(TagEnemyShip);
    return ship;
  }
  std::unique_ptr<GunshipEnemy> Gunship(int stopLine) {
    auto ship = std::make_unique<GunshipEnemy>(_bmpGunshipEnemy, PlayArea(), EdgeDie, 0, stopLine);
    ship->SetTag(TagEnemyShip);
    return ship;
  }
  // A hover ship standing at (x, y), as if it had flown there.
  std::unique_ptr<HoverEnemy> HoverAt(int x, int y) {
    auto ship = Hover(0, 300);
    ship->SetPosition(x, y);
    return ship;
  }
};

// What one whole flight looked like, update by update.
struct Flight {
  int stillFrames = 0;    // updates that left the ship where it was
  int firstStillTop = 0;  // where it hovered
  int spawnsWhileMoving = 0;
  int spawnsWhileStill = 0;
  bool removed = false;
  std::vector<int> steps;  // vertical move of each update that moved
};

Flight Fly(Sprite& ship, int maxUpdates = 1000) {
  Flight flight;
  bool placed = false;
  for (int i = 0; i < maxUpdates; ++i) {
    const RECT before = ship.GetPosition();
    const UpdateResult result = ship.Update();
    if (result == UpdateKill) {
      flight.removed = true;
      break;
    }
    const RECT after = ship.GetPosition();
    // The first update places the ship; its move is measured from there.
    const int dy = placed ? after.top - before.top : 0;
    const bool still = placed && after == before;
    if (!placed) {
      placed = true;
      flight.steps.push_back(0);
    } else if (still) {
      if (flight.stillFrames++ == 0) flight.firstStillTop = after.top;
    } else {
      flight.steps.push_back(dy);
    }
    if (result == UpdateSpawn) (still ? flight.spawnsWhileStill : flight.spawnsWhileMoving) += 1;
  }
  return flight;
}

TEST_F(HoverEnemyTest, AimedShotsHalveTowardTheTargetUntilUnderTheCap) {
  struct Case {
    POINT offset;    // target's top-left minus the shooter's
    POINT velocity;  // of the bullet
  } cases[] = {
      {{100, 300}, {3, 9}},    // five halvings
      {{-100, 300}, {-3, 9}},  // the same to the left; halves truncate toward zero
      {{400, 20}, {6, 0}},     // the horizontal component keeps halving once dy is under
      {{-400, 20}, {-6, 0}},  {{10, 10}, {10, 10}},  // at the cap nothing halves
      {{11, 0}, {5, 0}},      {{-11, 3}, {-5, 1}},
      {{0, 0}, {0, 0}},     // on top of its target: a bullet that stands still
      {{-30, 0}, {-7, 0}},  // level with the target: still fired
  };
  for (const Case& c : cases) {
    const POINT target{300 + c.offset.x, 200 + c.offset.y};
    Players(&target, nullptr);
    auto ship = HoverAt(300, 200);
    std::unique_ptr<Sprite> bullet(ship->SpawnSprite());
    ASSERT_NE(bullet, nullptr) << c.offset.x << "," << c.offset.y;
    EXPECT_EQ(bullet->GetVelocity(), c.velocity) << c.offset.x << "," << c.offset.y;
  }
}

TEST_F(HoverEnemyTest, NoShotAtATargetAboveTheShooter) {
  const POINT justAbove{300, 199};
  Players(nullptr, &justAbove);
  EXPECT_EQ(std::unique_ptr<Sprite>(HoverAt(300, 200)->SpawnSprite()), nullptr);
  auto gunship = Gunship(100);
  gunship->SetPosition(300, 200);
  gunship->Fire();
  EXPECT_TRUE(Fired().empty());
}

TEST_F(HoverEnemyTest, ShotsAimOnlyAtPlayersInPlay) {
  const POINT one{400, 500};
  const POINT two{100, 500};

  // With one player out the other is the target, whatever rand() gives.
  for (unsigned seed : {1u, 2u, 3u, 4u}) {
    platform::SeedRandom(seed);
    Players(&one, nullptr);
    std::unique_ptr<Sprite> atOne(HoverAt(200, 100)->SpawnSprite());
    EXPECT_EQ(atOne->GetVelocity(), (POINT{3, 6}));
    Players(nullptr, &two);
    std::unique_ptr<Sprite> atTwo(HoverAt(200, 100)->SpawnSprite());
    EXPECT_EQ(atTwo->GetVelocity(), (POINT{-1, 6}));
  }

  // Both in: an even draw picks player 1, an odd one player 2.
  bool sawOne = false, sawTwo = false;
  for (unsigned seed = 1; seed <= 16; ++seed) {
    platform::SeedRandom(seed);
    const bool even = platform::Random() % 2 == 0;
    platform::SeedRandom(seed);
    Players(&one, &two);
    std::unique_ptr<Sprite> bullet(HoverAt(200, 100)->SpawnSprite());
    EXPECT_EQ(bullet->GetVelocity(), even ? (POINT{3, 6}) : (POINT{-1, 6})) << seed;
    (even ? sawOne : sawTwo) = true;
  }
  EXPECT_TRUE(sawOne && sawTwo);

  // Nobody in play: the corner of the play area, so only a shooter at the very top fires.
  Players(nullptr, nullptr);
  std::unique_ptr<Sprite> atCorner(HoverAt(200, 0)->SpawnSprite());
  ASSERT_NE(atCorner, nullptr);
  EXPECT_EQ(atCorner->GetVelocity(), (POINT{-6, 0}));
  EXPECT_EQ(std::unique_ptr<Sprite>(HoverAt(200, 1)->SpawnSprite()), nullptr);
}

TEST_F(HoverEnemyTest, HoverShotsLeaveBelowTheMiddleAndGunshipShotsFromTheGunPort) {
  const POINT below{400, 500};
  Players(&below, nullptr);

  std::unique_ptr<Sprite> small(HoverAt(200, 100)->SpawnSprite());
  EXPECT_EQ(small->GetPosition().left, 200 + 64 / 2);
  EXPECT_EQ(small->GetPosition().top, 100 + 29);
  EXPECT_EQ(small->GetBitmap(), _bmpEnemyBullet);
  EXPECT_EQ(small->GetWidth(), 10);
  EXPECT_EQ(small->Tag(), TagEnemyBullet);
  EXPECT_TRUE(Fired().empty());  // the engine adds it, not the ship

  auto gunship = Gunship(100);
  gunship->SetPosition(200, 100);
  for (unsigned seed = 1; seed <= 30; ++seed) {
    platform::SeedRandom(seed);
    const int yDraw = platform::Random();
    const int xDraw = platform::Random();
    platform::SeedRandom(seed);
    gunship->Fire();
    ASSERT_EQ(Fired().size(), seed);
    const Sprite* large = Fired().back();
    EXPECT_EQ(large->GetPosition().left, 200 + 54 + xDraw % 15);
    EXPECT_EQ(large->GetPosition().top, 100 + 34 + yDraw % 27);
    EXPECT_EQ(large->GetBitmap(), _bmpLargeEnemyBullet);
    EXPECT_EQ(large->GetWidth(), 20);
    EXPECT_EQ(large->Tag(), TagEnemyBullet);
  }
}

TEST_F(HoverEnemyTest, AStopLineAheadAlwaysStopsTheShip) {
  platform::SeedRandom(7);
  for (BOOL bulletTime : {FALSE, TRUE}) {
    _bBulletTime = bulletTime;
    // From the top: placed at -29, so every line from -33 down lies ahead. (Near the bottom
    // edge the move made on the stopping frame would carry the ship out of the area.)
    for (int line = -33; line <= 590; line += 1) {
      auto ship = Hover(0, line);
      const Flight flight = Fly(*ship);
      ASSERT_EQ(flight.stillFrames, 48) << "line " << line << " bullet time " << bulletTime;
      // Stopped inside the window, then made that frame's move.
      const int move = bulletTime ? 2 : 5;
      EXPECT_GT(flight.firstStillTop, line - 5 + move);
      EXPECT_LT(flight.firstStillTop, line + 5 + move);
    }
    // From the bottom: placed at 600, lines up to 604 lie ahead.
    for (int line = 0; line <= 604; line += 1) {
      auto ship = Hover(1, line);
      const Flight flight = Fly(*ship);
      ASSERT_EQ(flight.stillFrames, 48) << "line " << line << " bullet time " << bulletTime;
    }
  }
}

TEST_F(HoverEnemyTest, AStopLineBehindTheStartNeverStopsTheShip) {
  platform::SeedRandom(7);
  auto fromTop = Hover(0, -34);
  Flight flight = Fly(*fromTop);
  EXPECT_EQ(flight.stillFrames, 0);
  EXPECT_TRUE(flight.removed);
  EXPECT_GT(fromTop->GetPosition().top, 600 - 5);  // it crossed to the far side

  auto fromBottom = Hover(1, 605);
  flight = Fly(*fromBottom);
  EXPECT_EQ(flight.stillFrames, 0);
  EXPECT_TRUE(flight.removed);
  EXPECT_LT(fromBottom->GetPosition().bottom, 5);
}

TEST_F(HoverEnemyTest, FlightHoversFortyEightFramesAndLeavesTheWayItCame) {
  platform::SeedRandom(3);
  auto ship = Hover(0, 100);
  const Flight flight = Fly(*ship);
  EXPECT_TRUE(flight.removed);
  EXPECT_EQ(flight.stillFrames, 2 * 24);
  EXPECT_EQ(flight.firstStillTop, 101);  // stopped at 96, within the window, after one more move
  // In at 5 a frame, out the same way.
  const std::vector<int>& steps = flight.steps;
  const auto firstUp = std::find(steps.begin(), steps.end(), -5);
  ASSERT_NE(firstUp, steps.end());
  EXPECT_TRUE(std::all_of(steps.begin() + 1, firstUp, [](int dy) { return dy == 5; }));
  EXPECT_TRUE(std::all_of(firstUp, steps.end(), [](int dy) { return dy == -5; }));
  // The hover ship asks for shots only while it hovers.
  EXPECT_EQ(flight.spawnsWhileMoving, 0);
  EXPECT_GT(flight.spawnsWhileStill, 0);

  // A line within reach of the placement stops the ship on its first update, after that
  // update's move.
  auto early = Hover(0, -31);
  const Flight short_ = Fly(*early);
  EXPECT_EQ(short_.firstStillTop, -24);
  EXPECT_EQ(short_.stillFrames, 48);

  // The hover time follows the frame rate.
  _iFrameRate = 10;
  auto quick = Hover(0, 100);
  EXPECT_EQ(Fly(*quick).stillFrames, 20);
}

TEST_F(HoverEnemyTest, BulletTimeSlowsTheFlightToTwoPixelsAFrame) {
  platform::SeedRandom(5);
  _bBulletTime = TRUE;
  auto ship = Hover(1, 300);
  const Flight flight = Fly(*ship, 2000);
  EXPECT_TRUE(flight.removed);
  EXPECT_EQ(flight.stillFrames, 48);
  std::vector<int> moves(flight.steps.begin() + 1, flight.steps.end());
  const auto firstDown = std::find(moves.begin(), moves.end(), 2);
  ASSERT_NE(firstDown, moves.end());
  EXPECT_TRUE(std::all_of(moves.begin(), firstDown, [](int dy) { return dy == -2; }));
  EXPECT_TRUE(std::all_of(firstDown, moves.end(), [](int dy) { return dy == 2; }));

  // Switching it off mid-flight gives back the full speed on the next update.
  _bBulletTime = FALSE;
  auto other = Hover(0, 500);
  other->Update();
  other->Update();
  const int top = other->GetPosition().top;
  _bBulletTime = TRUE;
  other->Update();
  EXPECT_EQ(other->GetPosition().top, top + 2);
  _bBulletTime = FALSE;
  other->Update();
  EXPECT_EQ(other->GetPosition().top, top + 7);
}

TEST_F(HoverEnemyTest, GunshipFiresOnlyWhileHovering) {
  const POINT one{400, 560};
  const POINT two{600, 560};
  Players(&one, &two);
  platform::SeedRandom(11);
  auto ship = Gunship(200);
  int shotsWhileMoving = 0, shotsWhileStill = 0, stillFrames = 0;
  bool placed = false;
  for (int i = 0; i < 1000; ++i) {
    const RECT before = ship->GetPosition();
    const size_t count = Fired().size();
    const UpdateResult result = ship->Update();
    EXPECT_NE(result, UpdateSpawn);
    if (result == UpdateKill) break;
    const bool still = placed && ship->GetPosition() == before;
    placed = true;
    const int shots = static_cast<int>(Fired().size() - count);
    EXPECT_LE(shots, 1);
    (still ? shotsWhileStill : shotsWhileMoving) += shots;
    stillFrames += still;
  }
  EXPECT_EQ(stillFrames, 48);
  EXPECT_EQ(shotsWhileMoving, 0);
  // One chance in two on each hovering frame.
  EXPECT_GT(shotsWhileStill, 10);
  EXPECT_LT(shotsWhileStill, 38);
  EXPECT_EQ(std::unique_ptr<Sprite>(ship->SpawnSprite()), nullptr);
}

}  // namespace
}  // namespace skyrift::testing
