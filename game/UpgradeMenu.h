// The upgrade menu: moving the highlight and buying with points.
#pragma once

namespace skyrift {

class PlayerShip;

// One frame of a menu whose controls are already read: up, down and buy, in that order, each
// advancing the shared repeat counter while held. The keyboard and the stick both drive it.
void StepUpgradeMenu(PlayerShip* ship, bool up, bool down, bool fire);

}  // namespace skyrift
