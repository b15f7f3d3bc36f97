// The tick count each layer reads from its system: the time since the system started, not since
// the program did, so that tick-seeded random numbers differ from run to run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/Clock.h"

namespace skyrift {
namespace {

TEST(Clock, TheRealTickCountIsTheSystemsUptimeNotTheProgramsAge) {
  timespec boot{};
  ASSERT_EQ(clock_gettime(CLOCK_MONOTONIC, &boot), 0);
  const auto uptime = static_cast<uint32_t>(boot.tv_sec * 1000LL + boot.tv_nsec / 1000000);
  const uint32_t ticks = platform::GetTickCount();
  // Either may be the coarser clock (Windows's tick count moves in steps of about 16 ms), so
  // the two agree to within a second either way, across the wrap.
  EXPECT_LT(std::abs(static_cast<int32_t>(ticks - uptime)), 1000)
      << "ticks " << ticks << ", uptime " << uptime;
}

}  // namespace
}  // namespace skyrift
