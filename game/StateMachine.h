// The state machine's own step: painting a frame off-screen and copying it to the window.
// PollKeys, GameFrame and GameDraw (engine/GameCallbacks.h) dispatch on _iGameState.
#pragma once

namespace skyrift {

void PresentFrame();

// Player 1's or 2's menu key (and the pad's menu button, which is player 1's): opens that
// player's upgrade menu or closes it.
void ToggleUpgradeMenu(int player);

}  // namespace skyrift
