// Every shot sprite: the players' (their volleys are the game's rules), and the enemies': the
// plain bullet every one of them is, the straight shot dropped below a ship, and the shot aimed
// at a player.
#pragma once

#include "sprites/Sprite.h"

namespace skyrift {

// A player's shot: a plain sprite of `image`, five frames cycling, tagged with the firing
// player's bullet tag, removed once it leaves the play area. Its creator places it and gives
// it its velocity.
Sprite* MakePlayerShot(Bitmap* image, const char* tag);

// A plain sprite tagged "enemy_bullet" with `frames` frames cycling, bounded by the play area
// and removed once it has left it. Its creator places it and gives it its velocity.
Sprite* MakeEnemyBullet(Bitmap* image, int frames);

// A small bullet from the middle of the shooter's bottom edge, falling straight down at `speed`
// pixels per frame.
Sprite* StraightShot(const Sprite& shooter, int speed);

// Where an aimed bullet leaves its shooter.
enum class ShotOrigin {
  BelowCentre,  // the middle of the shooter's bottom edge
  GunPort,      // a random point of a 15 x 27 area in the lower right of a gunship
};

// A bullet of `image` (seven frames) aimed at a player in play, chosen at random when both are;
// with nobody in play it aims at the top-left corner of the play area. Its speed is halved until
// neither component passes `speedCap`. Null when the target is above the shooter: the ships
// that aim never shoot backwards.
Sprite* AimedShot(const Sprite& shooter, Bitmap* image, ShotOrigin origin, int speedCap);

}  // namespace skyrift
