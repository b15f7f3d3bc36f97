// Pausing play by key: Esc or Pause freezes the game as a lost focus does, and shows that it
// is paused; the same keys resume.
#pragma once

#include "platform/Surface.h"

namespace skyrift {

// Reads the pause keys once per frame, first. True while play is paused: nothing else of the
// frame may run then.
bool PollPauseKeys();
bool PlayPaused();
// A lost focus stops every frame: where play could be paused, the frozen picture shows the
// sign once, so that it does not look like a hang. Regaining the focus takes it away.
void ShowSignForLostFocus();
void ForgetLostFocus();
// Whether the picture carries the sign: paused by key, or frozen by a lost focus.
bool PauseSignShown();
// "PAUSED" across the middle of the play area, over whatever the frame holds, and the key
// that resumes under it.
void DrawPauseSign(HDC dc);

}  // namespace skyrift
