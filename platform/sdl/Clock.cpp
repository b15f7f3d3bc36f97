#include "platform/Clock.h"

#include <SDL.h>

namespace skyrift::platform {
namespace {
bool driven = false;
uint32_t drivenTicks = 0;
}  // namespace

uint32_t GetTickCount() { return driven ? drivenTicks : SDL_GetTicks(); }

void DriveClock(uint32_t ticks) {
  driven = true;
  drivenTicks = ticks;
}

void UseRealClock() { driven = false; }

}  // namespace skyrift::platform
