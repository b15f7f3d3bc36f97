#include "sprites/HoveringEnemy.h"

#include "platform/Random.h"
#include "world/Globals.h"

namespace skyrift {

HoveringEnemy::HoveringEnemy(Bitmap* image, const RECT& bounds, EdgeAction edgeAction, int side,
                             int line)
    : Sprite(image, bounds, edgeAction), entrySide(side), stopLine(line) {}

UpdateResult HoveringEnemy::Fly() {
  if (dying) return UpdateKill;
  AdvanceFrame();
  cruiseSpeed = _bBulletTime ? 2 : 5;

  // Side 1 flies the same path mirrored: in from the bottom, out downward.
  const int inward = (entrySide == 1) ? -1 : 1;
  if (stepCount == 0) {
    SetPosition(platform::Random() % _iPlayWidth, entrySide == 1 ? _iPlayHeight : -GetHeight());
  }
  stepCount += 1;

  // The flight writes `velocity` alone, so bullet time speeds are decided here, not by the
  // slowed velocity.
  switch (phase) {
    case 0:
      velocity = POINT{0, inward * cruiseSpeed};
      // The window is nine pixels tall and the ship moves at most five a frame, so a line ahead
      // of the ship is never stepped over.
      if (position.top > stopLine - 5 && position.top < stopLine + 5) {
        phase = 1;
        hoverTimer += 1;
      }
      break;
    case 1: {
      velocity = POINT{0, 0};
      WhileHovering();
      const bool done = (hoverTimer == 2 * _iFrameRate);
      hoverTimer += 1;
      if (done) phase = 2;
      break;
    }
    default:
      velocity = POINT{0, -inward * cruiseSpeed};
      break;
  }
  return MoveWithinBounds();
}

}  // namespace skyrift
