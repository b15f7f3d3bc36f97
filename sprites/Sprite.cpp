#include "sprites/Sprite.h"

#include <algorithm>

#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {

Sprite::Sprite(Bitmap* image) : bitmap(image) {
  position = RECT{0, 0, bitmap->GetWidth(), bitmap->GetHeight()};
  bounds = RECT{0, 0, 640, 480};
  UpdateCollisionRect();
}

Sprite::Sprite(Bitmap* image, const RECT& boundsRect, EdgeAction action)
    : bitmap(image), bounds(boundsRect), edgeAction(action) {
  // Off the play area until its creator places it.
  position = RECT{-100, -100, -100 + bitmap->GetWidth(), -100 + bitmap->GetHeight()};
  UpdateCollisionRect();
}

Sprite::Sprite(Bitmap* image, POINT topLeft, POINT startVelocity, int layer, const RECT& boundsRect,
               EdgeAction action)
    : bitmap(image),
      velocity(startVelocity),
      normalVelocity(startVelocity),
      slowVelocity{startVelocity.x / 4, startVelocity.y / 4},
      zOrder(layer),
      bounds(boundsRect),
      edgeAction(action) {
  position =
      RECT{topLeft.x, topLeft.y, topLeft.x + bitmap->GetWidth(), topLeft.y + bitmap->GetHeight()};
  UpdateCollisionRect();
}

Sprite::~Sprite() = default;

void Sprite::UpdateCollisionRect() {
  // A twelfth of each side's length in from every edge, truncated; both shrinks are <= 0.
  const int shrinkX = (position.left - position.right) / 12;
  const int shrinkY = (position.top - position.bottom) / 12;
  collisionRect = RECT{position.left - shrinkX, position.top - shrinkY, position.right + shrinkX,
                       position.bottom + shrinkY};
}

UpdateResult Sprite::Update() {
  if (dying) return UpdateKill;
  AdvanceFrame();
  // The ships keep the velocity their owner set; everything else slows in bullet time.
  if (tag != TagPlayer1 && tag != TagPlayer2)
    velocity = _bBulletTime ? slowVelocity : normalVelocity;
  return MoveWithinBounds();
}

UpdateResult Sprite::MoveWithinBounds() {
  int x = position.left + velocity.x;
  int y = position.top + velocity.y;
  const int w = position.right - position.left;
  const int h = position.bottom - position.top;
  switch (edgeAction) {
    case EdgeWrap:
      if (x + w < bounds.left) {
        x = bounds.right;
      } else if (x > bounds.right) {
        x = bounds.left - w;
      }
      if (y + h < bounds.top) {
        y = bounds.bottom;
      } else if (y > bounds.bottom) {
        y = bounds.top - h;
      }
      break;
    case EdgeBounce: {
      bool bounced = false;
      POINT v = velocity;
      if (x < bounds.left) {
        x = bounds.left;
        v.x = -v.x;
        bounced = true;
      } else if (x + w > bounds.right) {
        x = bounds.right - w;
        v.x = -v.x;
        bounced = true;
      }
      if (y < bounds.top) {
        y = bounds.top;
        v.y = -v.y;
        bounced = true;
      } else if (y + h > bounds.bottom) {
        y = bounds.bottom - h;
        v.y = -v.y;
        bounced = true;
      }
      // A bounce also rewrites the normal and slowed velocities, so one made in bullet time
      // keeps the slowed speed afterwards.
      if (bounced) SetVelocity(v);
      break;
    }
    case EdgeDie:
      if (x + w < bounds.left || x > bounds.right || y + h < bounds.top || y > bounds.bottom) {
        return UpdateKill;
      }
      break;
    default:  // EdgeStop, and any value it does not know
      if (x < bounds.left || x > bounds.right - w) {
        x = std::max(bounds.left, std::min(x, bounds.right - w));
        SetVelocity(0, 0);
      }
      if (y < bounds.top || y > bounds.bottom - h) {
        y = std::max(bounds.top, std::min(y, bounds.bottom - h));
        SetVelocity(0, 0);
      }
      break;
  }
  SetPosition(x, y);
  return UpdateNone;
}

Sprite* Sprite::SpawnSprite() {
  return nullptr;
}

void Sprite::Draw(HDC dc) const {
  if (bitmap == nullptr || hidden) return;
  if (frameCount == 1) {
    bitmap->Draw(dc, position.left, position.top, TRUE, kMagenta);
  } else {
    bitmap->DrawRegion(dc, position.left, position.top, currentFrame * GetWidth(), 0, GetWidth(),
                       GetHeight(), TRUE, kMagenta);
  }
}

void Sprite::AdvanceFrame() {
  if (frameDelay < 0) return;
  if (--frameCountdown > 0) return;
  frameCountdown = frameDelay;
  if (++currentFrame >= frameCount) {
    // A play-once animation leaves its frame one past the last, which draws nothing.
    if (playOnce) {
      dying = TRUE;
    } else {
      currentFrame = 0;
    }
  }
}

BOOL Sprite::Overlaps(const Sprite* other) const {
  const RECT& a = collisionRect;
  const RECT& b = other->collisionRect;
  // Inclusive: rectangles that only touch along an edge overlap.
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

BOOL Sprite::ContainsPoint(int x, int y) const {
  return x >= position.left && x < position.right && y >= position.top && y < position.bottom;
}

void Sprite::SetPosition(int x, int y) {
  const int w = position.right - position.left;
  const int h = position.bottom - position.top;
  position = RECT{x, y, x + w, y + h};
  UpdateCollisionRect();
}

void Sprite::SetPosition(const RECT& rect) {
  position = rect;
  UpdateCollisionRect();
}

void Sprite::SetVelocity(int x, int y) {
  velocity = normalVelocity = POINT{x, y};
  slowVelocity = POINT{x / 4, y / 4};
}

void Sprite::SetFrameCount(int count, BOOL once) {
  frameCount = count;
  playOnce = once;
  RECT narrowed = position;
  narrowed.right = narrowed.left + (narrowed.right - narrowed.left) / count;
  SetPosition(narrowed);
}

BOOL Sprite::TakeDamage(int n) {
  health -= n;
  return health <= 0;
}

}  // namespace skyrift
