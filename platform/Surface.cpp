// Pictures over plain pixel memory. Copies onto a 32-bit target work row by row: an opaque
// indexed layer through its palette, a 32-bit source by moving rows, a keyed indexed image over
// 32-bit tiles with their opaque runs listed. Other pairings (tests, odd targets) go pixel by
// pixel.
#include "platform/Surface.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/Clip.h"

namespace skyrift::platform {
namespace {

// COLORREF (0x00BBGGRR) to a 32-bit pixel (0x00RRGGBB) and back.
uint32_t ToPixel(COLORREF colour) {
  return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}
COLORREF FromPixel(uint32_t pixel) {
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

struct HeapPixels : Surface::Pixels {
  ~HeapPixels() override { std::free(bits); }
};

// One row of palette indices to 32-bit pixels. `palette` is the caller's own copy, which no
// store into `out` can alias, so the compiler keeps it in place instead of reading it back after
// every pixel.
void CopyThroughPalette(const uint32_t* __restrict palette, const uint8_t* __restrict indices,
                        uint32_t* __restrict out, int64_t w) {
  int64_t x = 0;
  for (; x + 4 <= w; x += 4) {
    out[x] = palette[indices[x]];
    out[x + 1] = palette[indices[x + 1]];
    out[x + 2] = palette[indices[x + 2]];
    out[x + 3] = palette[indices[x + 3]];
  }
  for (; x < w; ++x) out[x] = palette[indices[x]];
}

}  // namespace

std::unique_ptr<Surface::Pixels> AllocateHeapPixels(int width, int height, int bytesPerPixel) {
  if (width <= 0 || height <= 0 || bytesPerPixel <= 0) return nullptr;
  const size_t stride = (static_cast<size_t>(width) * bytesPerPixel + 3) / 4 * 4;
  if (static_cast<size_t>(height) > std::numeric_limits<size_t>::max() / stride) return nullptr;
  auto pixels = std::make_unique<HeapPixels>();
  pixels->bits = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(height), stride));
  if (pixels->bits == nullptr) return nullptr;
  pixels->stride = stride;
  return pixels;
}

// Only the opaque pixels are kept, run after run: a mostly clear layer costs little memory, and
// drawing it reads no more than it writes. A tile with no pixel of the key keeps nothing: it is
// drawn through the palette from the image itself, as an opaque copy is, so a wholly opaque
// picture drawn keyed (a menu, the panel) costs no second copy at four times its size.
struct Surface::KeyedTile {
  bool opaque = false;
  struct Run {
    uint16_t start, length;  // where in the tile's row
    uint32_t pixel;          // where its pixels begin in `pixels`
  };
  std::vector<uint32_t> pixels;
  std::vector<uint32_t> rowRuns;  // where each row's runs begin in `runs`, plus the end
  std::vector<Run> runs;
};

Surface::Surface(std::unique_ptr<Pixels> pixels, int width, int height, int bytesPerPixel)
    : pixels_(std::move(pixels)),
      width_(width),
      height_(height),
      bytesPerPixel_(bytesPerPixel),
      clip_{0, 0, width, height} {
  static std::atomic<uint64_t> made{0};
  id_ = ++made;
}
Surface::~Surface() = default;

std::unique_ptr<Surface> Surface::CreateIndexed(int width, int height, const COLORREF* palette,
                                                int colours) {
  if (!SizeAcceptable(width, height) || colours < 0 || colours > 256) return nullptr;
  auto pixels = AllocatePixels(width, height, 1);
  if (pixels == nullptr) return nullptr;
  std::unique_ptr<Surface> image(new Surface(std::move(pixels), width, height, 1));
  for (int i = 0; i < colours; ++i) image->palette_[i] = ToPixel(palette[i]);
  return image;
}

std::unique_ptr<Surface> Surface::ViewIndexed(int width, int height, const COLORREF* palette,
                                              int colours, const uint8_t* topRow,
                                              ptrdiff_t stride) {
  if (!SizeAcceptable(width, height) || colours < 0 || colours > 256 || topRow == nullptr ||
      (stride < 0 ? -stride : stride) < width)
    return nullptr;
  auto pixels = std::make_unique<Pixels>();
  pixels->bits = const_cast<uint8_t*>(topRow);  // never written: Writable() copies first
  pixels->stride = stride;
  std::unique_ptr<Surface> image(new Surface(std::move(pixels), width, height, 1));
  image->viewed_ = true;
  for (int i = 0; i < colours; ++i) image->palette_[i] = ToPixel(palette[i]);
  return image;
}

