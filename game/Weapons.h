// The players' ships and what they make: volleys, the bomb's flash, explosion bursts, and the
// frame-by-frame upkeep of energy and repairs.
#pragma once

#include "platform/Types.h"

namespace skyrift {

class PlayerShip;
class Sprite;

void CreatePlayers(BOOL twoPlayers);
void FirePlayerBullets(PlayerShip* ship);
void CreateBombFlash();
void SpawnExplosionBurst(Sprite* sprite, int count);
void UpdatePlayerStatus();

}  // namespace skyrift
