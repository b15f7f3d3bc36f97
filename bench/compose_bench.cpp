// Composing one play frame on the 900 x 732 off-screen frame: the far layer opaque, the near
// layer keyed, 300 keyed sprites of the game's sizes, two 650 x 320 images, the status panel
// keyed and its numbers. Beside it, the same drawing done naively with SDL on the 8-bit images
// (a colour key on each, no conversion), the yardstick the game's drawing has to beat.
// Every frame moves the layers and sprites on, so no two frames copy the same pixels.
//
// The pictures are synthetic, of the game's sizes and kinds: noise for the far layer, figures
// on a magenta ground for everything drawn keyed.
#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Resources.h"
#include "platform/Surface.h"

namespace skyrift {
namespace {

using platform::Surface;

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

std::vector<COLORREF> MakePalette() {
  std::vector<COLORREF> palette(256);
  Random random(7);
  for (int i = 0; i < 256; ++i) {
    palette[i] = RGB(random.Below(256), static_cast<uint8_t>(random.Below(200) + 20), random.Below(256));
  }
  palette[kKeyIndex] = kMagenta;
  return palette;
}

// Deep space: banded colour with scattered bright specks, every pixel opaque.
Picture FarLayer(int width, int height) {
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
Picture Discs(int width, int height, int count, int radius, uint32_t seed) {
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
Picture Sheet(int frameWidth, int frameHeight, int frames) {
  Picture p{frameWidth * frames, frameHeight,
            std::vector<uint8_t>(static_cast<size_t>(frameWidth) * frames * frameHeight, kKeyIndex)};
  for (int f = 0; f < frames; ++f) {
    const double rx = frameWidth * (0.3 + 0.2 * f / frames), ry = frameHeight * 0.45;
    for (int y = 0; y < frameHeight; ++y) {
      for (int x = 0; x < frameWidth; ++x) {
        const double dx = (x - frameWidth / 2.0) / rx, dy = (y - frameHeight / 2.0) / ry;
        if (dx * dx + dy * dy < 1.0) p.At(f * frameWidth + x, y) = static_cast<uint8_t>(60 + (x * 3 + y) % 140);
      }
    }
  }
  return p;
}

// The status panel: mostly frame and labels, with a few keyed gaps.
Picture Panel() {
  Picture p = Discs(kFrameWidth, 132, 30, 20, 23);
  for (int y = 0; y < 132; ++y) {
    for (int x = 0; x < kFrameWidth; ++x) {
      if (p.At(x, y) == kKeyIndex && (x / 9 + y / 7) % 5 != 0) p.At(x, y) = static_cast<uint8_t>(20 + y % 30);
    }
  }
  return p;
}

struct SheetKind {
  int frameWidth, frameHeight, frames, count;
};
// The sprites of a busy stage-1 frame: 300 in all.
constexpr SheetKind kSheets[] = {
    {50, 64, 4, 2},     // the players' ships
    {42, 26, 5, 100},   // player bullets
    {20, 20, 7, 80},    // enemy bullets
    {60, 60, 15, 40},   // explosions
    {50, 39, 1, 20},    // swoop enemies
    {64, 29, 1, 20},    // hover enemies
    {80, 58, 1, 20},    // gunships
    {30, 30, 1, 18},    // power-ups
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
        sprites.push_back(Placement{static_cast<int>(k), random.Below(kFrameWidth), random.Below(kPlayHeight),
                                    random.Below(9) - 4, random.Below(13) - 6, random.Below(kind.frames)});
      }
    }
  }

