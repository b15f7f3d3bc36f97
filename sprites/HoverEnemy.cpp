#include "sprites/HoverEnemy.h"

#include "platform/Random.h"
#include "sprites/Shots.h"
#include "world/Globals.h"

namespace skyrift {

HoverEnemy::HoverEnemy(Bitmap* image, const RECT& bounds, EdgeAction edgeAction, int side, int line)
    : HoveringEnemy(image, bounds, edgeAction, side, line) {}

HoverEnemy::~HoverEnemy() = default;

UpdateResult HoverEnemy::Update() {
  if (Fly() == UpdateKill) return UpdateKill;
  // The draw is made on every frame that survives, hovering or not.
  const bool shoot = (platform::Random() % 10 == 0);
  return (shoot && phase == 1) ? UpdateSpawn : UpdateNone;
}

Sprite* HoverEnemy::SpawnSprite() {
  return AimedShot(*this, _bmpEnemyBullet, ShotOrigin::BelowCentre, speedCap);
}

}  // namespace skyrift
