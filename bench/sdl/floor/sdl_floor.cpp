// The floor under the Linux build's figures: the least an SDL program can do and still show the
// game's picture and play its sound, a 900 x 732 window whose surface is updated 24 times a
// second, with the game's audio output open (the same format, mixing silence). Measured beside
// the game by scripts/measure: its start to the window shown, and its peak memory (the libraries
// and buffers any SDL game carries); what the game costs above it is the game's own.
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <cstdint>

namespace {

constexpr int kWidth = 900, kHeight = 732;
constexpr Uint32 kFrameDelay = 1000 / 24;

}  // namespace

int main(int, char**) {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_AUDIO) != 0) return 1;
  Mix_Init(MIX_INIT_MP3);
  if (Mix_OpenAudioDevice(44100, AUDIO_F32SYS, 2, 1024, nullptr,
                          SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) != 0) {
    return 1;
  }
  // The game's text library, started as the game starts it: its libraries are part of the floor.
  if (TTF_Init() != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("SdlFloor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        kWidth, kHeight, 0);
  if (window == nullptr) return 1;

  Uint32 next = SDL_GetTicks();
  for (uint32_t count = 0;; ++count) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      if (event.type == SDL_QUIT) {
        Mix_CloseAudio();
        SDL_Quit();
        return 0;
      }
    }
    const Uint32 now = SDL_GetTicks();
    if (static_cast<int32_t>(now - next) < 0) {
      SDL_WaitEventTimeout(nullptr, static_cast<int>(next - now));
      continue;
    }
    next = now + kFrameDelay;
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr) return 1;
    // A frame that changes, as the game's does.
    static_cast<uint32_t*>(surface->pixels)[count % (surface->w * surface->h)] = count;
    SDL_UpdateWindowSurface(window);
  }
}