  // Where sprite `s` is in frame `frame`: it wraps around the play area, partly off its edges.
  SDL_Rect Where(const Placement& s, int frame, int& sourceX) const {
    const SheetKind& kind = kSheets[s.sheet];
    const int spanX = kFrameWidth + kind.frameWidth, spanY = kPlayHeight + kind.frameHeight;
    const int x = ((s.x + s.vx * frame) % spanX + spanX) % spanX - kind.frameWidth;
    const int y = ((s.y + s.vy * frame) % spanY + spanY) % spanY - kind.frameHeight;
    sourceX = (s.phase + frame) % kind.frames * kind.frameWidth;
    return SDL_Rect{x, y, kind.frameWidth, kind.frameHeight};
  }
};

const Scene& TheScene() {
  static const Scene scene;
  return scene;
}

// The numbers the status panel shows.
constexpr RECT kNumberPlaces[] = {{140, 622, 240, 642}, {140, 650, 240, 670}, {140, 678, 240, 698},
                                  {590, 622, 690, 642}, {590, 650, 690, 670}, {590, 678, 690, 698}};
std::string NumberText(int place, int frame) { return std::to_string(1000 * place + frame % 997); }

int FarTop(int frame) { return 4400 - frame * 2 % 4400; }
int NearTop(int frame) { return 6900 - frame * 3 % 6900; }

double ThreadCpuMilliseconds() {
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
    wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
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

// --- The game's drawing: platform surfaces, as Bitmap and the backgrounds call them ----------

std::unique_ptr<Surface> ToSurface(const Picture& picture, const std::vector<COLORREF>& palette) {
  auto surface = Surface::CreateIndexed(picture.width, picture.height, palette.data(), 256);
  for (int y = 0; y < picture.height; ++y) {
    std::copy_n(picture.pixels.data() + static_cast<size_t>(y) * picture.width, picture.width,
                surface->IndexRow(y));
  }
  return surface;
}

struct GameImages {
  std::unique_ptr<Surface> far, near, boss, banner, panel;
  std::vector<std::unique_ptr<Surface>> sheets;
  std::unique_ptr<Surface> frame = Surface::CreateTarget(kFrameWidth, kFrameHeight, 0);

  GameImages() {
    const Scene& scene = TheScene();
    far = ToSurface(scene.far, scene.palette);
    near = ToSurface(scene.near, scene.palette);
    boss = ToSurface(scene.boss, scene.palette);
    banner = ToSurface(scene.banner, scene.palette);
    panel = ToSurface(scene.panel, scene.palette);
    for (const Picture& sheet : scene.sheets) sheets.push_back(ToSurface(sheet, scene.palette));
  }

  void FarLayer(int frame) {
    this->frame->Blit(*far, 0, FarTop(frame), kFrameWidth, kPlayHeight, 0, 0, false, 0);
  }
  void NearLayer(int frame) {
    this->frame->Blit(*near, 0, NearTop(frame), kFrameWidth, kPlayHeight, 0, 0, true, kMagenta);
  }
  void Sprites(int frame) {
    const Scene& scene = TheScene();
    for (const Placement& s : scene.sprites) {
      int sourceX = 0;
      const SDL_Rect at = scene.Where(s, frame, sourceX);
      this->frame->Blit(*sheets[s.sheet], sourceX, 0, at.w, at.h, at.x, at.y, true, kMagenta);
    }
    this->frame->Blit(*boss, 0, 0, 650, 320, 125, 20 + frame % 40, true, kMagenta);
    this->frame->Blit(*banner, 0, 0, 650, 320, 125, 250, true, kMagenta);
  }
  void Panel(int frame) {
    this->frame->Blit(*panel, 0, 0, kFrameWidth, 132, 0, kPlayHeight, true, kMagenta);
    for (int i = 0; i < 6; ++i) {
      this->frame->DrawText(kNumberPlaces[i], NumberText(i, frame).c_str(), RGB(255, 255, 255));
    }
  }
};

GameImages& Game() {
  static GameImages images;
  return images;
}

void BM_ComposeFrame(benchmark::State& state) {
  GameImages& game = Game();
  RunFrames(state, [&game](int frame) {
    game.FarLayer(frame);
    game.NearLayer(frame);
    game.Sprites(frame);
    game.Panel(frame);
  });
}
BENCHMARK(BM_ComposeFrame)->Unit(benchmark::kMillisecond);

// The parts on their own, to see where a frame's time goes.
void BM_ComposeFarLayer(benchmark::State& state) {
  GameImages& game = Game();
  RunFrames(state, [&game](int frame) { game.FarLayer(frame); });
}
BENCHMARK(BM_ComposeFarLayer)->Unit(benchmark::kMillisecond);

void BM_ComposeNearLayer(benchmark::State& state) {
  GameImages& game = Game();
  RunFrames(state, [&game](int frame) { game.NearLayer(frame); });
}
BENCHMARK(BM_ComposeNearLayer)->Unit(benchmark::kMillisecond);

void BM_ComposeSprites(benchmark::State& state) {
  GameImages& game = Game();
  RunFrames(state, [&game](int frame) { game.Sprites(frame); });
}
BENCHMARK(BM_ComposeSprites)->Unit(benchmark::kMillisecond);

void BM_ComposePanel(benchmark::State& state) {
  GameImages& game = Game();
  RunFrames(state, [&game](int frame) { game.Panel(frame); });
}
BENCHMARK(BM_ComposePanel)->Unit(benchmark::kMillisecond);

// Copying the finished frame to the window's surface, as presenting does (without SDL's
// update of the window itself).
void BM_CopyFrameToWindow(benchmark::State& state) {
  GameImages& game = Game();
  auto window = Surface::CreateTarget(kFrameWidth, kFrameHeight, 0);
  RunFrames(state, [&game, &window](int) {
    window->Blit(*game.frame, 0, 0, kFrameWidth, kFrameHeight, 0, 0, false, 0);
  });
}
BENCHMARK(BM_CopyFrameToWindow)->Unit(benchmark::kMillisecond);

// --- The yardstick: SDL blits straight from the 8-bit images with a colour key ----------------

SDL_Surface* ToSdl(const Picture& picture, const std::vector<COLORREF>& palette, bool keyed) {
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, picture.width, picture.height, 8, SDL_PIXELFORMAT_INDEX8);
  std::vector<SDL_Color> colours;
  for (COLORREF c : palette) colours.push_back(SDL_Color{GetRValue(c), GetGValue(c), GetBValue(c), 255});
  SDL_SetPaletteColors(surface->format->palette, colours.data(), 0, 256);
  for (int y = 0; y < picture.height; ++y) {
    std::copy_n(picture.pixels.data() + static_cast<size_t>(y) * picture.width, picture.width,
                static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch);
  }
  if (keyed) SDL_SetColorKey(surface, SDL_TRUE, kKeyIndex);
  return surface;
}

struct SdlImages {
  SDL_Surface *far, *near, *boss, *banner, *panel;
  std::vector<SDL_Surface*> sheets;
  SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormat(0, kFrameWidth, kFrameHeight, 32, SDL_PIXELFORMAT_XRGB8888);
  TTF_Font* face = nullptr;

