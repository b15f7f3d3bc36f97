#include "platform/sdl/Pixels.h"

namespace skyrift::platform {

SdlPixels::~SdlPixels() {
  if (owned && sdl != nullptr) SDL_FreeSurface(sdl);
}

std::unique_ptr<Surface::Pixels> AllocatePixels(int width, int height, int bytesPerPixel) {
  SDL_Surface* sdl = SDL_CreateRGBSurfaceWithFormat(
      0, width, height, bytesPerPixel * 8,
      bytesPerPixel == 1 ? SDL_PIXELFORMAT_INDEX8 : SDL_PIXELFORMAT_XRGB8888);
  if (sdl == nullptr) return nullptr;  // SDL hands its surfaces' pixels over zeroed
  auto pixels = std::make_unique<SdlPixels>();
  pixels->sdl = sdl;
  pixels->bits = static_cast<uint8_t*>(sdl->pixels);
  pixels->stride = static_cast<size_t>(sdl->pitch);
  return pixels;
}

bool DrawableAsTarget(const SDL_Surface* surface) {
  return surface->format->format == SDL_PIXELFORMAT_XRGB8888 && !SDL_MUSTLOCK(surface);
}

std::unique_ptr<Surface> WrapSdlSurface(SDL_Surface* surface) {
  auto pixels = std::make_unique<SdlPixels>();
  pixels->sdl = surface;
  pixels->owned = false;
  pixels->bits = static_cast<uint8_t*>(surface->pixels);
  pixels->stride = static_cast<size_t>(surface->pitch);
  return Surface::WrapTarget(std::move(pixels), surface->w, surface->h);
}

}  // namespace skyrift::platform
