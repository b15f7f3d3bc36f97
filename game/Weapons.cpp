// The players' ships and what they make: the ships at the start of a game, their volleys, the
// bomb's flash, the explosions scattered over a wreck, and the per-frame upkeep of bullet-time
// energy, regeneration and recharge-mode repairs.
#include "game/Weapons.h"

#include <array>
#include <cstdlib>

#include "engine/Engine.h"
#include "engine/Sound.h"
#include "game/Trace.h"
#include "sprites/Explosion.h"
#include "sprites/PlayerShip.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kShipStartY = 500;
constexpr int kEnergyRegenFrames = 10;  // one point after more than this many frames
constexpr int kRepairFrames = 7;        // one hull point after more than this many frames

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

bool Player1InPlay() {
  return !_bPlayer1Out && _pPlayer1 != nullptr;
}
bool Player2InPlay() {
  return _iNumPlayers > 1 && !_bPlayer2Out && _pPlayer2 != nullptr;
}

PlayerShip* MakeShip(Bitmap* image, const char* tag) {
  auto* ship = new PlayerShip(image, PlayArea(), EdgeStop);
  ship->SetFrameCount(4);
  ship->SetTag(tag);
  ship->SetHealth(100);
  ship->SetBombs(2);
  return ship;
}

void Shoot(Bitmap* image, int x, int y, int vx, int vy, const char* tag) {
  auto* shot = new Sprite(image, PlayArea(), EdgeDie);
  shot->SetFrameCount(5);
  shot->SetPosition(x, y);
  shot->SetVelocity(vx, vy);
  shot->SetTag(tag);
  _pEngine->InsertSprite(shot);
}

// The left and top of a wreck plus a random offset within its extent; the draw is made even
// for an empty image, so the sequence of random numbers does not depend on the art.
int Scatter(int extent) {
  const int draw = std::rand();
  return extent > 0 ? draw % extent : 0;
}

}  // namespace

void CreatePlayers(BOOL twoPlayers) {
  TraceLine("CreatePlayers() start");
  if (!twoPlayers) {
    _bPlayer1Out = FALSE;
    _bPlayer2Out = TRUE;
    _pPlayer1 = MakeShip(_bmpPlayer1, TagPlayer1);
    _pPlayer1->SetPosition(_iPlayWidth / 2 - _pPlayer1->GetWidth() / 2, kShipStartY);
    _pEngine->InsertSprite(_pPlayer1);
    return;
  }
  _bPlayer1Out = FALSE;
  _bPlayer2Out = FALSE;
  _pPlayer1 = MakeShip(_bmpPlayer1, TagPlayer1);
  _pPlayer1->SetPosition(_iPlayWidth / 2 - 100, kShipStartY);
  _pEngine->InsertSprite(_pPlayer1);
  _pPlayer2 = MakeShip(_bmpPlayer2, TagPlayer2);
  _pPlayer2->SetPosition(_iPlayWidth / 2 + 100, kShipStartY);
  _pEngine->InsertSprite(_pPlayer2);
}

void FirePlayerBullets(PlayerShip* ship) {
  if (ship == nullptr) return;
  const char* tag = ship->Tag() == TagPlayer1 ? TagBulletP1 : TagBulletP2;
  const int left = ship->GetPosition().left;
  const int top = ship->GetPosition().top;

  // The centre shot is placed by its own frame width, so it is made before it is positioned.
  auto* centre = new Sprite(_bmpBulletCenter, PlayArea(), EdgeDie);
  centre->SetFrameCount(5);
  centre->SetPosition(left + ship->GetWidth() / 2 - centre->GetWidth() / 2, top - 24);
  centre->SetVelocity(0, -25);
  centre->SetTag(tag);
  _pEngine->InsertSprite(centre);

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
  _pEngine->InsertSprite(flash);
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

void UpdatePlayerStatus() {
  // A ship that is out may already be deleted: only ships in play are read.
  const bool player1 = Player1InPlay();
  const bool player2 = Player2InPlay();

  if (_bBulletTime) {
    if (PlayerShip* payer = BulletTimePayer()) {
      payer->AddEnergy(-1);
      if (payer->GetEnergy() < 1) EndBulletTime(payer);
    }
  }

  if (++_iEnergyRegenDelay > kEnergyRegenFrames) {
    if (player1) _pPlayer1->AddEnergy(1);
    if (player2) _pPlayer2->AddEnergy(1);
    _iEnergyRegenDelay = 0;
  }

  if (player1 && _pPlayer1->IsRecharging() && ++_iP1RepairDelay > kRepairFrames) {
    _pPlayer1->Heal(1);
    _iP1RepairDelay = 0;
  }
  if (player2 && _pPlayer2->IsRecharging() && ++_iP2RepairDelay > kRepairFrames) {
    _pPlayer2->Heal(1);
    _iP2RepairDelay = 0;
  }
}

PlayerShip* BulletTimePayer() {
  const bool player1 = Player1InPlay();
  const bool player2 = Player2InPlay();
  if (_iNumPlayers <= 1 || _bPlayer2Out) return player1 ? _pPlayer1 : nullptr;
  if (_bPlayer1Out) return player2 ? _pPlayer2 : nullptr;
  if (player1 && _pPlayer1->HasBulletTime()) return _pPlayer1;
  if (player2 && _pPlayer2->HasBulletTime()) return _pPlayer2;
  return nullptr;
}

void EndBulletTime(PlayerShip* ship) {
  _bBulletTime = FALSE;
  if (ship != nullptr) ship->SetBulletTime(0);
  StopChannel(kBulletTimeChannel);
  PlaySample(kAnyFreeChannel, _sndBulletTimeDeact);
}

}  // namespace skyrift
