// The scaler alone, without the copy to a screen that the present benchmarks add: the frame
// enlarged for fullscreen on a 1080-line and a 2160-line screen, and shrunk into the window a
// 720-line screen allows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/ScreenFit.h"

namespace skyrift {
namespace {

void BM_ScaleFrame(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  std::vector<uint32_t> frame(900 * 732);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint32_t>(i * 2654435761u);
  std::vector<uint32_t> target(static_cast<size_t>(width) * height);
  platform::FrameScaler scaler;
  for (auto _ : state) {
    scaler.Scale(reinterpret_cast<const uint8_t*>(frame.data()), 900 * 4, 900, 732,
                 reinterpret_cast<uint8_t*>(target.data()), static_cast<size_t>(width) * 4,
                 platform::Placement{0, 0, width, height});
    benchmark::DoNotOptimize(target.data());
  }
}
BENCHMARK(BM_ScaleFrame)
    ->Args({1327, 1080})
    ->Args({2655, 2160})
    ->Args({859, 699})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace skyrift
