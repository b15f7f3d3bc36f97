// What the game forgets when the sprite list deletes a sprite it points at. The engine alone
// deletes sprites; the game keeps plain pointers to a few and must never read one afterwards.
#include "engine/GameCallbacks.h"
#include "game/Globals.h"
#include "sprites/PlayerShip.h"

namespace skyrift {
namespace {

// A ship leaves the list only after its last life; without its ship the player is out.
void ForgetShip(const Sprite* removed, PlayerShip*& ship, BOOL& out) {
  if (ship == nullptr || removed != ship) return;
  ship = nullptr;
  out = TRUE;
}

}  // namespace

void SpriteRemoved(Sprite* sprite) {
  if (sprite == nullptr) return;
  ForgetShip(sprite, _pPlayer1, _bPlayer1Out);
  ForgetShip(sprite, _pPlayer2, _bPlayer2Out);

  // The stage script's sprites (the boss, its engines and the warning signs) are forgotten
  // here too, next to their owners' rules.
}

}  // namespace skyrift
