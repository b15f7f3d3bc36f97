// The gunship: flies as the hover ship does, but fires bursts of large aimed shots by itself
// while it hovers.
#pragma once

#include "sprites/HoveringEnemy.h"

namespace skyrift {

class GunshipEnemy : public HoveringEnemy {
 public:
  GunshipEnemy(Bitmap* image, const RECT& bounds, EdgeAction edgeAction, int entrySide,
               int stopLine);
  ~GunshipEnemy() override;

  // Never asks the engine to spawn: it fires by itself while hovering.
  UpdateResult Update() override;
  // One large aimed shot from the gun port, added to the sprite list.
  void Fire();

 protected:
  void WhileHovering() override;
};

}  // namespace skyrift
