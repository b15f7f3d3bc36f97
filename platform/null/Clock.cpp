// The system's count as the C++ library's steady clock gives it, cut to 32 bits.
#include "platform/Clock.h"

#include <chrono>

namespace skyrift::platform {

// A real system: the system's millisecond count since it started (not since the program did), at 1
// ms.
uint32_t SystemTicks() {
  const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

}  // namespace skyrift::platform
