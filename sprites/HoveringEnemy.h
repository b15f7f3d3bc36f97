// The flight of the kinds that drop in from an edge, stop at a given line, hover for two seconds
// shooting at a player and leave the way they came: the hover ship (sprites/HoverEnemy.h) and the
// gunship (sprites/GunshipEnemy.h).
#pragma once

#include "sprites/Sprite.h"

namespace skyrift {

// The flight both kinds share: arriving, hovering, leaving.
class HoveringEnemy : public Sprite {
 protected:
  HoveringEnemy(Bitmap* image, const RECT& bounds, EdgeAction edgeAction, int entrySide,
                int stopLine);

  // One frame of the flight: placement on the first, then the move of the current phase.
  // UpdateKill when the ship is dying or has left the play area, otherwise UpdateNone.
  UpdateResult Fly();
  // Called on every hovering frame, before the hover time is counted.
  virtual void WhileHovering() {}

  int entrySide;        // 0: in at the top, out upward; 1: in at the bottom, out downward
  int stepCount = 0;    // frames since placement; 0 until placed
  int stopLine;         // y of the top edge at which the ship stops
  int cruiseSpeed = 5;  // pixels per frame, 2 in bullet time
  int phase = 0;        // 0 arriving, 1 hovering, 2 leaving
  int hoverTimer = 0;   // frames spent hovering
  int speedCap = 10;    // largest component an aimed bullet keeps, in pixels per frame
};

}  // namespace skyrift
