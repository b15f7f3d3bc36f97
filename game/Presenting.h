// Painting a frame for the current state and showing it in the window.
#pragma once

#include "platform/Surface.h"

namespace skyrift {

constexpr int kFrameHeight = 732;  // the play area and the 132-pixel status panel under it

// The frame the game paints in (also `_hOffscreenDC`): the window's own pixels when they hold
// a frame of the game's size, so that showing it copies nothing, otherwise a frame of the
// game's own. Asked anew before each use: the window's pixels move when it is resized or goes
// fullscreen.
HDC CurrentFrame();

void PresentFrame();

// A frame of the game's own at the engine's size, in place of any earlier one, black: the frame
// painted where the window offers none (and in the tests and benchmarks, which show nothing).
void MakeOffscreenFrame();
// No frame to paint in any more, the game's own freed.
void FreeOffscreenFrame();

}  // namespace skyrift
