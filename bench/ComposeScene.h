// The scene both composing benchmarks draw: synthetic pictures of the game's sizes and kinds
// (noise for the far layer, figures on a magenta ground for everything drawn keyed), 300
// sprites that move on every frame, and the timing of a frame in wall and CPU time.
#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace skyrift::bench {

constexpr int kFrameWidth = 900;
constexpr int kFrameHeight = 732;
constexpr int kPlayHeight = 600;
constexpr uint8_t kKeyIndex = 255;  // the palette entry that holds magenta

// Eight bits per pixel with the shared palette; what both the game and SDL draw from.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
  uint8_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};

class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

 private:
  uint32_t state_;
};

inline std::vector<COLORREF> MakePalette() {
  std::vector<COLORREF> palette(256);
  Random random(7);
  for (int i = 0; i < 256; ++i) {
    palette[i] =
        RGB(random.Below(256), static_cast<uint8_t>(random.Below(200) + 20), random.Below(256));
  }
  palette[kKeyIndex] = kMagenta;
  return palette;
}

// Deep space: banded colour with scattered bright specks, every pixel opaque.
inline Picture FarLayer(int width, int height) {
  Picture p{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height)};
  Random random(11);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int band = (x / 37 + y / 53) % 64;
      p.At(x, y) = static_cast<uint8_t>(random.Below(40) == 0 ? 200 + random.Below(40) : band);
    }
  }
  return p;
}

// Magenta ground with `count` filled discs about `radius` across.
inline Picture Discs(int width, int height, int count, int radius, uint32_t seed) {
  Picture p{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height, kKeyIndex)};
  Random random(seed);
  for (int i = 0; i < count; ++i) {
    const int cx = random.Below(width), cy = random.Below(height);
    const int r = radius / 2 + random.Below(radius);
    for (int y = std::max(0, cy - r); y < std::min(height, cy + r); ++y) {
      for (int x = std::max(0, cx - r); x < std::min(width, cx + r); ++x) {
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r) {
          p.At(x, y) = static_cast<uint8_t>(64 + (x + y) % 120);
        }
      }
    }
  }
  return p;
}

// A sprite sheet: `frames` frames side by side, each an ellipse on magenta that grows a little
// from frame to frame.
inline Picture Sheet(int frameWidth, int frameHeight, int frames) {
  Picture p{
      frameWidth * frames, frameHeight,
      std::vector<uint8_t>(static_cast<size_t>(frameWidth) * frames * frameHeight, kKeyIndex)};
  for (int f = 0; f < frames; ++f) {
    const double rx = frameWidth * (0.3 + 0.2 * f / frames), ry = frameHeight * 0.45;
    for (int y = 0; y < frameHeight; ++y) {
      for (int x = 0; x < frameWidth; ++x) {
        const double dx = (x - frameWidth / 2.0) / rx, dy = (y - frameHeight / 2.0) / ry;
        if (dx * dx + dy * dy < 1.0)
          p.At(f * frameWidth + x, y) = static_cast<uint8_t>(60 + (x * 3 + y) % 140);
      }
    }
  }
  return p;
}

// The status panel: mostly frame and labels, with a few keyed gaps.
inline Picture Panel() {
  Picture p = Discs(kFrameWidth, 132, 30, 20, 23);
  for (int y = 0; y < 132; ++y) {
    for (int x = 0; x < kFrameWidth; ++x) {
      if (p.At(x, y) == kKeyIndex && (x / 9 + y / 7) % 5 != 0)
        p.At(x, y) = static_cast<uint8_t>(20 + y % 30);
    }
  }
  return p;
}

struct SheetKind {
  int frameWidth, frameHeight, frames, count;
};
// The sprites of a busy stage-1 frame: 300 in all.
inline constexpr SheetKind kSheets[] = {
    {50, 64, 4, 2},    // the players' ships
    {42, 26, 5, 100},  // player bullets
    {20, 20, 7, 80},   // enemy bullets
    {60, 60, 15, 40},  // explosions
    {50, 39, 1, 20},   // swoop enemies
    {64, 29, 1, 20},   // hover enemies
    {80, 58, 1, 20},   // gunships
    {30, 30, 1, 18},   // power-ups
};

