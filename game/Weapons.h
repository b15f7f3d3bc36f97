// What the players' ships make: volleys, the bomb's flash, explosion bursts.
#pragma once

namespace skyrift {

class PlayerShip;
class Sprite;

void FirePlayerBullets(PlayerShip* ship);
void CreateBombFlash();
void SpawnExplosionBurst(Sprite* sprite, int count);

}  // namespace skyrift
