// What a player can do, written once for the keyboard and the pad: the handlers decide which
// control, which repeat counter and which threshold, and then call these.
#pragma once

namespace skyrift {

class PlayerShip;

// Heads the ship one of eight ways, or stops it: dx and dy are -1, 0 or 1, and screen y grows
// downward. Straight on at the ship's speed, diagonally at a fifth less on each axis.
void Steer(PlayerShip* ship, int dx, int dy);

// A volley from the ship, with its sound.
void FireVolley(PlayerShip* ship);

// The ship's bomb: its sound and flash, one bomb fewer, and every sprite a bomb does not spare
// cleared from play.
void DropBomb(PlayerShip* ship);

// Recharge mode on or off: on, the ship goes at its slow speed and wears its arcs.
void ToggleRecharge(PlayerShip* ship);

// Bullet time on for the game and this ship, with its sounds, or off for the game and this ship.
void ToggleBulletTime(PlayerShip* ship);

// Ends bullet time as switching it off does: the game's flag and `ship`'s own (when given)
// drop, the loop on channel 1 stops and the switch-off sound plays.
void EndBulletTime(PlayerShip* ship);

// Player 1's or 2's menu key (and the pad's menu button, which is player 1's): opens that
// player's upgrade menu or closes it.
void ToggleUpgradeMenu(int player);

}  // namespace skyrift
