// The game's answers to the sprite list about removal: which kinds a clearing of the list
// spares, and what the game forgets when the list deletes a sprite it points at. The engine
// alone deletes sprites; the game keeps plain pointers to a few and must never read one
// afterwards.
#include <algorithm>
#include <array>
#include <string_view>

#include "engine/GameCallbacks.h"
#include "sprites/BossShip.h"
#include "sprites/PlayerShip.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

// The kinds a bomb (and the start of stage 2) leaves in play.
constexpr std::array<std::string_view, 12> kProtectedTags = {
    TagPlayer1,         TagPlayer2,        TagBulletP1,    TagBulletP2,
    TagPowerUp,         TagRepairPowerUp,  TagBombPowerUp, TagFocusPowerUp,
    TagBossRightEngine, TagBossLeftEngine, TagBoss,        TagWarning};

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

BOOL SpriteProtected(const Sprite* sprite) {
  const auto found = std::find(kProtectedTags.begin(), kProtectedTags.end(), sprite->Tag());
  return found != kProtectedTags.end() ? TRUE : FALSE;
}

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
