// What a Surface holds on SDL's side. Shared only by the platform files that draw.
#pragma once

#include <SDL.h>

#include <vector>

#include "platform/Surface.h"

namespace skyrift::platform {

struct Surface::Impl {
  SDL_Surface* sdl = nullptr;
  bool owned = true;

  // An indexed image drawn keyed onto 32-bit targets is converted to the target's format with a
  // run-length colour key; that copy draws far faster than keying 8-bit pixels every frame.
  // The copy is cut into tiles, each converted when first drawn: SDL walks a run-length image
  // from its top-left corner to reach a region, which costs milliseconds deep inside a
  // 7500-row layer, and converting only what is drawn spares start-up time and memory.
  static constexpr int kTileWidth = 256;
  static constexpr int kTileHeight = 64;
  struct KeyedTiles {
    COLORREF key = 0;
    Uint32 format = SDL_PIXELFORMAT_UNKNOWN;
    int columns = 0;
    std::vector<SDL_Surface*> tiles;  // row by row; null until first drawn
  } keyed;

  ~Impl();
  // Keeps the tiles made for this key and target format, or starts afresh.
  void UseKeyedTiles(COLORREF key, Uint32 format);
  // Tile (column, row) of the keyed copy, converted on first use; null if that fails.
  SDL_Surface* KeyedTile(int column, int row);
  void DropKeyedTiles();
};

// Wraps a surface SDL owns (the window's) as a drawing target.
std::unique_ptr<Surface> WrapSurface(SDL_Surface* surface);

}  // namespace skyrift::platform
