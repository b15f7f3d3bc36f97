// The players' ships: made at the start of a game and kept up every frame of play.
#pragma once

#include "platform/Types.h"

namespace skyrift {

class PlayerShip;

void CreatePlayers(BOOL twoPlayers);
void UpdatePlayerStatus();

// The ship that pays for bullet time this frame, or null when nobody does.
PlayerShip* BulletTimePayer();

}  // namespace skyrift
