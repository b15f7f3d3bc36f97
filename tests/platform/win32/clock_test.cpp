// The Windows tick count: milliseconds at 1 ms steps. The system's GetTickCount steps by the
// timer's interval (15.6 ms on a stock Windows), which would make every 41 ms frame wait 46.9.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/Clock.h"

namespace skyrift::platform {
namespace {

TEST(Win32Clock, TheTickCountStepsByOneMillisecondAndKeepsPace) {
  UseRealClock();
  using Steady = std::chrono::steady_clock;
  const auto start = Steady::now();
  const uint32_t first = GetTickCount();
  uint32_t last = first;
  int oneMillisecondSteps = 0;
  // A loaded machine may take the processor away for a while: count the 1 ms steps seen.
  while (oneMillisecondSteps < 50 && Steady::now() - start < std::chrono::seconds(2)) {
    const uint32_t now = GetTickCount();
    if (now != last) oneMillisecondSteps += TicksBetween(last, now) == 1 ? 1 : 0;
    last = now;
  }
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start);
  EXPECT_EQ(oneMillisecondSteps, 50) << "the count moves in coarser steps";
  EXPECT_NEAR(static_cast<double>(TicksBetween(first, last)), static_cast<double>(elapsed.count()),
              20.0)
      << "milliseconds, as the steady clock counts them";
}

}  // namespace
}  // namespace skyrift::platform
