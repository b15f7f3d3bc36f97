// What a player can do, written once for the keyboard and the pad: the handlers decide which
// control, which repeat counter and which threshold, and then call these.
#pragma once

namespace skyrift {

class PlayerShip;

// Ends bullet time as switching it off does: the game's flag and `ship`'s own (when given)
// drop, the loop on channel 1 stops and the switch-off sound plays.
void EndBulletTime(PlayerShip* ship);

// Player 1's or 2's menu key (and the pad's menu button, which is player 1's): opens that
// player's upgrade menu or closes it.
void ToggleUpgradeMenu(int player);

}  // namespace skyrift
