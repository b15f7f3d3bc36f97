// Start to first presented frame: the whole start-up of the real game (engine, sound, window,
// controls, 44 images, 15 samples, layers, title music) up to its first frame on screen, run
// headless in a copy of the game folder. Reports the cold first start of the process apart
// from the warm ones that follow, and the process's peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/GameCallbacks.h"
#include "engine/MessageLoop.h"
#include "platform/Clock.h"
#include "platform/Resources.h"
#include "platform/Window.h"

namespace skyrift {
namespace {

namespace fs = std::filesystem;

// The game folder the build made: beside this program unless SKYRIFT_GAME_DIR says otherwise.
fs::path GameFolder() {
  if (const char* given = std::getenv("SKYRIFT_GAME_DIR")) return given;
  return fs::read_symlink("/proc/self/exe").parent_path() / "game";
}

// A fresh working folder with what the game reads at start; removed when the run ends.
class WorkingFolder {
 public:
  WorkingFolder() {
    std::random_device entropy;
    folder_ = fs::temp_directory_path() / ("skyrift-bench-" + std::to_string(entropy()));
    fs::create_directories(folder_);
    for (const auto& entry : fs::directory_iterator(GameFolder())) {
      const auto extension = entry.path().extension();
      if (extension == ".wav" || extension == ".mp3" || entry.path().filename() == "controls.txt") {
        fs::copy_file(entry.path(), folder_ / entry.path().filename());
      }
    }
    previous_ = fs::current_path();
    fs::current_path(folder_);
  }
  ~WorkingFolder() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

 private:
  fs::path folder_, previous_;
};

double PeakMemoryMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in kilobytes
}

void EndRun() {
  if (Engine* engine = Engine::Current) {
    engine->OnWindowMessage(engine->GetWindow(), platform::Message{platform::MessageKind::Destroy});
  }
  platform::Message quit;
  while (platform::PollMessage(quit) && quit.kind != platform::MessageKind::Quit) {
  }
}

void BM_StartToFirstPresentedFrame(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  WorkingFolder folder;
  static double coldMs = -1;
  std::vector<double> warmMs;
  for (auto _ : state) {
    const auto begin = std::chrono::steady_clock::now();
    if (!GameInitialize(platform::ProgramModule()) || !Engine::Current->CreateGameWindow(0)) {
      state.SkipWithError("the game did not start");
      EndRun();
      break;
    }
    Engine::Current->OnWindowMessage(Engine::Current->GetWindow(),
                                     platform::Message{platform::MessageKind::Activate, 1});
    // The tick count has just passed the next-frame time: the first frame is due at once.
    _iNextFrameTick = static_cast<int32_t>(platform::GetTickCount() - 1);
    const bool presented = RunFrameIfDue(*Engine::Current);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - begin;
    state.SetIterationTime(elapsed.count());
    if (coldMs < 0) {
      coldMs = elapsed.count() * 1000.0;
    } else {
      warmMs.push_back(elapsed.count() * 1000.0);
    }
    EndRun();
    if (!presented) {
      state.SkipWithError("no frame ran");
      break;
    }
  }
  state.counters["cold_first_start_ms"] = coldMs;
  if (!warmMs.empty()) {
    std::nth_element(warmMs.begin(), warmMs.begin() + warmMs.size() / 2, warmMs.end());
    state.counters["warm_median_ms"] = warmMs[warmMs.size() / 2];
  }
  state.counters["peak_memory_MB"] = PeakMemoryMegabytes();
}
BENCHMARK(BM_StartToFirstPresentedFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(15);

}  // namespace
}  // namespace skyrift
