#include "bench/ResizeWindow.h"

#include <SDL.h>

#include <cstring>

namespace skyrift::bench {

bool ResizeGameWindow(const char* title, int width, int height) {
  SDL_Window* window = nullptr;
  for (Uint32 id = 1; id < 64 && window == nullptr; ++id) {
    SDL_Window* candidate = SDL_GetWindowFromID(id);
    if (candidate != nullptr && std::strcmp(SDL_GetWindowTitle(candidate), title) == 0)
      window = candidate;
  }
  if (window == nullptr) return false;
  SDL_SetWindowSize(window, width, height);
  for (int waited = 0; waited < 2000; waited += 10) {
    SDL_PumpEvents();
    const SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface != nullptr && surface->w == width && surface->h == height) return true;
    SDL_Delay(10);
  }
  return false;
}

}  // namespace skyrift::bench
