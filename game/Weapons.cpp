// What the players' ships make: their volleys, the bomb's flash, and the explosions scattered
// over a wreck.
#include "game/Weapons.h"

#include <array>

#include "platform/Random.h"
#include "sprites/Explosion.h"
#include "sprites/Play.h"
#include "sprites/PlayerShip.h"
#include "sprites/Shots.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

// The side shots of a volley, by power level, in the order they are made.
struct SideShot {
  bool left;  // the left-hand image fired from the ship's corner, else the right-hand one
  int vx;
  int vy;
};
struct Volley {
  int count;
  std::array<SideShot, 4> shots;
};
constexpr std::array<Volley, 5> kVolleys = {{
    {0, {}},
    {0, {}},
    {2, {{{true, -3, -18}, {false, 3, -18}}}},
    {2, {{{true, -6, -20}, {false, 6, -20}}}},
    {4, {{{true, -3, -18}, {false, 3, -18}, {true, -5, -20}, {false, 5, -20}}}},
}};

void Shoot(Bitmap* image, int x, int y, int vx, int vy, const char* tag) {
  Sprite* shot = MakePlayerShot(image, tag);
  shot->SetPosition(x, y);
  shot->SetVelocity(vx, vy);
  AddToPlay(shot);
}

// The left and top of a wreck plus a random offset within its extent; the draw is made even
// for an empty image, so the sequence of random numbers does not depend on the art.
int Scatter(int extent) {
  const int draw = platform::Random();
  return extent > 0 ? draw % extent : 0;
}

}  // namespace

void FirePlayerBullets(PlayerShip* ship) {
  if (ship == nullptr) return;
  const char* tag = ship->Tag() == TagPlayer1 ? TagBulletP1 : TagBulletP2;
  const int left = ship->GetPosition().left;
  const int top = ship->GetPosition().top;

  // The centre shot is placed by its own frame width, so it is made before it is positioned.
  Sprite* centre = MakePlayerShot(_bmpBulletCenter, tag);
  centre->SetPosition(left + ship->GetWidth() / 2 - centre->GetWidth() / 2, top - 24);
  centre->SetVelocity(0, -25);
  AddToPlay(centre);

  const int level = ship->GetPowerLevel();
  if (level < 0 || level >= static_cast<int>(kVolleys.size())) return;
  const Volley& volley = kVolleys[static_cast<size_t>(level)];
  for (int i = 0; i < volley.count; ++i) {
    const SideShot& shot = volley.shots[static_cast<size_t>(i)];
    if (shot.left) {
      Shoot(_bmpBulletLeft, left, top, shot.vx, shot.vy, tag);
    } else {
      Shoot(_bmpBulletRight, left + 11, top, shot.vx, shot.vy, tag);
    }
  }
}

void CreateBombFlash() {
  auto* flash = new Sprite(_bmpBombFlash, PlayArea(), EdgeStop);
  flash->SetFrameCount(4, TRUE);
  // Player 1's tag whoever dropped it: the clean-up after a bomb keeps the flash.
  flash->SetTag(TagPlayer1);
  flash->SetPosition(0, 0);
  flash->SetVelocity(0, 0);
  AddToPlay(flash);
}

void SpawnExplosionBurst(Sprite* sprite, int count) {
  if (sprite == nullptr) return;
  const int left = sprite->GetPosition().left;
  const int top = sprite->GetPosition().top;
  for (int i = 0; i < count; ++i) {
    const int y = top + Scatter(sprite->GetHeight());
    const int x = left + Scatter(sprite->GetWidth());
    AddExplosion(x, y);
  }
}

}  // namespace skyrift
