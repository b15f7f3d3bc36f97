// The swooper: comes in at one of the four corners of the play area and flies a three-leg
// curve that turns from shallow to steep, dropping straight shots at random moments.
#pragma once

#include "sprites/Sprite.h"

namespace skyrift {

// One leg of the curve, in pixels per frame, outside and in bullet time.
struct SwoopLeg {
  POINT normal;
  POINT slowed;
};

class SwoopEnemy : public Sprite {
 public:
  // Velocity by entry side and leg. The upper sides dive, the lower sides climb, each leg
  // steeper than the one before.
  static constexpr SwoopLeg kPath[4][3] = {
      {{{5, 2}, {2, 1}}, {{3, 3}, {1, 1}}, {{2, 5}, {1, 2}}},
      {{{-5, 2}, {-2, 1}}, {{-3, 3}, {-1, 1}}, {{-2, 5}, {-1, 2}}},
      {{{5, -2}, {2, -1}}, {{3, -3}, {1, -1}}, {{2, -5}, {1, -2}}},
      {{{-5, -2}, {-2, -1}}, {{-3, -3}, {-1, -1}}, {{-2, -5}, {-1, -2}}},
  };

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
