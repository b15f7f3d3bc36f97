// The millisecond tick count the frame timing runs on. Tests replace the real clock
// with one they drive.
#pragma once

#include <cstdint>

namespace skyrift::platform {

// Milliseconds since the system started, wrapping at 2^32 (or the driven value). Compare two
// counts only by their difference.
uint32_t GetTickCount();

// Makes GetTickCount return `ticks` until the real clock is restored.
void DriveClock(uint32_t ticks);
void UseRealClock();

}  // namespace skyrift::platform
