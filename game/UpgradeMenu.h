// The upgrade menu's keys: moving the highlight and buying with points.
#pragma once

namespace skyrift {

class PlayerShip;

void HandleUpgradeMenuKeys(PlayerShip* ship, int upKey, int downKey, int fireKey);

}  // namespace skyrift
