#include "sprites/SwoopEnemy.h"

#include <cstdlib>

#include "sprites/Shots.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

// Velocity by entry side and leg, in pixels per frame, outside and in bullet time. The upper
// sides dive, the lower sides climb, each leg steeper than the one before.
struct SwoopLeg {
  POINT normal;
  POINT slowed;
};
constexpr SwoopLeg kSwoopPath[4][3] = {
    {{{5, 2}, {2, 1}}, {{3, 3}, {1, 1}}, {{2, 5}, {1, 2}}},
    {{{-5, 2}, {-2, 1}}, {{-3, 3}, {-1, 1}}, {{-2, 5}, {-1, 2}}},
    {{{5, -2}, {2, -1}}, {{3, -3}, {1, -1}}, {{2, -5}, {1, -2}}},
    {{{-5, -2}, {-2, -1}}, {{-3, -3}, {-1, -1}}, {{-2, -5}, {-1, -2}}},
};

constexpr int kShotSpeed = 10;  // pixels per frame, straight down

}  // namespace

SwoopEnemy::SwoopEnemy(Bitmap* image, const RECT& bounds, EdgeAction edgeAction, int side,
                       int length)
    : Sprite(image, bounds, edgeAction), entrySide(side), pathLength(length) {}

SwoopEnemy::~SwoopEnemy() = default;

UpdateResult SwoopEnemy::Update() {
  if (dying) return UpdateKill;
  AdvanceFrame();

  if (stepCount == 0) {
    // Just outside a corner, touching the play area; the ship holds still on this frame.
    const bool fromLeft = (entrySide == 0 || entrySide == 2);
    const bool fromBelow = (entrySide == 2 || entrySide == 3);
    const int x = fromLeft ? -GetWidth() : _iPlayWidth;
    const int y = (fromBelow ? 400 : 0) + std::rand() % 200;
    SetPosition(x, y);
    stepCount = 1;
  } else {
    const int s = stepCount++;
    const int leg = (s < pathLength / 4) ? 0 : (s < (pathLength + 200) / 4) ? 1 : 2;
    const SwoopLeg& pair = kSwoopPath[entrySide & 3][leg];
    velocity = _bBulletTime ? pair.slowed : pair.normal;
  }

  const UpdateResult moved = MoveWithinBounds();
  if (moved == UpdateKill) return UpdateKill;
  return (std::rand() % 30 == 0) ? UpdateSpawn : UpdateNone;
}

Sprite* SwoopEnemy::SpawnSprite() {
  return StraightShot(*this, kShotSpeed);
}

}  // namespace skyrift
