// A surface's pixels as SDL holds them, so that lettering, the window and scaling can hand them
// to SDL's own calls. Shared only by the SDL files that draw.
#pragma once

#include <SDL.h>

#include <memory>

#include "platform/Surface.h"

namespace skyrift::platform {

struct SdlPixels : Surface::Pixels {
  SDL_Surface* sdl = nullptr;
  bool owned = true;
  ~SdlPixels() override;
};

// The SDL surface under a surface this layer made or wrapped.
inline SDL_Surface* SdlSurface(Surface& surface) {
  return static_cast<SdlPixels&>(surface.pixels()).sdl;
}

// Whether the surface's pixels are laid out as the neutral surface's 32-bit ones.
bool DrawableAsTarget(const SDL_Surface* surface);

// A drawing target over a surface SDL owns (the window's); it must be DrawableAsTarget.
std::unique_ptr<Surface> WrapSdlSurface(SDL_Surface* surface);

}  // namespace skyrift::platform
