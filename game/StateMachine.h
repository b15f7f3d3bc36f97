// The state machine's own step: painting a frame off-screen and copying it to the window.
// PollKeys, GameFrame and GameDraw (engine/GameCallbacks.h) dispatch on _iGameState.
#pragma once

namespace skyrift {

void PresentFrame();

}  // namespace skyrift
