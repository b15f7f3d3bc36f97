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

// The ship that pays for bullet time this frame, or null when nobody does.
PlayerShip* BulletTimePayer();
// Ends bullet time as switching it off does: the game's flag and `ship`'s own (when given)
// drop, the loop on channel 1 stops and the switch-off sound plays.
void EndBulletTime(PlayerShip* ship);

}  // namespace skyrift
