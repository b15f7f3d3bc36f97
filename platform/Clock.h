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

// Milliseconds from `earlier` to `later`, right across the count's wrap. A count that went
// backwards (a driven clock set back) reads as a very long time, never as "not yet".
inline uint32_t TicksBetween(uint32_t earlier, uint32_t later) {
  return later - earlier;
}

// Each layer's reading of the system's count, at 1 ms resolution; GetTickCount returns it
// unless a test drives the clock.
uint32_t SystemTicks();

}  // namespace skyrift::platform