bool Surface::Writable() {
  if (!viewed_) return true;
  auto own = AllocatePixels(width_, height_, 1);
  if (own == nullptr) return false;
  for (int y = 0; y < height_; ++y)
    std::memcpy(own->bits + static_cast<ptrdiff_t>(y) * own->stride, Row(y),
                static_cast<size_t>(width_));
  pixels_ = std::move(own);
  viewed_ = false;
  return true;
}

std::unique_ptr<Surface> Surface::CreateTarget(int width, int height, COLORREF colour) {
  if (!SizeAcceptable(width, height)) return nullptr;
  auto pixels = AllocatePixels(width, height, 4);
  if (pixels == nullptr) return nullptr;
  std::unique_ptr<Surface> target(new Surface(std::move(pixels), width, height, 4));
  if (colour != 0) target->Fill(RECT{0, 0, width, height}, colour);
  return target;
}

std::unique_ptr<Surface> Surface::WrapTarget(std::unique_ptr<Pixels> pixels, int width,
                                             int height) {
  if (pixels == nullptr || pixels->bits == nullptr || !SizeAcceptable(width, height) ||
      pixels->stride < static_cast<ptrdiff_t>(width) * 4)
    return nullptr;
  return std::unique_ptr<Surface>(new Surface(std::move(pixels), width, height, 4));
}

uint8_t* Surface::IndexRow(int y) {
  DropKeyedTiles();  // the pixels may change: a keyed copy would go stale
  return Writable() ? Row(y) : nullptr;
}

uint32_t Surface::PixelAt(int64_t x, int64_t y) const {
  const uint8_t* row = Row(static_cast<int>(y));
  return bytesPerPixel_ == 1 ? palette_[row[x]] : reinterpret_cast<const uint32_t*>(row)[x];
}

void Surface::PutPixel(int64_t x, int64_t y, uint32_t pixel) {
  uint8_t* row = Row(static_cast<int>(y));
  if (bytesPerPixel_ == 1) {
    row[x] = NearestIndex(pixel);
  } else {
    reinterpret_cast<uint32_t*>(row)[x] = pixel;
  }
}

