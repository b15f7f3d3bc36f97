// The gamepad's part in play: it steers player 1 and repeats player 1's keyboard actions (fire,
// recharge mode, bullet time, bomb, the upgrade menu), with thresholds of its own but the
// keyboard's repeat counters, so in play the two together act sooner than either alone.
#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "engine/Joystick.h"
#include "engine/Sound.h"
#include "game/PlayerActions.h"
#include "game/Players.h"
#include "game/UpgradeMenu.h"
#include "game/Weapons.h"
#include "sprites/PlayerShip.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kFireFrames = 8;        // volleys: every ninth frame held
constexpr int kToggleFrames = 4;      // recharge and bullet-time toggles, and bombs
constexpr int kMenuToggleFrames = 5;  // the menu button

bool Has(StickState state, StickState mask) {
  return (state & mask) != 0;
}

void Steer(PlayerShip* ship, StickState state) {
  const int s = ship->GetSpeed();
  const int d = static_cast<int>(s / 1.25);  // diagonals cover about the same ground
  const bool up = Has(state, StickUp), down = Has(state, StickDown);
  const bool left = Has(state, StickLeft), right = Has(state, StickRight);
  if (up && left) {
    ship->SetVelocity(-d, -d);
  } else if (up && right) {
    ship->SetVelocity(d, -d);
  } else if (down && left) {
    ship->SetVelocity(-d, d);
  } else if (down && right) {
    ship->SetVelocity(d, d);
  } else if (up) {
    ship->SetVelocity(0, -s);
  } else if (down) {
    ship->SetVelocity(0, s);
  } else if (left) {
    ship->SetVelocity(-s, 0);
  } else if (right) {
    ship->SetVelocity(s, 0);
  }
  // A centred stick leaves the velocity the keyboard set.
}

void ToggleRecharge(PlayerShip* ship) {
  if (!ship->IsRecharging()) {
    ship->SetRecharging(1);
    ship->UseSlowSpeed();
    ship->SetBitmap(_bmpPlayer1Recharge);
  } else {
    ship->SetRecharging(0);
    ship->UseNormalSpeed();
    ship->SetBitmap(_bmpPlayer1);
  }
}

void ToggleBulletTime(PlayerShip* ship) {
  if (!_bBulletTime) {
    PlaySample(kAnyFreeChannel, _sndBulletTimeAct);
    PlaySample(kBulletTimeChannel, _sndBulletTimeDur);
    _bBulletTime = TRUE;
    ship->SetBulletTime(1);
    return;
  }
  // Player 2's bullet time is theirs to switch off.
  const bool secondHasIt = _iNumPlayers > 1 && _pPlayer2 != nullptr && _pPlayer2->HasBulletTime();
  if (!secondHasIt) EndBulletTime(ship);
}

}  // namespace

void GameJoystick(StickState state) {
  // Before the players are chosen there is no ship, and once player 1 is out the sprite list
  // may already have deleted it.
  if (_bPlayer1Out || !_bGameStarted || _pPlayer1 == nullptr) return;
  PlayerShip* ship = _pPlayer1;

  // In a menu or the interlude the world is frozen: a changed velocity or a queued volley
  // takes effect when play resumes.
  Steer(ship, state);

  if (Has(state, StickButton1) && ++_iFireDelay > kFireFrames && !ship->IsRecharging()) {
    PlaySample(kAnyFreeChannel, _sndPlayerFire);
    FirePlayerBullets(ship);
    _iFireDelay = 0;
  }

  if (Has(state, StickButton2) && ++_iRechargeDelay > kToggleFrames) {
    ToggleRecharge(ship);
    _iRechargeDelay = 0;
  }

  if (Has(state, StickButton3) && ++_iBulletTimeDelay > kToggleFrames) {
    ToggleBulletTime(ship);
    _iBulletTimeDelay = 0;
  }

  if (Has(state, StickButton4) && ship->GetBombs() > 0 && ++_iBombDelay > kToggleFrames) {
    PlaySample(kAnyFreeChannel, _sndPlayerBomb);
    CreateBombFlash();
    ship->AddBombs(-1);
    if (_pEngine != nullptr) _pEngine->RemoveUnprotectedSprites();
    _iBombDelay = 0;
  }

  // Either shoulder: both flags carry 0x4000.
  if (Has(state, StickButton5) && ++_iMenuToggleDelay > kMenuToggleFrames) {
    ToggleUpgradeMenu(1);
  }

  if (_iGameState == GameStateUpgrade1) {
    StepUpgradeMenu(ship, Has(state, StickUp), Has(state, StickDown), Has(state, StickButton1));
  }
}

}  // namespace skyrift
