// What the game forgets when the sprite list deletes a sprite it points at. The engine alone
// deletes sprites; the game keeps plain pointers to a few and must never read one afterwards.
#include "engine/GameCallbacks.h"
#include "sprites/BossShip.h"
#include "sprites/PlayerShip.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

// A ship leaves the list only after its last life; without its ship the player is out. Its
// shots still in flight keep hitting with the firepower it had.
void ForgetShip(const Sprite* removed, PlayerShip*& ship, BOOL& out, int& lastFirepower) {
  if (ship == nullptr || removed != ship) return;
  lastFirepower = ship->GetFirepower();
  ship = nullptr;
  out = TRUE;
}

template <typename T>
void Forget(const Sprite* removed, T*& pointer) {
  if (pointer != nullptr && removed == pointer) pointer = nullptr;
}

}  // namespace

void SpriteRemoved(Sprite* sprite) {
  if (sprite == nullptr) return;
  ForgetShip(sprite, _pPlayer1, _bPlayer1Out, _iLastFirepower1);
  ForgetShip(sprite, _pPlayer2, _bPlayer2Out, _iLastFirepower2);

  // The stage script's sprites. The flags that say they were made stay set, so none of them
  // is made again.
  Forget(sprite, _pBoss);
  Forget(sprite, _pBossLeftEngine);
  Forget(sprite, _pBossRightEngine);
  Forget(sprite, _pWarning1);
  Forget(sprite, _pWarning2);
}

}  // namespace skyrift
