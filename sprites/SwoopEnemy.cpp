#include "sprites/SwoopEnemy.h"

#include "platform/Random.h"
#include "sprites/Shots.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

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
    const int y = (fromBelow ? 400 : 0) + platform::Random() % 200;
    SetPosition(x, y);
    stepCount = 1;
  } else {
    const int s = stepCount++;
    const int leg = (s < pathLength / 4) ? 0 : (s < (pathLength + 200) / 4) ? 1 : 2;
    const SwoopLeg& pair = kPath[entrySide & 3][leg];
    velocity = _bBulletTime ? pair.slowed : pair.normal;
  }

  const UpdateResult moved = MoveWithinBounds();
  if (moved == UpdateKill) return UpdateKill;
  return (platform::Random() % 30 == 0) ? UpdateSpawn : UpdateNone;
}

Sprite* SwoopEnemy::SpawnSprite() {
  return StraightShot(*this, kShotSpeed);
}

}  // namespace skyrift
