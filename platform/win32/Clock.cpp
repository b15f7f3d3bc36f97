#include "platform/Clock.h"

#include "platform/win32/Win32.h"

#include <mmsystem.h>

namespace skyrift::platform {
namespace {

// The system timer at 1 ms for as long as the program runs. GetTickCount steps by the timer's
// interval (15.6 ms on a stock system), which turns the 41 ms frame wait into 46.9 ms; the
// multimedia count after timeBeginPeriod(1) steps by 1 ms. The period is given back when the
// program ends, whether main returns or exit is called.
struct OneMillisecondTimer {
  OneMillisecondTimer() : raised(timeBeginPeriod(1) == TIMERR_NOERROR) {}
  ~OneMillisecondTimer() {
    if (raised) timeEndPeriod(1);
  }
  OneMillisecondTimer(const OneMillisecondTimer&) = delete;
  OneMillisecondTimer& operator=(const OneMillisecondTimer&) = delete;
  const bool raised;
};

}  // namespace

// Milliseconds since the system started, wrapping after 49.7 days, as GetTickCount counts them.
uint32_t SystemTicks() {
  static const OneMillisecondTimer timer;
  return timeGetTime();
}

}  // namespace skyrift::platform
