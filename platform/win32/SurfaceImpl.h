// What a Surface holds on the Windows side: a DIB section (8-bit with its colour table, or
// 32-bit) selected into a memory device context. Shared only by the platform files that draw.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Surface.h"
#include "platform/win32/Win32.h"

namespace skyrift::platform {

struct Surface::Impl {
  ::HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previousBitmap = nullptr;
  uint8_t* bits = nullptr;  // top row first
  int width = 0, height = 0;
  int bytesPerPixel = 4;    // 1 or 4
  size_t stride = 0;        // bytes per row, a multiple of 4 as DIB rows are
  uint32_t palette[256]{};  // an indexed image's colours as 0x00RRGGBB, the 32-bit layout

  // An indexed image drawn keyed onto 32-bit targets is converted once to 32 bits, tile by
  // tile as its regions are first drawn, with each row's opaque stretches listed: drawing a
  // keyed image is then a few row copies, as fast as a run-length colour key.
  static constexpr int kTileWidth = 256;
  static constexpr int kTileHeight = 64;
  struct Run {
    uint16_t start, length;
  };
  struct KeyedTile {
    std::vector<uint32_t> pixels;   // kTileWidth per row
    std::vector<uint32_t> rowRuns;  // where each row's runs begin in `runs`, plus the end
    std::vector<Run> runs;
  };
  struct KeyedTiles {
    COLORREF key = 0;
    int columns = 0;
    std::vector<std::unique_ptr<KeyedTile>> tiles;  // row by row; null until first drawn
  } keyed;

  ~Impl();
  uint8_t* Row(int y) { return bits + static_cast<size_t>(y) * stride; }
  const uint8_t* Row(int y) const { return bits + static_cast<size_t>(y) * stride; }
  // Keeps the tiles made for this key, or starts afresh.
  void UseKeyedTiles(COLORREF key);
  // Tile (column, row) of the keyed copy, converted on first use.
  const KeyedTile& Tile(int column, int row);
  void DropKeyedTiles();
};

}  // namespace skyrift::platform
