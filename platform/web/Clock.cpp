// The page's clock: milliseconds on the browser's monotonic clock counted from the epoch, so
// that the tick-seeded random numbers differ from one visit to the next.
#include "platform/Clock.h"

#include <emscripten.h>

namespace skyrift::platform {
namespace {

// clang-format off
EM_JS(double, MonotonicEpochMs, (), { return performance.timeOrigin + performance.now(); });
// clang-format on

}  // namespace

uint32_t SystemTicks() {
  return static_cast<uint32_t>(static_cast<uint64_t>(MonotonicEpochMs()));
}

}  // namespace skyrift::platform