// A sprite's place and size in a frame.
struct Area {
  int x, y, w, h;
};

struct Placement {
  int sheet;
  int x, y, vx, vy, phase;
};

// The pictures of the scene and where the sprites start.
struct Scene {
  std::vector<COLORREF> palette = MakePalette();
  Picture far = FarLayer(kFrameWidth, 5000);
  Picture near = Discs(kFrameWidth, 7500, 900, 40, 3);
  std::vector<Picture> sheets;
  Picture boss = Discs(650, 320, 25, 80, 5);
  Picture banner = Discs(650, 320, 12, 60, 9);
  Picture panel = Panel();
  std::vector<Placement> sprites;

  Scene() {
    Random random(17);
    for (size_t k = 0; k < std::size(kSheets); ++k) {
      const SheetKind& kind = kSheets[k];
      sheets.push_back(Sheet(kind.frameWidth, kind.frameHeight, kind.frames));
      for (int i = 0; i < kind.count; ++i) {
        sprites.push_back(Placement{static_cast<int>(k), random.Below(kFrameWidth),
                                    random.Below(kPlayHeight), random.Below(9) - 4,
                                    random.Below(13) - 6, random.Below(kind.frames)});
      }
    }
  }

  // Where sprite `s` is in frame `frame`: it wraps around the play area, partly off its edges.
  Area Where(const Placement& s, int frame, int& sourceX) const {
    const SheetKind& kind = kSheets[s.sheet];
    const int spanX = kFrameWidth + kind.frameWidth, spanY = kPlayHeight + kind.frameHeight;
    const int x = ((s.x + s.vx * frame) % spanX + spanX) % spanX - kind.frameWidth;
    const int y = ((s.y + s.vy * frame) % spanY + spanY) % spanY - kind.frameHeight;
    sourceX = (s.phase + frame) % kind.frames * kind.frameWidth;
    return Area{x, y, kind.frameWidth, kind.frameHeight};
  }
};

inline const Scene& TheScene() {
  static const Scene scene;
  return scene;
}

// The numbers the status panel shows.
inline constexpr RECT kNumberPlaces[] = {{140, 622, 240, 642}, {140, 650, 240, 670},
                                         {140, 678, 240, 698}, {590, 622, 690, 642},
                                         {590, 650, 690, 670}, {590, 678, 690, 698}};
inline std::string NumberText(int place, int frame) {
  return std::to_string(1000 * place + frame % 997);
}

inline int FarTop(int frame) {
  return 4400 - frame * 2 % 4400;
}
inline int NearTop(int frame) {
  return 6900 - frame * 3 % 6900;
}

inline double ThreadCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Runs `compose` once per iteration with the frame number, and reports per frame the median,
// the 99th percentile and the slowest, in wall time and in this thread's CPU time (wall time on
// a shared machine also counts the frames the scheduler gave to someone else).
template <typename Compose>
void RunFrames(benchmark::State& state, Compose compose) {
  compose(0);  // first use: the game draws everything once on its first frames
  std::vector<double> wall, cpu;
  int frame = 1;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuMilliseconds();
    compose(frame++);
    cpu.push_back(ThreadCpuMilliseconds() - cpuStart);
    wall.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  if (wall.empty()) return;
  std::sort(wall.begin(), wall.end());
  std::sort(cpu.begin(), cpu.end());
  const size_t n = wall.size();
  state.counters["median_ms"] = wall[n / 2];
  state.counters["p99_ms"] = wall[n * 99 / 100];
  state.counters["worst_ms"] = wall.back();
  state.counters["cpu_median_ms"] = cpu[n / 2];
  state.counters["cpu_worst_ms"] = cpu.back();
}

}  // namespace skyrift::bench
