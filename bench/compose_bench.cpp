// Composing one play frame on the 900 x 732 off-screen frame: the far layer opaque, the near
// layer keyed, 300 keyed sprites of the game's sizes, two 650 x 320 images, the status panel
// keyed and its numbers, through the platform's surfaces as the game draws. Every frame moves
// the layers and sprites on, so no two frames copy the same pixels.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/ComposeScene.h"
#include "platform/Surface.h"

namespace skyrift::bench {
namespace {

using platform::Surface;

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
  std::unique_ptr<Surface> far, near, boss, banner, panel, page;
  std::vector<std::unique_ptr<Surface>> sheets;
  std::unique_ptr<Surface> frame = Surface::CreateTarget(kFrameWidth, kFrameHeight, 0);

  GameImages() {
    const Scene& scene = TheScene();
    far = ToSurface(scene.far, scene.palette);
    near = ToSurface(scene.near, scene.palette);
    boss = ToSurface(scene.boss, scene.palette);
    banner = ToSurface(scene.banner, scene.palette);
    panel = ToSurface(scene.panel, scene.palette);
    page = ToSurface(Discs(566, kFrameHeight, 20, 90, 29), scene.palette);
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
      const Area at = scene.Where(s, frame, sourceX);
      this->frame->Blit(*sheets[s.sheet], sourceX, 0, at.w, at.h, at.x, at.y, true, kMagenta);
    }
    this->frame->Blit(*boss, 0, 0, 650, 320, 125, 20 + frame % 40, true, kMagenta);
    this->frame->Blit(*banner, 0, 0, 650, 320, 125, 250, true, kMagenta);
  }
  // The stage-clear page, keyed, centred on the frame.
  void Page() { this->frame->Blit(*page, 0, 0, 566, kFrameHeight, 167, 0, true, kMagenta); }
  void Panel(int frame) {
    this->frame->Blit(*panel, 0, 0, kFrameWidth, 132, 0, kPlayHeight, true, kMagenta);
    for (int i = 0; i < 6; ++i) {
      this->frame->WriteText(kNumberPlaces[i], NumberText(i, frame).c_str(), RGB(255, 255, 255));
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

// A frame of the interlude: the page over stage 1's last frame. Painting the frozen world again
// (its layers and panel, with no sprite left or with the busy scene's 300) against copying the
// picture kept when the stage was cleared.
void BM_InterludeRepaintingTheWorld(benchmark::State& state) {
  GameImages& game = Game();
  const bool sprites = state.range(0) != 0;
  RunFrames(state, [&game, sprites](int) {
    game.FarLayer(0);
    game.NearLayer(0);
    if (sprites) game.Sprites(0);
    game.Panel(0);
    game.Page();
  });
}
BENCHMARK(BM_InterludeRepaintingTheWorld)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_InterludeOverTheKeptFrame(benchmark::State& state) {
  GameImages& game = Game();
  auto kept = Surface::CreateTarget(kFrameWidth, kFrameHeight, 0);
  kept->Blit(*game.frame, 0, 0, kFrameWidth, kFrameHeight, 0, 0, false, 0);
  RunFrames(state, [&game, &kept](int) {
    game.frame->Blit(*kept, 0, 0, kFrameWidth, kFrameHeight, 0, 0, false, 0);
    game.Page();
  });
}
BENCHMARK(BM_InterludeOverTheKeptFrame)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace skyrift::bench
