// The yardstick for composing a play frame: the same scene drawn naively with SDL straight from
// the 8-bit images (a colour key on each, no conversion), which the game's drawing has to beat.
#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include "bench/ComposeScene.h"
#include "platform/Resources.h"

namespace skyrift::bench {
namespace {

SDL_Surface* ToSdl(const Picture& picture, const std::vector<COLORREF>& palette, bool keyed) {
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, picture.width, picture.height, 8, SDL_PIXELFORMAT_INDEX8);
  std::vector<SDL_Color> colours;
  for (COLORREF c : palette)
    colours.push_back(SDL_Color{GetRValue(c), GetGValue(c), GetBValue(c), 255});
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
  SDL_Surface* frame =
      SDL_CreateRGBSurfaceWithFormat(0, kFrameWidth, kFrameHeight, 32, SDL_PIXELFORMAT_XRGB8888);
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
        platform::LookUpResource(platform::ProgramModule(), 3000, platform::kRcDataResource);
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
      const Area at = scene.Where(s, frameNumber, sourceX);
      Blit(sheets[s.sheet], sourceX, 0, at.w, at.h, at.x, at.y);
    }
    Blit(boss, 0, 0, 650, 320, 125, 20 + frameNumber % 40);
    Blit(banner, 0, 0, 650, 320, 125, 250);
    Blit(panel, 0, 0, kFrameWidth, 132, 0, kPlayHeight);
    if (face == nullptr) return;
    for (int i = 0; i < 6; ++i) {
      SDL_Surface* line = TTF_RenderUTF8_Blended(face, NumberText(i, frameNumber).c_str(),
                                                 SDL_Color{255, 255, 255, 255});
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
}  // namespace skyrift::bench
