#include "sprites/Shots.h"

#include "platform/Random.h"
#include "sprites/PlayerShip.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

// The position of the player this shot goes for; the corner of the play area when nobody is in
// play (or the chosen ship is already gone).
RECT ChooseTarget() {
  const PlayerShip* target = nullptr;
  if (!_bPlayer1Out && !_bPlayer2Out) {
    target = (platform::Random() % 2 == 0) ? _pPlayer1 : _pPlayer2;
  } else if (!_bPlayer1Out) {
    target = _pPlayer1;
  } else if (!_bPlayer2Out) {
    target = _pPlayer2;
  }
  return target != nullptr ? target->GetPosition() : RECT{0, 0, 0, 0};
}

POINT BelowCentreOf(const Sprite& shooter) {
  const RECT& p = shooter.GetPosition();
  return POINT{p.left + shooter.GetWidth() / 2, p.bottom};
}

}  // namespace

Sprite* MakePlayerShot(Bitmap* image, const char* tag) {
  auto* shot = new Sprite(image, PlayArea(), EdgeDie);
  shot->SetFrameCount(5);
  shot->SetTag(tag);
  return shot;
}

Sprite* MakeEnemyBullet(Bitmap* image, int frames) {
  auto* bullet = new Sprite(image, PlayArea(), EdgeDie);
  bullet->SetFrameCount(frames, FALSE);
  bullet->SetTag(TagEnemyBullet);
  return bullet;
}

Sprite* StraightShot(const Sprite& shooter, int speed) {
  Sprite* bullet = MakeEnemyBullet(_bmpEnemyBullet, 7);
  bullet->SetVelocity(0, speed);
  bullet->SetPosition(BelowCentreOf(shooter));
  return bullet;
}

Sprite* AimedShot(const Sprite& shooter, Bitmap* image, ShotOrigin origin, int speedCap) {
  const RECT& p = shooter.GetPosition();
  const RECT t = ChooseTarget();
  int dx = t.left - p.left;
  int dy = t.top - p.top;
  if (dy < 0) return nullptr;

  // Halving keeps the heading roughly while bringing the speed under the cap; the vertical
  // component is brought down first.
  const auto halve = [&dx, &dy] {
    dx /= 2;
    dy /= 2;
  };
  while (dy > speedCap) halve();
  if (dx > 0) {
    while (dx > speedCap) halve();
  } else {
    while (dx < -speedCap) halve();
  }

  Sprite* bullet = MakeEnemyBullet(image, 7);
  bullet->SetVelocity(dx, dy);
  if (origin == ShotOrigin::BelowCentre) {
    bullet->SetPosition(BelowCentreOf(shooter));
  } else {
    const int y = p.top + 34 + platform::Random() % 27;
    const int x = p.left + 54 + platform::Random() % 15;
    bullet->SetPosition(x, y);
  }
  return bullet;
}

}  // namespace skyrift
