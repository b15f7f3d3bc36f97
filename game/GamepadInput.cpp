// The gamepad's part in play: it steers player 1 and repeats player 1's keyboard actions (fire,
// recharge mode, bullet time, bomb, the upgrade menu), with thresholds of its own but the
// keyboard's repeat counters, so in play the two together act sooner than either alone.
// Unlike the keys' counters, the pad's count only while their button is held.
#include "engine/GameCallbacks.h"
#include "engine/Joystick.h"
#include "game/Pause.h"
#include "game/PlayerActions.h"
#include "game/UpgradeMenu.h"
#include "sprites/PlayerShip.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

// The pad's own thresholds; the keys' differ (fire 4, toggles 5, bombs 8 or 5, menu 10).
constexpr int kFireFrames = 8;        // volleys every ninth frame held
constexpr int kToggleFrames = 4;      // recharge and bullet-time toggles, and bombs
constexpr int kMenuToggleFrames = 5;  // the menu button

bool Has(StickState state, StickState mask) {
  return (state & mask) != 0;
}

void SteerByStick(PlayerShip* ship, StickState state) {
  // Up before down and left before right, should a state ever carry both.
  const int dy = Has(state, StickUp) ? -1 : Has(state, StickDown) ? 1 : 0;
  const int dx = Has(state, StickLeft) ? -1 : Has(state, StickRight) ? 1 : 0;
  // A centred stick leaves the velocity the keyboard set.
  if (dx != 0 || dy != 0) Steer(ship, dx, dy);
}

// Bullet time that player 2 switched on is theirs to switch off: the pad cannot.
bool Player2HoldsBulletTime() {
  return _iNumPlayers > 1 && _pPlayer2 != nullptr && _pPlayer2->HasBulletTime();
}

}  // namespace

void GameJoystick(StickState state) {
  // Before the players are chosen there is no ship, and once player 1 is out the sprite list
  // may already have deleted it.
  if (_bPlayer1Out || !_bGameStarted || _pPlayer1 == nullptr || PlayPaused()) return;
  PlayerShip* ship = _pPlayer1;

  // In a menu or the interlude the world is frozen: a changed velocity or a queued volley
  // takes effect when play resumes.
  SteerByStick(ship, state);

  if (Has(state, StickButton1) && ++_iFireDelay > kFireFrames && !ship->IsRecharging()) {
    FireVolley(ship);
    _iFireDelay = 0;
  }

  if (Has(state, StickButton2) && ++_iRechargeDelay > kToggleFrames) {
    ToggleRecharge(ship);
    _iRechargeDelay = 0;
  }

  // Any of the bits of button 3's flag. The press is used up even when it changes nothing.
  if (Has(state, StickButton3) && ++_iBulletTimeDelay > kToggleFrames) {
    if (!_bBulletTime || !Player2HoldsBulletTime()) ToggleBulletTime(ship);
    _iBulletTimeDelay = 0;
  }

  // Without a bomb the pad does not even count; the keys count regardless.
  if (Has(state, StickButton4) && ship->GetBombs() > 0 && ++_iBombDelay > kToggleFrames) {
    DropBomb(ship);
    _iBombDelay = 0;
  }

  // Either shoulder: both flags carry 0x4000.
  if (Has(state, StickButton5) && ++_iMenuToggleDelay > kMenuToggleFrames) {
    ToggleUpgradeMenu(1);
    _iMenuToggleDelay = 0;
  }

  if (_iGameState == GameStateUpgrade1) {
    StepUpgradeMenu(ship, Has(state, StickUp), Has(state, StickDown), Has(state, StickButton1));
  }
}

}  // namespace skyrift
