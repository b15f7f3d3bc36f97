// The clock tests drive, in front of whichever system count the layer reads.
#include "platform/Clock.h"

namespace skyrift::platform {
namespace {
bool driven = false;
uint32_t drivenTicks = 0;
}  // namespace

uint32_t GetTickCount() {
  return driven ? drivenTicks : SystemTicks();
}

void DriveClock(uint32_t ticks) {
  driven = true;
  drivenTicks = ticks;
}

void UseRealClock() {
  driven = false;
}

}  // namespace skyrift::platform
