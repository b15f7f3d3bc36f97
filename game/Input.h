// Keys to play: the title screen, the stage-clear screen, and each player's actions.
#pragma once

namespace skyrift {

void HandleTitleKeys();
void HandleStageClearKeys();
void HandlePlayer1Keys();
void HandlePlayer2Keys();

}  // namespace skyrift
