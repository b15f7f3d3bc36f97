#include "sprites/ConvoyEnemy.h"

#include "sprites/Play.h"
#include "sprites/Shots.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kFollowerInterval = 12;  // updates between a leader's followers
constexpr int kFiringAge = 150;        // updates
constexpr int kShotSpeed = 15;         // pixels per frame, straight down

}  // namespace

ConvoyEnemy::ConvoyEnemy(Bitmap* image, const RECT& bounds, EdgeAction edgeAction, int followers,
                         int x, int y)
    : Sprite(image, bounds, edgeAction), followerCount(followers), startX(x), startY(y) {
  SetPosition(startX, startY);
  SetHealth(12);
}

ConvoyEnemy::~ConvoyEnemy() = default;

UpdateResult ConvoyEnemy::Update() {
  if (dying) return UpdateKill;
  AdvanceFrame();
  if (_bBulletTime) {
    UseSlowVelocity();
  } else {
    UseNormalVelocity();
  }
  // A ship that has left the area goes before it can age, emit or fire.
  if (MoveWithinBounds() == UpdateKill) return UpdateKill;
  age += 1;

  if (followerCount > 0 && ++followerTimer == kFollowerInterval) {
    // The follower takes the heading of this moment as its own, so one made in bullet time
    // keeps the slowed heading afterwards; its age keeps the chain firing in step.
    auto* follower = new ConvoyEnemy(GetBitmap(), PlayArea(), EdgeDie, 0, startX, startY);
    follower->SetTag(TagEnemyShip);
    follower->SetAge(age);
    follower->SetVelocity(GetVelocity());
    AddToPlay(follower);
    followerTimer = 0;
  }
  return (age == kFiringAge) ? UpdateSpawn : UpdateNone;
}

Sprite* ConvoyEnemy::SpawnSprite() {
  return StraightShot(*this, kShotSpeed);
}

}  // namespace skyrift
