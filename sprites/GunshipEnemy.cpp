#include "sprites/GunshipEnemy.h"

#include "platform/Random.h"
#include "sprites/Play.h"
#include "sprites/Shots.h"
#include "world/Globals.h"

namespace skyrift {

GunshipEnemy::GunshipEnemy(Bitmap* image, const RECT& bounds, EdgeAction edgeAction, int side,
                           int line)
    : HoveringEnemy(image, bounds, edgeAction, side, line) {}

GunshipEnemy::~GunshipEnemy() = default;

UpdateResult GunshipEnemy::Update() {
  return Fly();
}

void GunshipEnemy::WhileHovering() {
  if (platform::Random() % 2 == 0) Fire();
}

void GunshipEnemy::Fire() {
  Sprite* bullet = AimedShot(*this, _bmpLargeEnemyBullet, ShotOrigin::GunPort, speedCap);
  if (bullet != nullptr) AddToPlay(bullet);
}

}  // namespace skyrift
