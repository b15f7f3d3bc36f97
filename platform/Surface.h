// A picture in memory: an 8-bit paletted image, or a 32-bit drawing target (what the game
// calls a device context). All copying, keying, filling and pixel work is done here, on the
// pixels themselves, the same on every system; each layer only allocates the memory (where its
// window system can show it) and letters text into it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Types.h"

namespace skyrift::platform {

class Surface {
 public:
  // Where a surface's pixels live: `bits` is the top row, and each next row lies `stride` bytes
  // on (back, for a picture stored bottom row first); a 32-bit pixel is 0x00RRGGBB in the
  // machine's (little-endian) order. A layer derives from this to keep its own handles on the
  // memory beside it.
  struct Pixels {
    virtual ~Pixels() = default;
    uint8_t* bits = nullptr;
    ptrdiff_t stride = 0;
  };

  // An 8-bit image whose palette holds `colours` entries (at most 256); pixels start at 0.
  // Null when the size is not positive, too large, or memory runs out.
  static std::unique_ptr<Surface> CreateIndexed(int width, int height, const COLORREF* palette,
                                                int colours);
  // An 8-bit image over pixels that stay where they are, read-only, such as a picture inside the
  // program: `topRow` is its top row, the next lies `stride` bytes on (negative for a picture
  // stored bottom row first). They must outlive the image. The first change to the image
  // copies them into memory of its own, so a picture only drawn from costs no copy.
  static std::unique_ptr<Surface> ViewIndexed(int width, int height, const COLORREF* palette,
                                              int colours, const uint8_t* topRow, ptrdiff_t stride);
  // A 32-bit drawing target filled with one colour. Null on failure.
  static std::unique_ptr<Surface> CreateTarget(int width, int height, COLORREF colour);
  // A 32-bit drawing target over memory a layer holds already (a window's own pixels).
  static std::unique_ptr<Surface> WrapTarget(std::unique_ptr<Pixels> pixels, int width, int height);

  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Indexed() const { return bytesPerPixel_ == 1; }
  // No two surfaces made in one run share it, though one may be made where another was freed:
  // it tells whether pixels drawn earlier can still be there.
  uint64_t Id() const { return id_; }

  // Row y of an indexed image, top row first: one palette index per pixel, to change. Null when
  // a viewed image cannot have memory of its own for the change.
  uint8_t* IndexRow(int y);

  // Copies the region (sx, sy, w, h) of `source` to (dx, dy) at the same size, clipped to both
  // surfaces. When `keyed`, pixels of the key colour are left out.
  void Blit(const Surface& source, int sx, int sy, int w, int h, int dx, int dy, bool keyed,
            COLORREF key);
  void Fill(const RECT& area, COLORREF colour);
  void SetPixel(int x, int y, COLORREF colour);
  COLORREF GetPixel(int x, int y) const;
  // Until ClearClip, Blit, Fill and SetPixel change only the pixels inside `area` (text keeps to
  // its own area alone).
  void SetClip(const RECT& area);
  void ClearClip() { clip_ = RECT{0, 0, width_, height_}; }
  const RECT& Clip() const { return clip_; }

  // One line of text, right-aligned and vertically centred in `area`, on a transparent ground,
  // clipped to `area`. Each layer letters with its own system's text drawing.
  void WriteText(const RECT& area, const char* text, COLORREF colour);

  // The memory of a drawing target, as the layer that allocated it knows it.
  Pixels& pixels() { return *pixels_; }
  const Pixels& pixels() const { return *pixels_; }

  // An indexed image drawn keyed onto 32-bit targets is converted once to 32 bits, tile by
  // tile as its regions are first drawn, with each row's opaque stretches listed: drawing a
  // keyed image is then a few row copies. Converting only what is drawn spares start-up time
  // and memory on 7500-row layers; a tile without a pixel of the key is not converted at all.
  static constexpr int kTileWidth = 256;
  static constexpr int kTileHeight = 64;
  struct KeyedTile;

 private:
  Surface(std::unique_ptr<Pixels> pixels, int width, int height, int bytesPerPixel);
  uint8_t* Row(int y) { return pixels_->bits + static_cast<ptrdiff_t>(y) * pixels_->stride; }
  const uint8_t* Row(int y) const {
    return pixels_->bits + static_cast<ptrdiff_t>(y) * pixels_->stride;
  }
  // Before any change: a viewed image takes memory of its own. False when none can be had.
  bool Writable();
  uint32_t PixelAt(int64_t x, int64_t y) const;
  void PutPixel(int64_t x, int64_t y, uint32_t pixel);
  uint8_t NearestIndex(uint32_t pixel) const;
  void CopyOpaque(const Surface& source, int64_t sx, int64_t sy, int64_t w, int64_t h, int64_t dx,
                  int64_t dy);
  void CopyKeyedTiles(const Surface& source, int64_t sx, int64_t sy, int64_t w, int64_t h,
                      int64_t dx, int64_t dy, uint32_t key);
  void CopyKeyedPixels(const Surface& source, int64_t sx, int64_t sy, int64_t w, int64_t h,
                       int64_t dx, int64_t dy, uint32_t key);
  // Tile (column, row) of the keyed copy for `key`, converted on first use. The tiles are a
  // cache: making them does not change what the surface shows.
  const KeyedTile& Tile(uint32_t key, int column, int row) const;
  void DropKeyedTiles();

  std::unique_ptr<Pixels> pixels_;
  int width_ = 0, height_ = 0;
  int bytesPerPixel_ = 4;  // 1 or 4
  RECT clip_{};            // inside the surface
  uint64_t id_ = 0;
  bool viewed_ = false;      // pixels_ points at read-only memory someone else owns
  uint32_t palette_[256]{};  // an indexed image's colours, as 32-bit pixels
  mutable uint32_t tileKey_ = 0;
  mutable int tileColumns_ = 0;
  mutable std::vector<std::unique_ptr<KeyedTile>> tiles_;  // row by row; null until first drawn
};

// Each layer's: zeroed memory for a `width` x `height` surface of `bytesPerPixel` (1 or 4),
// with rows a multiple of 4 bytes apart. Null when it cannot be had.
std::unique_ptr<Surface::Pixels> AllocatePixels(int width, int height, int bytesPerPixel);
// The same from the heap, for the layers whose system shows plain memory (none at all, a page's
// canvas).
std::unique_ptr<Surface::Pixels> AllocateHeapPixels(int width, int height, int bytesPerPixel);

}  // namespace skyrift::platform

namespace skyrift {
// A drawing target, as the game passes it around.
using HDC = platform::Surface*;
}  // namespace skyrift
