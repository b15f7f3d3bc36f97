// What a player can do, whichever control asked for it.
#include "game/PlayerActions.h"

#include "engine/Engine.h"
#include "engine/Sound.h"
#include "game/Weapons.h"
#include "sprites/PlayerShip.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {

void Steer(PlayerShip* ship, int dx, int dy) {
  const int s = ship->GetSpeed();
  // Diagonals are slower so that the ship covers about the same ground in every direction.
  const int step = dx != 0 && dy != 0 ? static_cast<int>(s / 1.25) : s;
  ship->SetVelocity(dx * step, dy * step);
}

void FireVolley(PlayerShip* ship) {
  FirePlayerBullets(ship);
  PlaySample(kAnyFreeChannel, _sndPlayerFire);
}

void DropBomb(PlayerShip* ship) {
  PlaySample(kAnyFreeChannel, _sndPlayerBomb);
  CreateBombFlash();
  ship->AddBombs(-1);
  if (_pEngine != nullptr) _pEngine->RemoveUnprotectedSprites();
}

void ToggleRecharge(PlayerShip* ship) {
  const bool first = ship->Tag() == TagPlayer1;
  if (ship->IsRecharging()) {
    ship->SetRecharging(0);
    ship->UseNormalSpeed();
    ship->SetBitmap(first ? _bmpPlayer1 : _bmpPlayer2);
  } else {
    ship->SetRecharging(1);
    ship->UseSlowSpeed();
    ship->SetBitmap(first ? _bmpPlayer1Recharge : _bmpPlayer2Recharge);
  }
}

void ToggleBulletTime(PlayerShip* ship) {
  if (_bBulletTime) {
    EndBulletTime(ship);
    return;
  }
  // One flag for the game; the ship's own says who switched it on, and so who pays for it.
  _bBulletTime = TRUE;
  ship->SetBulletTime(1);
  PlaySample(kAnyFreeChannel, _sndBulletTimeAct);
  PlaySample(kBulletTimeChannel, _sndBulletTimeDur);
}

void EndBulletTime(PlayerShip* ship) {
  _bBulletTime = FALSE;
  if (ship != nullptr) ship->SetBulletTime(0);
  StopChannel(kBulletTimeChannel);
  PlaySample(kAnyFreeChannel, _sndBulletTimeDeact);
}

// The two menus stack: the one opened second returns to the first. A menu key closes its
// owner's menu wherever it lies; from underneath, the menu on top inherits the state to return
// to, so however the keys cross, closing both menus leads back to where the first was opened.
void ToggleUpgradeMenu(int player) {
  const int own = player == 1 ? GameStateUpgrade1 : GameStateUpgrade2;
  const int other = player == 1 ? GameStateUpgrade2 : GameStateUpgrade1;
  int& ownReturn = player == 1 ? _iStateBeforeMenu1 : _iStateBeforeMenu2;
  int& otherReturn = player == 1 ? _iStateBeforeMenu2 : _iStateBeforeMenu1;
  if (_iGameState == own) {
    _iGameState = ownReturn;
  } else if (_iGameState == other && otherReturn == own) {
    otherReturn = ownReturn;
  } else {
    ownReturn = _iGameState;
    _iGameState = own;
  }
}

}  // namespace skyrift
