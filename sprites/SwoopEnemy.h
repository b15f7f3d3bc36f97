// The swooper: comes in at one of the four corners of the play area and flies a three-leg
// curve that turns from shallow to steep, dropping straight shots at random moments.
#pragma once

#include "sprites/Sprite.h"

namespace skyrift {

class SwoopEnemy : public Sprite {
 public:
  SwoopEnemy(Bitmap* image, const RECT& bounds, EdgeAction edgeAction, int entrySide,
             int pathLength);
  ~SwoopEnemy() override;

  UpdateResult Update() override;
  // A straight shot down at 10 pixels per frame.
  Sprite* SpawnSprite() override;

 private:
  int entrySide;      // 0 upper left, 1 upper right, 2 lower left, 3 lower right
  int stepCount = 0;  // frames since placement; 0 until placed
  int pathLength;     // leg 1 ends at step pathLength / 4, leg 2 fifty steps later
};

}  // namespace skyrift
