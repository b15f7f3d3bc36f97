// Pictures as DIB sections. Copies onto the 32-bit frame work on the bits themselves: an opaque
// layer through its palette (under Wine, BitBlt took nearly twice as long), a keyed image over
// 32-bit tiles with their opaque runs listed. Other pairings go through BitBlt. Fills and pixels
// are written straight into the bits.
#include "platform/Surface.h"

#include <algorithm>
#include <cstring>

#include "platform/Clip.h"
#include "platform/win32/SurfaceImpl.h"

namespace skyrift::platform {
namespace {

// COLORREF (0x00BBGGRR) to the DIB's 32-bit pixel (0x00RRGGBB) and back.
uint32_t ToPixel(COLORREF colour) {
  return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}
COLORREF FromPixel(uint32_t pixel) {
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// The palette entry nearest to `colour`, as an indexed image stores a colour it lacks.
uint8_t NearestIndex(const Surface::Impl& image, COLORREF colour) {
  const uint32_t wanted = ToPixel(colour);
  int best = 0;
  int64_t bestDistance = INT64_MAX;
  for (int i = 0; i < 256; ++i) {
    int64_t distance = 0;
    for (int shift : {16, 8, 0}) {
      const int64_t d = int64_t((image.palette[i] >> shift) & 0xFF) - ((wanted >> shift) & 0xFF);
      distance += d * d;
    }
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return static_cast<uint8_t>(best);
}

// A copy clipped to the source and to the whole target.
bool ClipCopy(const Surface::Impl& source, const Surface::Impl& target, int64_t& sx, int64_t& sy,
              int64_t& w, int64_t& h, int64_t& dx, int64_t& dy) {
  return platform::ClipCopy(source.width, source.height,
                            ClipArea{0, 0, target.width, target.height}, sx, sy, w, h, dx, dy);
}

HBITMAP MakeDib(int width, int height, int bitsPerPixel, const uint32_t* palette, void** bits) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -height;  // top row first
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
  info.header.biCompression = BI_RGB;
  if (bitsPerPixel == 8) {
    info.header.biClrUsed = 256;
    std::memcpy(info.colours, palette, sizeof info.colours);  // RGBQUAD is 0x00RRGGBB too
  }
  return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, bits,
                          nullptr, 0);
}

std::unique_ptr<Surface> MakeSurface(int width, int height, int bitsPerPixel,
                                     const uint32_t* palette) {
  auto impl = std::make_unique<Surface::Impl>();
  void* bits = nullptr;
  impl->bitmap = MakeDib(width, height, bitsPerPixel, palette, &bits);
  if (impl->bitmap == nullptr) return nullptr;
  impl->dc = CreateCompatibleDC(nullptr);
  if (impl->dc == nullptr) {
    DeleteObject(impl->bitmap);
    return nullptr;
  }
  impl->previousBitmap = SelectObject(impl->dc, impl->bitmap);
  impl->bits = static_cast<uint8_t*>(bits);
  impl->width = width;
  impl->height = height;
  impl->bytesPerPixel = bitsPerPixel / 8;
  impl->stride = (static_cast<size_t>(width) * impl->bytesPerPixel + 3) & ~size_t{3};
  if (palette != nullptr) std::memcpy(impl->palette, palette, sizeof impl->palette);
  return std::make_unique<Surface>(std::move(impl));
}

uint32_t PixelAt(const Surface::Impl& image, int64_t x, int64_t y) {
  const uint8_t* row = image.Row(static_cast<int>(y));
  return image.bytesPerPixel == 1 ? image.palette[row[x]]
                                  : reinterpret_cast<const uint32_t*>(row)[x];
}

void PutPixel(Surface::Impl& image, int64_t x, int64_t y, COLORREF colour) {
  uint8_t* row = image.Row(static_cast<int>(y));
  if (image.bytesPerPixel == 1) {
    row[x] = NearestIndex(image, colour);
  } else {
    reinterpret_cast<uint32_t*>(row)[x] = ToPixel(colour);
  }
}

// An opaque copy onto a 32-bit target: each index looked up in the palette, or rows of
// 32-bit pixels moved (bottom row first when a surface copies within itself downwards).
void CopyOpaque(const Surface::Impl& source, Surface::Impl& target, int64_t sx, int64_t sy,
                int64_t w, int64_t h, int64_t dx, int64_t dy) {
  const bool upward = &source == &target && dy > sy;
  // A copy of the palette that no store into the target can alias, so the compiler keeps it in
  // place instead of reading it back after every pixel.
  uint32_t palette[256];
  if (source.bytesPerPixel == 1) std::memcpy(palette, source.palette, sizeof palette);
  for (int64_t i = 0; i < h; ++i) {
    const int64_t row = upward ? h - 1 - i : i;
    auto* to = reinterpret_cast<uint32_t*>(target.Row(static_cast<int>(dy + row))) + dx;
    const uint8_t* from = source.Row(static_cast<int>(sy + row));
    if (source.bytesPerPixel == 1) {
      const uint8_t* __restrict indices = from + sx;
      uint32_t* __restrict out = to;
      int64_t x = 0;
      for (; x + 4 <= w; x += 4) {
        out[x] = palette[indices[x]];
        out[x + 1] = palette[indices[x + 1]];
        out[x + 2] = palette[indices[x + 2]];
        out[x + 3] = palette[indices[x + 3]];
      }
      for (; x < w; ++x) out[x] = palette[indices[x]];
    } else {
      std::memmove(to, reinterpret_cast<const uint32_t*>(from) + sx, static_cast<size_t>(w) * 4);
    }
  }
}

// A keyed copy of an indexed image onto a 32-bit target, tile by tile: only the tiles the
// clipped region touches are converted or drawn, and each row copies its opaque runs.
void BlitKeyedTiles(Surface::Impl& source, Surface::Impl& target, int64_t sx, int64_t sy, int64_t w,
                    int64_t h, int64_t dx, int64_t dy) {
  constexpr int64_t kTileWidth = Surface::Impl::kTileWidth;
  constexpr int64_t kTileHeight = Surface::Impl::kTileHeight;
  for (int64_t row = sy / kTileHeight; row * kTileHeight < sy + h; ++row) {
    const int64_t top = std::max(sy, row * kTileHeight);
    const int64_t bottom = std::min(sy + h, (row + 1) * kTileHeight);
    for (int64_t column = sx / kTileWidth; column * kTileWidth < sx + w; ++column) {
      const int64_t tileLeft = column * kTileWidth;
      const int64_t left = std::max(sx, tileLeft) - tileLeft;
      const int64_t right = std::min(sx + w, tileLeft + kTileWidth) - tileLeft;
      const auto& tile = source.Tile(static_cast<int>(column), static_cast<int>(row));
      for (int64_t y = top; y < bottom; ++y) {
        const int64_t tileY = y - row * kTileHeight;
        const uint32_t* from = tile.pixels.data() + tileY * kTileWidth;
        auto* to = reinterpret_cast<uint32_t*>(target.Row(static_cast<int>(dy + y - sy))) +
                   (dx - sx + tileLeft);
        for (uint32_t r = tile.rowRuns[tileY]; r < tile.rowRuns[tileY + 1]; ++r) {
          const int64_t start = std::max<int64_t>(tile.runs[r].start, left);
          const int64_t end = std::min<int64_t>(tile.runs[r].start + tile.runs[r].length, right);
          if (end > start)
            std::memcpy(to + start, from + start, static_cast<size_t>(end - start) * 4);
        }
      }
    }
  }
}

}  // namespace

Surface::Impl::~Impl() {
  if (dc != nullptr) {
    SelectObject(dc, previousBitmap);
    DeleteDC(dc);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
}

void Surface::Impl::DropKeyedTiles() {
  keyed.tiles.clear();
}

void Surface::Impl::UseKeyedTiles(COLORREF key) {
  if (!keyed.tiles.empty() && keyed.key == key) return;
  keyed.key = key;
  keyed.columns = (width + kTileWidth - 1) / kTileWidth;
  const int rows = (height + kTileHeight - 1) / kTileHeight;
  keyed.tiles.clear();
  keyed.tiles.resize(static_cast<size_t>(keyed.columns) * rows);
}

const Surface::Impl::KeyedTile& Surface::Impl::Tile(int column, int row) {
  auto& tile = keyed.tiles[static_cast<size_t>(row) * keyed.columns + column];
  if (tile != nullptr) return *tile;
  tile = std::make_unique<KeyedTile>();
  const int left = column * kTileWidth, top = row * kTileHeight;
  const int columns = std::min(kTileWidth, width - left),
            rows = std::min(kTileHeight, height - top);
  const uint32_t key = ToPixel(keyed.key);
  tile->pixels.assign(static_cast<size_t>(kTileWidth) * rows, 0);
  tile->rowRuns.reserve(rows + 1);
  for (int y = 0; y < rows; ++y) {
    tile->rowRuns.push_back(static_cast<uint32_t>(tile->runs.size()));
    const uint8_t* indices = Row(top + y) + left;
    uint32_t* out = tile->pixels.data() + static_cast<size_t>(y) * kTileWidth;
    for (int x = 0; x < columns;) {
      while (x < columns && palette[indices[x]] == key) ++x;
      const int start = x;
      for (; x < columns && palette[indices[x]] != key; ++x) out[x] = palette[indices[x]];
      if (x > start) {
        tile->runs.push_back(Run{static_cast<uint16_t>(start), static_cast<uint16_t>(x - start)});
      }
    }
  }
  tile->rowRuns.push_back(static_cast<uint32_t>(tile->runs.size()));
  return *tile;
}

Surface::Surface(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Surface::~Surface() = default;

std::unique_ptr<Surface> Surface::CreateIndexed(int width, int height, const COLORREF* palette,
                                                int colours) {
  if (!SizeAcceptable(width, height) || colours < 0 || colours > 256) return nullptr;
  uint32_t table[256]{};
  for (int i = 0; i < colours; ++i) table[i] = ToPixel(palette[i]);
  return MakeSurface(width, height, 8, table);  // a new DIB section's bits are zero
}

std::unique_ptr<Surface> Surface::CreateTarget(int width, int height, COLORREF colour) {
  if (!SizeAcceptable(width, height)) return nullptr;
  auto surface = MakeSurface(width, height, 32, nullptr);
  if (surface != nullptr) surface->Fill(RECT{0, 0, width, height}, colour);
  return surface;
}

int Surface::Width() const {
  return impl_->width;
}
int Surface::Height() const {
  return impl_->height;
}

uint8_t* Surface::IndexRow(int y) {
  impl_->DropKeyedTiles();  // the pixels may change: a keyed copy would go stale
  return impl_->Row(y);
}

void Surface::Blit(const Surface& source, int x, int y, int width, int height, int toX, int toY,
                   bool keyed, COLORREF key) {
  Impl& target = *impl_;
  Impl& from = *source.impl_;
  int64_t sx = x, sy = y, w = width, h = height, dx = toX, dy = toY;
  if (!ClipCopy(from, target, sx, sy, w, h, dx, dy)) return;
  if (target.bytesPerPixel == 1) target.DropKeyedTiles();
  if (!keyed && target.bytesPerPixel == 4) {
    CopyOpaque(from, target, sx, sy, w, h, dx, dy);
    return;
  }
  if (!keyed) {
    BitBlt(target.dc, static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(w),
           static_cast<int>(h), from.dc, static_cast<int>(sx), static_cast<int>(sy), SRCCOPY);
    GdiFlush();  // the bits are read and written directly next
    return;
  }
  if (from.bytesPerPixel == 1 && target.bytesPerPixel == 4) {
    from.UseKeyedTiles(key);
    BlitKeyedTiles(from, target, sx, sy, w, h, dx, dy);
    return;
  }
  // Other pairings are rare (tests, odd targets): key each pixel by its colour.
  const uint32_t keyPixel = ToPixel(key);
  const bool overlapDown = &from == &target && dy > sy;
  for (int64_t i = 0; i < h; ++i) {
    const int64_t row = overlapDown ? h - 1 - i : i;
    for (int64_t column = 0; column < w; ++column) {
      const uint32_t pixel = PixelAt(from, sx + column, sy + row);
      if (pixel != keyPixel) PutPixel(target, dx + column, dy + row, FromPixel(pixel));
    }
  }
}

void Surface::Fill(const RECT& area, COLORREF colour) {
  const int left = std::max(area.left, 0), top = std::max(area.top, 0);
  const int right = std::min(area.right, impl_->width),
            bottom = std::min(area.bottom, impl_->height);
  if (right <= left || bottom <= top) return;
  if (impl_->bytesPerPixel == 1) impl_->DropKeyedTiles();
  for (int y = top; y < bottom; ++y) {
    uint8_t* row = impl_->Row(y);
    if (impl_->bytesPerPixel == 1) {
      std::memset(row + left, NearestIndex(*impl_, colour), static_cast<size_t>(right - left));
    } else {
      std::fill(reinterpret_cast<uint32_t*>(row) + left, reinterpret_cast<uint32_t*>(row) + right,
                ToPixel(colour));
    }
  }
}

void Surface::SetPixel(int x, int y, COLORREF colour) {
  if (x < 0 || y < 0 || x >= impl_->width || y >= impl_->height) return;
  if (impl_->bytesPerPixel == 1) impl_->DropKeyedTiles();
  PutPixel(*impl_, x, y, colour);
}

COLORREF Surface::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= impl_->width || y >= impl_->height) return 0xFFFFFFFF;
  return FromPixel(PixelAt(*impl_, x, y));
}

}  // namespace skyrift::platform