// The palette entry nearest to `pixel`, the first of equals, as an indexed image stores a
// colour it lacks.
uint8_t Surface::NearestIndex(uint32_t pixel) const {
  int best = 0;
  int64_t bestDistance = INT64_MAX;
  for (int i = 0; i < 256; ++i) {
    int64_t distance = 0;
    for (int shift : {16, 8, 0}) {
      const int64_t d = int64_t((palette_[i] >> shift) & 0xFF) - ((pixel >> shift) & 0xFF);
      distance += d * d;
    }
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return static_cast<uint8_t>(best);
}

// An opaque copy onto this 32-bit target: each index looked up in the palette, or rows of
// 32-bit pixels moved (bottom row first when a surface copies within itself downwards).
void Surface::CopyOpaque(const Surface& source, int64_t sx, int64_t sy, int64_t w, int64_t h,
                         int64_t dx, int64_t dy) {
  const bool upward = &source == this && dy > sy;
  uint32_t palette[256];
  if (source.bytesPerPixel_ == 1) std::memcpy(palette, source.palette_, sizeof palette);
  for (int64_t i = 0; i < h; ++i) {
    const int64_t row = upward ? h - 1 - i : i;
    auto* to = reinterpret_cast<uint32_t*>(Row(static_cast<int>(dy + row))) + dx;
    const uint8_t* from = source.Row(static_cast<int>(sy + row));
    if (source.bytesPerPixel_ == 1) {
      CopyThroughPalette(palette, from + sx, to, w);
    } else {
      std::memmove(to, reinterpret_cast<const uint32_t*>(from) + sx, static_cast<size_t>(w) * 4);
    }
  }
}

// A keyed copy of an indexed image onto this 32-bit target, tile by tile: only the tiles the
// clipped region touches are converted or drawn, and each row copies its opaque runs.
void Surface::CopyKeyedTiles(const Surface& source, int64_t sx, int64_t sy, int64_t w, int64_t h,
                             int64_t dx, int64_t dy, uint32_t key) {
  uint32_t palette[256];  // for the opaque tiles; copied once, when the first is met
  bool paletteCopied = false;
  for (int64_t row = sy / kTileHeight; row * kTileHeight < sy + h; ++row) {
    const int64_t top = std::max(sy, row * kTileHeight);
    const int64_t bottom = std::min(sy + h, (row + 1) * kTileHeight);
    for (int64_t column = sx / kTileWidth; column * kTileWidth < sx + w; ++column) {
      const int64_t tileLeft = column * kTileWidth;
      const int64_t left = std::max(sx, tileLeft) - tileLeft;
      const int64_t right = std::min(sx + w, tileLeft + kTileWidth) - tileLeft;
      const KeyedTile& tile = source.Tile(key, static_cast<int>(column), static_cast<int>(row));
      if (tile.opaque) {
        if (!paletteCopied) std::memcpy(palette, source.palette_, sizeof palette);
        paletteCopied = true;
        for (int64_t y = top; y < bottom; ++y) {
          auto* to = reinterpret_cast<uint32_t*>(Row(static_cast<int>(dy + y - sy))) +
                     (dx - sx + tileLeft + left);
          CopyThroughPalette(palette, source.Row(static_cast<int>(y)) + tileLeft + left, to,
                             right - left);
        }
        continue;
      }
      for (int64_t y = top; y < bottom; ++y) {
        const int64_t tileY = y - row * kTileHeight;
        auto* to =
            reinterpret_cast<uint32_t*>(Row(static_cast<int>(dy + y - sy))) + (dx - sx + tileLeft);
        const KeyedTile::Run* run = tile.runs.data() + tile.rowRuns[tileY];
        const KeyedTile::Run* const end = tile.runs.data() + tile.rowRuns[tileY + 1];
        const uint32_t* const pixels = tile.pixels.data();
        if (left == 0 && right == kTileWidth) {
          // The whole width of the tile: most of a layer's tiles, copied without clipping.
          for (; run != end; ++run)
            std::memcpy(to + run->start, pixels + run->pixel, size_t{run->length} * 4);
          continue;
        }
        for (; run != end; ++run) {
          const int64_t first = std::max<int64_t>(run->start, left);
          const int64_t last = std::min<int64_t>(run->start + run->length, right);
          if (last > first) {
            std::memcpy(to + first, pixels + run->pixel + (first - run->start),
                        static_cast<size_t>(last - first) * 4);
          }
        }
      }
    }
  }
}

// Any other pairing, keyed by each pixel's colour (bottom row first when a surface copies within
// itself downwards).
void Surface::CopyKeyedPixels(const Surface& source, int64_t sx, int64_t sy, int64_t w, int64_t h,
                              int64_t dx, int64_t dy, uint32_t key) {
  const bool upward = &source == this && dy > sy;
  for (int64_t i = 0; i < h; ++i) {
    const int64_t row = upward ? h - 1 - i : i;
    for (int64_t column = 0; column < w; ++column) {
      const uint32_t pixel = source.PixelAt(sx + column, sy + row);
      if (pixel != key) PutPixel(dx + column, dy + row, pixel);
    }
  }
}

void Surface::DropKeyedTiles() {
  tiles_.clear();
}

const Surface::KeyedTile& Surface::Tile(uint32_t key, int column, int row) const {
  if (tiles_.empty() || tileKey_ != key) {
    tileKey_ = key;
    tileColumns_ = (width_ + kTileWidth - 1) / kTileWidth;
    const int rows = (height_ + kTileHeight - 1) / kTileHeight;
    tiles_.clear();
    tiles_.resize(static_cast<size_t>(tileColumns_) * rows);
  }
  auto& tile = tiles_[static_cast<size_t>(row) * tileColumns_ + column];
  if (tile != nullptr) return *tile;
  tile = std::make_unique<KeyedTile>();
  const int left = column * kTileWidth, top = row * kTileHeight;
  const int columns = std::min(kTileWidth, width_ - left),
            rows = std::min(kTileHeight, height_ - top);
  tile->opaque = true;
  for (int y = 0; y < rows && tile->opaque; ++y) {
    const uint8_t* indices = Row(top + y) + left;
    for (int x = 0; x < columns; ++x) {
      if (palette_[indices[x]] == key) {
        tile->opaque = false;
        break;
      }
    }
  }
  if (tile->opaque) return *tile;
  tile->rowRuns.reserve(rows + 1);
  for (int y = 0; y < rows; ++y) {
    tile->rowRuns.push_back(static_cast<uint32_t>(tile->runs.size()));
    const uint8_t* indices = Row(top + y) + left;
    for (int x = 0; x < columns;) {
      while (x < columns && palette_[indices[x]] == key) ++x;
      const int start = x;
      const auto pixel = static_cast<uint32_t>(tile->pixels.size());
      for (; x < columns && palette_[indices[x]] != key; ++x)
        tile->pixels.push_back(palette_[indices[x]]);
      if (x > start) {
        tile->runs.push_back(
            KeyedTile::Run{static_cast<uint16_t>(start), static_cast<uint16_t>(x - start), pixel});
      }
    }
  }
  tile->rowRuns.push_back(static_cast<uint32_t>(tile->runs.size()));
  tile->pixels.shrink_to_fit();
  tile->runs.shrink_to_fit();
  return *tile;
}

void Surface::Blit(const Surface& source, int x, int y, int width, int height, int toX, int toY,
                   bool keyed, COLORREF key) {
  int64_t sx = x, sy = y, w = width, h = height, dx = toX, dy = toY;
  const ClipArea clip{clip_.left, clip_.top, clip_.right - clip_.left, clip_.bottom - clip_.top};
  if (!ClipCopy(source.width_, source.height_, clip, sx, sy, w, h, dx, dy)) return;
  if (bytesPerPixel_ == 1) {
    DropKeyedTiles();
    if (!Writable()) return;
  }
  if (bytesPerPixel_ == 4 && !keyed) {
    CopyOpaque(source, sx, sy, w, h, dx, dy);
  } else if (bytesPerPixel_ == 4 && source.bytesPerPixel_ == 1) {
    CopyKeyedTiles(source, sx, sy, w, h, dx, dy, ToPixel(key));
  } else {
    // A key no pixel can have, for an opaque copy.
    CopyKeyedPixels(source, sx, sy, w, h, dx, dy, keyed ? ToPixel(key) : 0xFFFFFFFF);
  }
}

void Surface::Fill(const RECT& area, COLORREF colour) {
  const int left = std::max(area.left, clip_.left), top = std::max(area.top, clip_.top);
  const int right = std::min(area.right, clip_.right);
  const int bottom = std::min(area.bottom, clip_.bottom);
  if (right <= left || bottom <= top) return;
  if (bytesPerPixel_ == 1) {
    DropKeyedTiles();
    if (!Writable()) return;
    const uint8_t index = NearestIndex(ToPixel(colour));
    for (int y = top; y < bottom; ++y)
      std::memset(Row(y) + left, index, static_cast<size_t>(right - left));
  } else {
    for (int y = top; y < bottom; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(Row(y));
      std::fill(row + left, row + right, ToPixel(colour));
    }
  }
}

void Surface::SetPixel(int x, int y, COLORREF colour) {
  if (x < clip_.left || y < clip_.top || x >= clip_.right || y >= clip_.bottom) return;
  if (bytesPerPixel_ == 1) {
    DropKeyedTiles();
    if (!Writable()) return;
  }
  PutPixel(x, y, ToPixel(colour));
}

void Surface::SetClip(const RECT& area) {
  clip_ = RECT{std::clamp(area.left, 0, width_), std::clamp(area.top, 0, height_),
               std::clamp(area.right, 0, width_), std::clamp(area.bottom, 0, height_)};
}

COLORREF Surface::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFF;
  return FromPixel(PixelAt(x, y));
}

}  // namespace skyrift::platform
