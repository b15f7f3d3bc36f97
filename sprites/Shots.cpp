#include "sprites/EnemyBullet.h"

#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {

Sprite* MakeEnemyBullet(Bitmap* image, int frames) {
  auto* bullet = new Sprite(image, PlayArea(), EdgeDie);
  bullet->SetFrameCount(frames, FALSE);
  bullet->SetTag(TagEnemyBullet);
  return bullet;
}

}  // namespace skyrift
