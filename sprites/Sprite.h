// The base of every object that moves or animates on the play area: position, velocity with a
// slowed form for bullet time, bounds and what happens at their edge, frames side by side in
// one Bitmap, a collision rectangle a little inside the image, a tag naming its kind, and health.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/Bitmap.h"
#include "platform/Types.h"

namespace skyrift {

using EdgeAction = uint16_t;
constexpr EdgeAction EdgeStop = 0;
constexpr EdgeAction EdgeWrap = 1;
constexpr EdgeAction EdgeBounce = 2;
constexpr EdgeAction EdgeDie = 3;

using UpdateResult = uint16_t;
constexpr UpdateResult UpdateNone = 0;
constexpr UpdateResult UpdateKill = 1;
constexpr UpdateResult UpdateSpawn = 2;

using SpriteTag = std::string;

class Sprite {
 public:
  Sprite(Bitmap* bitmap);
  Sprite(Bitmap* bitmap, const RECT& bounds, EdgeAction edgeAction);
  Sprite(Bitmap* bitmap, POINT position, POINT velocity, int zOrder, const RECT& bounds,
         EdgeAction edgeAction);

  virtual void UpdateCollisionRect();
  virtual ~Sprite();
  virtual UpdateResult Update();
  virtual Sprite* SpawnSprite();

  void Draw(HDC dc) const;
  void AdvanceFrame();
  BOOL Overlaps(const Sprite* other) const;
  BOOL ContainsPoint(int x, int y) const;

  const RECT& GetPosition() const { return position; }
  void SetPosition(int x, int y);
  void SetPosition(POINT point) { SetPosition(point.x, point.y); }
  void SetPosition(const RECT& rect);
  const RECT& GetCollisionRect() const { return collisionRect; }
  POINT GetVelocity() const { return velocity; }
  void SetVelocity(int x, int y);
  void SetVelocity(POINT v) { SetVelocity(v.x, v.y); }
  void UseNormalVelocity() { velocity = normalVelocity; }
  void UseSlowVelocity() { velocity = slowVelocity; }
  int GetZOrder() const { return zOrder; }
  BOOL IsHidden() const { return hidden; }
  void Kill() { dying = TRUE; }
  BOOL IsDying() const { return dying; }
  Bitmap* GetBitmap() const { return bitmap; }
  void SetBitmap(Bitmap* image) { bitmap = image; }
  void SetFrameCount(int count, BOOL once = FALSE);
  int GetFrameCount() const { return frameCount; }
  int GetCurrentFrame() const { return currentFrame; }
  int GetWidth() const { return bitmap->GetWidth() / frameCount; }
  int GetHeight() const { return bitmap->GetHeight(); }
  void SetTag(SpriteTag name) { tag = std::move(name); }
  SpriteTag GetTag() const { return tag; }
  // The tag without a copy, for the hot comparisons of the update and collision passes.
  const SpriteTag& Tag() const { return tag; }
  void SetHealth(int n) { health = maxHealth = n; }
  int GetHealth() const { return health; }
  int GetMaxHealth() const { return maxHealth; }
  BOOL TakeDamage(int n);
  const RECT& GetBounds() const { return bounds; }
  EdgeAction GetEdgeAction() const { return edgeAction; }

 protected:
  // Steps 4 to 6 of the base update: the edge action on position + velocity, then the move.
  UpdateResult MoveWithinBounds();

  Bitmap* bitmap;  // all frames side by side; not owned
  int frameCount = 1;
  int currentFrame = 0;
  int frameDelay = 0;      // updates per frame step; negative stops the animation
  int frameCountdown = 0;  // updates left before the next frame step
  RECT position{};
  RECT collisionRect{};
  POINT velocity{};        // pixels per update
  POINT normalVelocity{};  // outside bullet time
  POINT slowVelocity{};    // in bullet time: a quarter, truncated toward zero
  int zOrder = 0;
  RECT bounds{};
  EdgeAction edgeAction = EdgeStop;
  BOOL hidden = FALSE;
  BOOL dying = FALSE;
  BOOL playOnce = FALSE;
  SpriteTag tag;
  int health = 10;
  int maxHealth = 10;
};

}  // namespace skyrift
