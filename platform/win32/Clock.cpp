#include "platform/Clock.h"

#include "platform/win32/Win32.h"

namespace skyrift::platform {
namespace {
bool driven = false;
uint32_t drivenTicks = 0;
}  // namespace

// The system's own count: milliseconds since it started, wrapping after 49.7 days.
uint32_t GetTickCount() { return driven ? drivenTicks : ::GetTickCount(); }

void DriveClock(uint32_t ticks) {
  driven = true;
  drivenTicks = ticks;
}

void UseRealClock() { driven = false; }

}  // namespace skyrift::platform