  SdlImages() {
    const Scene& scene = TheScene();
    far = ToSdl(scene.far, scene.palette, false);
    near = ToSdl(scene.near, scene.palette, true);
    boss = ToSdl(scene.boss, scene.palette, true);
    banner = ToSdl(scene.banner, scene.palette, true);
    panel = ToSdl(scene.panel, scene.palette, true);
    for (const Picture& sheet : scene.sheets) sheets.push_back(ToSdl(sheet, scene.palette, true));
    // The same face and size the game letters its numbers with.
    const platform::ResourceEntry* font =
        platform::FindResource(platform::ProgramModule(), 3000, platform::kRcDataResource);
    if (font != nullptr && (TTF_WasInit() != 0 || TTF_Init() == 0)) {
      face = TTF_OpenFontRW(SDL_RWFromConstMem(font->data, static_cast<int>(font->size)), 1, 15);
    }
  }

  void Blit(SDL_Surface* from, int sx, int sy, int w, int h, int dx, int dy) {
    SDL_Rect source{sx, sy, w, h}, target{dx, dy, w, h};
    SDL_BlitSurface(from, &source, frame, &target);
  }

  void Compose(int frameNumber) {
    const Scene& scene = TheScene();
    Blit(far, 0, FarTop(frameNumber), kFrameWidth, kPlayHeight, 0, 0);
    Blit(near, 0, NearTop(frameNumber), kFrameWidth, kPlayHeight, 0, 0);
    for (const Placement& s : scene.sprites) {
      int sourceX = 0;
      const SDL_Rect at = scene.Where(s, frameNumber, sourceX);
      Blit(sheets[s.sheet], sourceX, 0, at.w, at.h, at.x, at.y);
    }
    Blit(boss, 0, 0, 650, 320, 125, 20 + frameNumber % 40);
    Blit(banner, 0, 0, 650, 320, 125, 250);
    Blit(panel, 0, 0, kFrameWidth, 132, 0, kPlayHeight);
    if (face == nullptr) return;
    for (int i = 0; i < 6; ++i) {
      SDL_Surface* line = TTF_RenderUTF8_Blended(face, NumberText(i, frameNumber).c_str(), SDL_Color{255, 255, 255, 255});
      if (line == nullptr) continue;
      const RECT& r = kNumberPlaces[i];
      SDL_Rect place{r.right - line->w, r.top + (r.bottom - r.top - line->h) / 2, line->w, line->h};
      SDL_BlitSurface(line, nullptr, frame, &place);
      SDL_FreeSurface(line);
    }
  }
};

void BM_ComposeFrameSdlNaive(benchmark::State& state) {
  static SdlImages sdl;
  RunFrames(state, [](int frame) { sdl.Compose(frame); });
}
BENCHMARK(BM_ComposeFrameSdlNaive)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace skyrift
