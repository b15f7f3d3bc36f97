// What every enemy shot has in common.
#pragma once

#include "sprites/Sprite.h"

namespace skyrift {

// A plain sprite tagged "enemy_bullet" with `frames` frames cycling, bounded by the play area
// and removed once it has left it. Its creator places it and gives it its velocity.
Sprite* MakeEnemyBullet(Bitmap* image, int frames);

}  // namespace skyrift
