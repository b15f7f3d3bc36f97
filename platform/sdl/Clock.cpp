#include "platform/Clock.h"

#include <ctime>

namespace skyrift::platform {

// The system's milliseconds since it started, cut to 32 bits: it wraps after 49.7 days, and the
// tick-seeded random numbers differ from run to run (a count from our own start would not).
uint32_t SystemTicks() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                               static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

}  // namespace skyrift::platform
