// Pausing play by key: Esc or Pause freezes the game as a lost focus does, and shows that it
// is paused; the same keys resume.
#pragma once

#include "platform/Surface.h"

namespace skyrift {

// Reads the pause keys once per frame, first. True while play is paused: nothing else of the
// frame may run then.
bool PollPauseKeys();
bool PlayPaused();
// "PAUSED" across the middle of the play area, over whatever the frame holds.
void DrawPauseSign(HDC dc);

}  // namespace skyrift
