// Painting a frame off-screen for the current state and copying it to the window.
#pragma once

namespace skyrift {

void PresentFrame();

}  // namespace skyrift
