#include "sprites/Explosion.h"

#include "sprites/Play.h"
#include "sprites/Sprite.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kExplosionFrames = 15;

}  // namespace

void AddExplosion(int x, int y) {
  auto* explosion = new Sprite(_bmpExplosion, PlayArea(), EdgeDie);
  explosion->SetFrameCount(kExplosionFrames, TRUE);
  explosion->SetPosition(x, y);
  AddToPlay(explosion);
}

}  // namespace skyrift
