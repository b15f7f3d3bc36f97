// Keys to play: the title screen, the menu keys and the upgrade menu, the stage-clear screen,
// and each player's actions.
#pragma once

namespace skyrift {

class PlayerShip;

void HandleTitleKeys();
// Either player's menu key, in any state but game over.
void HandleMenuKeys();
void HandleUpgradeMenuKeys(PlayerShip* ship, int upKey, int downKey, int fireKey);
void HandleStageClearKeys();
void HandlePlayer1Keys();
void HandlePlayer2Keys();

}  // namespace skyrift
