// Keys to play: the title screen, the stage-clear screen, and each player's actions.
#pragma once

#include "platform/Surface.h"

namespace skyrift {

void HandleTitleKeys();
void DrawTitleScreen(HDC dc);
void HandleStageClearKeys();
void HandlePlayer1Keys();
void HandlePlayer2Keys();

}  // namespace skyrift
