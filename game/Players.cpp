// The players' ships: made at the start of a game, and kept up frame by frame: bullet-time
// energy drained from the ship that pays for it, regeneration, and recharge-mode repairs.
#include "game/Players.h"

#include "engine/Sound.h"
#include "game/Trace.h"
#include "sprites/Play.h"
#include "sprites/PlayerShip.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kShipStartY = 500;
constexpr int kEnergyRegenFrames = 10;  // one point after more than this many frames
constexpr int kRepairFrames = 7;        // one hull point after more than this many frames

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

}  // namespace

void CreatePlayers(BOOL twoPlayers) {
  TraceLine("CreatePlayers() start");
  if (!twoPlayers) {
    _bPlayer1Out = FALSE;
    _bPlayer2Out = TRUE;
    _pPlayer1 = MakeShip(_bmpPlayer1, TagPlayer1);
    _pPlayer1->SetPosition(_iPlayWidth / 2 - _pPlayer1->GetWidth() / 2, kShipStartY);
    AddToPlay(_pPlayer1);
    return;
  }
  _bPlayer1Out = FALSE;
  _bPlayer2Out = FALSE;
  _pPlayer1 = MakeShip(_bmpPlayer1, TagPlayer1);
  _pPlayer1->SetPosition(_iPlayWidth / 2 - 100, kShipStartY);
  AddToPlay(_pPlayer1);
  _pPlayer2 = MakeShip(_bmpPlayer2, TagPlayer2);
  _pPlayer2->SetPosition(_iPlayWidth / 2 + 100, kShipStartY);
  AddToPlay(_pPlayer2);
}

void UpdatePlayerStatus() {
  // A ship that is out may already be deleted: only ships in play are read.
  const bool player1 = Player1InPlay();
  const bool player2 = Player2InPlay();

  if (_bBulletTime) {
    if (PlayerShip* payer = BulletTimePayer()) {
      payer->AddEnergy(-1);
      // Run dry, bullet time stops without a sound, and the ship keeps its own flag: it still
      // pays first when bullet time comes back on. Only the loop stops with it, since a hum with
      // nothing slowed would tell the player the wrong thing.
      if (payer->GetEnergy() < 1) {
        _bBulletTime = FALSE;
        StopChannel(kBulletTimeChannel);
      }
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

}  // namespace skyrift
