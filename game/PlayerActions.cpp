// What a player can do, whichever control asked for it.
#include "game/PlayerActions.h"

#include "engine/Sound.h"
#include "sprites/PlayerShip.h"
#include "world/Globals.h"

namespace skyrift {

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
  _iMenuToggleDelay = 0;
}

}  // namespace skyrift
