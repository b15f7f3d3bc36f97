// Presenting a finished frame in a real window: the copy of the 900 x 732 off-screen frame into
// the window's surface and the window's update, as every frame of the game ends; and the same
// into a window of a screen's size (fullscreen), scaled nearest-neighbour with bars. Needs an X
// display (run it under xvfb-run, as scripts/measure does, on a screen at least as large as the
// largest window measured); without one it says so and skips.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/ResizeWindow.h"
#include "platform/Surface.h"
#include "platform/Window.h"

namespace skyrift {
namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 732;

// Only a real display measures anything: the headless drivers copy to nowhere.
bool HasDisplay(std::string& why) {
  const char* display = std::getenv("DISPLAY");
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (display == nullptr || display[0] == '\0') {
    why = "no X display (run under xvfb-run)";
    return false;
  }
  if (driver != nullptr && driver[0] != '\0' && std::strcmp(driver, "x11") != 0) {
    why = std::string("SDL_VIDEODRIVER is ") + driver + ", not x11";
    return false;
  }
  return true;
}

// The window's client is the frame's size, or range(0) x range(1) when given.
void PresentFrames(benchmark::State& state, bool scaled) {
  std::string why;
  if (!HasDisplay(why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  std::string error;
  std::unique_ptr<platform::Window> window =
      platform::Window::Create(platform::WindowSpec{platform::ProgramModule(), "Skyrift",
                                                    "Skyrift present", 1000, 1001, kWidth, kHeight},
                               error);
  if (window == nullptr) {
    state.SkipWithError(error.c_str());
    return;
  }
  window->Show();
  if (scaled && !bench::ResizeGameWindow("Skyrift present", static_cast<int>(state.range(0)),
                                         static_cast<int>(state.range(1)))) {
    state.SkipWithError("the window did not take the size (is the screen large enough?)");
    return;
  }
  platform::Message message;
  while (platform::PollMessage(message)) {
  }

  // A frame that changes every time, so that nothing can be skipped as unchanged.
  std::unique_ptr<platform::Surface> frame = platform::Surface::CreateTarget(kWidth, kHeight, 0);
  std::vector<double> wall;
  int n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    frame->Fill(RECT{0, (n * 7) % kHeight, kWidth, (n * 7) % kHeight + 40}, RGB(n % 256, 90, 200));
    ++n;
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    platform::Surface* target = window->Frame();
    if (target == nullptr) {
      state.SkipWithError("the window has no surface");
      break;
    }
    target->Blit(*frame, 0, 0, kWidth, kHeight, 0, 0, false, 0);
    window->Present();
    wall.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  if (wall.empty()) return;
  std::sort(wall.begin(), wall.end());
  state.counters["median_ms"] = wall[wall.size() / 2];
  state.counters["p99_ms"] = wall[wall.size() * 99 / 100];
  state.counters["worst_ms"] = wall.back();
}
void BM_PresentFrame(benchmark::State& state) {
  PresentFrames(state, false);
}
BENCHMARK(BM_PresentFrame)->Unit(benchmark::kMillisecond)->Iterations(2000);

void BM_PresentScaled(benchmark::State& state) {
  PresentFrames(state, true);
}
BENCHMARK(BM_PresentScaled)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1000);

}  // namespace
}  // namespace skyrift
