// The players' ships: made at the start of a game and kept up every frame of play.
#pragma once

#include "platform/Types.h"

namespace skyrift {

class PlayerShip;

void CreatePlayers(BOOL twoPlayers);
void UpdatePlayerStatus();

// The ship that pays for bullet time this frame, or null when nobody does.
PlayerShip* BulletTimePayer();
// Ends bullet time as switching it off does: the game's flag and `ship`'s own (when given)
// drop, the loop on channel 1 stops and the switch-off sound plays.
void EndBulletTime(PlayerShip* ship);

}  // namespace skyrift
