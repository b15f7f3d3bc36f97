// The hover ship: it flies as every hovering kind does (sprites/HoveringEnemy.h) and fires single
// small shots through the spawn slot.
#pragma once

#include "sprites/HoveringEnemy.h"

namespace skyrift {

class HoverEnemy : public HoveringEnemy {
 public:
  HoverEnemy(Bitmap* image, const RECT& bounds, EdgeAction edgeAction, int entrySide, int stopLine);
  ~HoverEnemy() override;

  // Asks for a shot about once in ten hovering frames.
  UpdateResult Update() override;
  // The small aimed shot, handed to the engine.
  Sprite* SpawnSprite() override;
};

}  // namespace skyrift
