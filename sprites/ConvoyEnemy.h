// The convoy ship: flies a straight line. A leader trails a follower every 12 frames from its
// own starting point, so the chain traces the same line; every ship fires once at age 150.
#pragma once

#include "sprites/Sprite.h"

namespace skyrift {

class ConvoyEnemy : public Sprite {
 public:
  ConvoyEnemy(Bitmap* image, const RECT& bounds, EdgeAction edgeAction, int followerCount,
              int startX, int startY);
  ~ConvoyEnemy() override;

  UpdateResult Update() override;
  // A straight shot down at 15 pixels per frame.
  Sprite* SpawnSprite() override;

  void SetAge(int n) { age = n; }

 private:
  int followerCount;      // above 0 for a leader; followers have 0 and never emit
  int age = 0;            // updates lived; the ship fires when it becomes 150
  int followerTimer = 0;  // updates since the last follower
  int startX;             // where the ship was placed; its followers start here
  int startY;
};

}  // namespace skyrift
