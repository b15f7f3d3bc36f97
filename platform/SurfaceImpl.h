// What a Surface holds on SDL's side. Shared only by the platform files that draw.
#pragma once

#include <SDL.h>

#include "platform/Surface.h"

namespace skyrift::platform {

struct Surface::Impl {
  SDL_Surface* sdl = nullptr;
  bool owned = true;
  // An indexed image drawn keyed onto 32-bit targets is converted once to 32 bits with a
  // run-length colour key; that copy is far faster to draw than keying 8-bit pixels each frame.
  SDL_Surface* keyedCopy = nullptr;
  COLORREF keyedCopyKey = 0;

  ~Impl();
  SDL_Surface* KeyedCopy(COLORREF key, const SDL_PixelFormat* targetFormat);
};

// Wraps a surface SDL owns (the window's) as a drawing target.
std::unique_ptr<Surface> WrapSurface(SDL_Surface* surface);

}  // namespace skyrift::platform
