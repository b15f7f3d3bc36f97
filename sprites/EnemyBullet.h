// What every enemy shot has in common, and the hand-over of what an enemy makes to the
// sprite list.
#pragma once

#include "sprites/Sprite.h"

namespace skyrift {

// A plain sprite tagged "enemy_bullet" with `frames` frames cycling, bounded by the play area
// and removed once it has left it. Its creator places it and gives it its velocity.
Sprite* MakeEnemyBullet(Bitmap* image, int frames);

// Hands a sprite to the engine's list, which owns it from then on. Without an engine there is
// nowhere for it to live, so it is deleted rather than leaked.
void AddToPlay(Sprite* sprite);

}  // namespace skyrift
