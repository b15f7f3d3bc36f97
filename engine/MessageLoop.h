// The main loop: messages first; when none is waiting and the engine is awake, one frame
// whenever the tick count has passed the next-frame time.
#pragma once

#include <cstdint>

namespace skyrift {

class Engine;

// Tick count after which the next frame runs; 0 at start, so the first frame runs at once.
extern int32_t _iNextFrameTick;

// Runs one frame (keys, joystick, game frame) if the engine is awake and the frame is due.
// Returns whether it ran.
bool RunFrameIfDue(Engine& engine);

// Runs until the quit message and returns its exit code. Between frames it waits for the next
// message or for the time the next frame is due, so a running game costs little CPU.
int RunMessageLoop();

}  // namespace skyrift
