#include "platform/Surface.h"

#include <cstring>
#include <vector>

#include "platform/Clip.h"
#include "platform/sdl/SurfaceImpl.h"

namespace skyrift::platform {
namespace {

SDL_Color ToSdl(COLORREF colour) {
  return SDL_Color{GetRValue(colour), GetGValue(colour), GetBValue(colour), 255};
}

Uint32 MapColour(const SDL_Surface* surface, COLORREF colour) {
  return SDL_MapRGB(surface->format, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

// The palette index that holds exactly `colour`, or -1.
int ExactIndex(const SDL_Surface* surface, COLORREF colour) {
  const SDL_Palette* palette = surface->format->palette;
  if (palette == nullptr) return -1;
  const SDL_Color wanted = ToSdl(colour);
  for (int i = 0; i < palette->ncolors; ++i) {
    const SDL_Color& c = palette->colors[i];
    if (c.r == wanted.r && c.g == wanted.g && c.b == wanted.b) return i;
  }
  return -1;
}

// A copy clipped to the source's size and the target's clip rectangle.
bool ClipCopy(const SDL_Surface* source, const SDL_Surface* target, int64_t& sx, int64_t& sy,
              int64_t& w, int64_t& h, int64_t& dx, int64_t& dy) {
  const SDL_Rect& clip = target->clip_rect;
  return platform::ClipCopy(source->w, source->h, ClipArea{clip.x, clip.y, clip.w, clip.h}, sx, sy,
                            w, h, dx, dy);
}

// An opaque copy between two 32-bit surfaces of one format, row by row: nearly twice as fast
// as SDL's own copy for the whole frame. False when the pair needs SDL's blitter (another
// format, a colour key, blending, run-length data).
bool CopyRows(SDL_Surface* from, SDL_Surface* target, int x, int y, int width, int height, int toX,
              int toY) {
  SDL_BlendMode blend = SDL_BLENDMODE_NONE;
  SDL_GetSurfaceBlendMode(from, &blend);
  if (from->format->format != target->format->format || from->format->BytesPerPixel != 4 ||
      blend != SDL_BLENDMODE_NONE || SDL_HasColorKey(from) || SDL_MUSTLOCK(from) ||
      SDL_MUSTLOCK(target)) {
    return false;
  }
  int64_t sx = x, sy = y, w = width, h = height, dx = toX, dy = toY;
  if (!ClipCopy(from, target, sx, sy, w, h, dx, dy)) return true;
  const auto* source = static_cast<const uint8_t*>(from->pixels) + sy * from->pitch + sx * 4;
  auto* destination = static_cast<uint8_t*>(target->pixels) + dy * target->pitch + dx * 4;
  // A surface copying within itself downward must take its rows bottom first.
  const bool upward = from == target && dy > sy;
  for (int64_t i = 0; i < h; ++i) {
    const int64_t row = upward ? h - 1 - i : i;
    std::memmove(destination + row * target->pitch, source + row * from->pitch,
                 static_cast<size_t>(w) * 4);
  }
  return true;
}

// A keyed copy of an indexed image onto a 32-bit target, tile by tile. Only the tiles the
// clipped region touches are converted or drawn.
void BlitKeyedTiles(Surface::Impl& source, SDL_Surface* target, int x, int y, int width, int height,
                    int toX, int toY, COLORREF key) {
  int64_t sx = x, sy = y, w = width, h = height, dx = toX, dy = toY;
  if (!ClipCopy(source.sdl, target, sx, sy, w, h, dx, dy)) return;
  source.UseKeyedTiles(key, target->format->format);
  constexpr int64_t kTileWidth = Surface::Impl::kTileWidth;
  constexpr int64_t kTileHeight = Surface::Impl::kTileHeight;
  for (int64_t row = sy / kTileHeight; row * kTileHeight < sy + h; ++row) {
    const int64_t top = SDL_max(sy, row * kTileHeight);
    const int64_t bottom = SDL_min(sy + h, (row + 1) * kTileHeight);
    for (int64_t column = sx / kTileWidth; column * kTileWidth < sx + w; ++column) {
      const int64_t left = SDL_max(sx, column * kTileWidth);
      const int64_t right = SDL_min(sx + w, (column + 1) * kTileWidth);
      SDL_Surface* tile = source.KeyedTile(static_cast<int>(column), static_cast<int>(row));
      if (tile == nullptr) continue;
      SDL_Rect from{static_cast<int>(left - column * kTileWidth),
                    static_cast<int>(top - row * kTileHeight), static_cast<int>(right - left),
                    static_cast<int>(bottom - top)};
      SDL_Rect to{static_cast<int>(dx + left - sx), static_cast<int>(dy + top - sy), from.w,
                  from.h};
      SDL_BlitSurface(tile, &from, target, &to);
    }
  }
}

}  // namespace

Surface::Impl::~Impl() {
  DropKeyedTiles();
  if (owned && sdl != nullptr) SDL_FreeSurface(sdl);
}

void Surface::Impl::DropKeyedTiles() {
  for (SDL_Surface* tile : keyed.tiles) SDL_FreeSurface(tile);
  keyed.tiles.clear();
}

void Surface::Impl::UseKeyedTiles(COLORREF key, Uint32 format) {
  if (!keyed.tiles.empty() && keyed.key == key && keyed.format == format) return;
  DropKeyedTiles();
  keyed.key = key;
  keyed.format = format;
  keyed.columns = (sdl->w + kTileWidth - 1) / kTileWidth;
  const int rows = (sdl->h + kTileHeight - 1) / kTileHeight;
  keyed.tiles.assign(static_cast<size_t>(keyed.columns) * rows, nullptr);
}

SDL_Surface* Surface::Impl::KeyedTile(int column, int row) {
  SDL_Surface*& tile = keyed.tiles[static_cast<size_t>(row) * keyed.columns + column];
  if (tile != nullptr) return tile;
  const int x = column * kTileWidth;
  const int y = row * kTileHeight;
  // A view of the tile's pixels in place, sharing the image's palette.
  SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(
      static_cast<uint8_t*>(sdl->pixels) + static_cast<size_t>(y) * sdl->pitch + x,
      SDL_min(kTileWidth, sdl->w - x), SDL_min(kTileHeight, sdl->h - y), 8, sdl->pitch,
      SDL_PIXELFORMAT_INDEX8);
  if (view == nullptr) return nullptr;
  SDL_SetSurfacePalette(view, sdl->format->palette);
  tile = SDL_ConvertSurfaceFormat(view, keyed.format, 0);
  SDL_FreeSurface(view);
  if (tile != nullptr) {
    SDL_SetColorKey(tile, SDL_TRUE, MapColour(tile, keyed.key));
    SDL_SetSurfaceRLE(tile, 1);
  }
  return tile;
}

Surface::Surface(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Surface::~Surface() = default;

std::unique_ptr<Surface> Surface::CreateIndexed(int width, int height, const COLORREF* palette,
                                                int colours) {
  if (!SizeAcceptable(width, height) || colours < 0 || colours > 256) return nullptr;
  SDL_Surface* sdl = SDL_CreateRGBSurfaceWithFormat(0, width, height, 8, SDL_PIXELFORMAT_INDEX8);
  if (sdl == nullptr) return nullptr;
  std::vector<SDL_Color> colourTable(256, SDL_Color{0, 0, 0, 255});
  for (int i = 0; i < colours; ++i) colourTable[i] = ToSdl(palette[i]);
  SDL_SetPaletteColors(sdl->format->palette, colourTable.data(), 0, 256);
  SDL_memset(sdl->pixels, 0, static_cast<size_t>(sdl->pitch) * height);
  auto impl = std::make_unique<Impl>();
  impl->sdl = sdl;
  return std::make_unique<Surface>(std::move(impl));
}

std::unique_ptr<Surface> Surface::CreateTarget(int width, int height, COLORREF colour) {
  if (!SizeAcceptable(width, height)) return nullptr;
  SDL_Surface* sdl = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_XRGB8888);
  if (sdl == nullptr) return nullptr;
  SDL_FillRect(sdl, nullptr, MapColour(sdl, colour));
  auto impl = std::make_unique<Impl>();
  impl->sdl = sdl;
  return std::make_unique<Surface>(std::move(impl));
}

std::unique_ptr<Surface> WrapSurface(SDL_Surface* surface) {
  auto impl = std::make_unique<Surface::Impl>();
  impl->sdl = surface;
  impl->owned = false;
  return std::make_unique<Surface>(std::move(impl));
}

int Surface::Width() const {
  return impl_->sdl->w;
}
int Surface::Height() const {
  return impl_->sdl->h;
}

uint8_t* Surface::IndexRow(int y) {
  impl_->DropKeyedTiles();  // the pixels may change: a keyed copy would go stale
  return static_cast<uint8_t*>(impl_->sdl->pixels) + static_cast<size_t>(y) * impl_->sdl->pitch;
}

void Surface::Blit(const Surface& source, int sx, int sy, int w, int h, int dx, int dy, bool keyed,
                   COLORREF key) {
  if (w <= 0 || h <= 0) return;
  SDL_Surface* target = impl_->sdl;
  SDL_Surface* from = source.impl_->sdl;
  SDL_Rect sourceRect{sx, sy, w, h};
  SDL_Rect targetRect{dx, dy, w, h};
  if (!keyed) {
    if (!CopyRows(from, target, sx, sy, w, h, dx, dy)) {
      SDL_BlitSurface(from, &sourceRect, target, &targetRect);
    }
    return;
  }
  if (from->format->BytesPerPixel == 1 && target->format->BytesPerPixel == 4) {
    BlitKeyedTiles(*source.impl_, target, sx, sy, w, h, dx, dy, key);
    return;
  }
  // Other pairings are rare (tests, odd targets): key the source for this one copy.
  const int index = from->format->BytesPerPixel == 1 ? ExactIndex(from, key) : 0;
  if (from->format->BytesPerPixel == 1 && index < 0) {
    SDL_BlitSurface(from, &sourceRect, target, &targetRect);
    return;
  }
  const Uint32 keyValue =
      from->format->BytesPerPixel == 1 ? static_cast<Uint32>(index) : MapColour(from, key);
  SDL_SetColorKey(from, SDL_TRUE, keyValue);
  SDL_BlitSurface(from, &sourceRect, target, &targetRect);
  SDL_SetColorKey(from, SDL_FALSE, 0);
}

void Surface::Fill(const RECT& area, COLORREF colour) {
  if (area.right <= area.left || area.bottom <= area.top) return;
  SDL_Rect rect{area.left, area.top, area.right - area.left, area.bottom - area.top};
  SDL_FillRect(impl_->sdl, &rect, MapColour(impl_->sdl, colour));
}

void Surface::SetPixel(int x, int y, COLORREF colour) {
  SDL_Rect rect{x, y, 1, 1};
  SDL_FillRect(impl_->sdl, &rect, MapColour(impl_->sdl, colour));
}

COLORREF Surface::GetPixel(int x, int y) const {
  const SDL_Surface* sdl = impl_->sdl;
  if (x < 0 || y < 0 || x >= sdl->w || y >= sdl->h) return 0xFFFFFFFF;
  const uint8_t* row =
      static_cast<const uint8_t*>(sdl->pixels) + static_cast<size_t>(y) * sdl->pitch;
  Uint32 value = 0;
  switch (sdl->format->BytesPerPixel) {
    case 1:
      value = row[x];
      break;
    case 2:
      value = reinterpret_cast<const Uint16*>(row)[x];
      break;
    case 4:
      value = reinterpret_cast<const Uint32*>(row)[x];
      break;
    default: {
      const uint8_t* p = row + x * 3;
      value = p[0] | (p[1] << 8) | (p[2] << 16);
    }
  }
  Uint8 r = 0, g = 0, b = 0;
  SDL_GetRGB(value, sdl->format, &r, &g, &b);
  return RGB(r, g, b);
}

}  // namespace skyrift::platform
