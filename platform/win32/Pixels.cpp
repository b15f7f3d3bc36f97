#include "platform/win32/Pixels.h"

namespace skyrift::platform {

DibPixels::~DibPixels() {
  if (dc != nullptr) {
    if (previousFont != nullptr) SelectObject(dc, previousFont);
    SelectObject(dc, previousBitmap);
    DeleteDC(dc);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
}

std::unique_ptr<Surface::Pixels> AllocatePixels(int width, int height, int bytesPerPixel) {
  // An 8-bit image's colours are the surface's to keep; GDI never draws one, so its colour
  // table stays black.
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -height;  // top row first
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bytesPerPixel * 8);
  info.header.biCompression = BI_RGB;
  if (bytesPerPixel == 1) info.header.biClrUsed = 256;
  auto pixels = std::make_unique<DibPixels>();
  void* bits = nullptr;  // a new DIB section's bits are zero
  pixels->bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  if (pixels->bitmap == nullptr) return nullptr;
  pixels->dc = CreateCompatibleDC(nullptr);
  if (pixels->dc == nullptr) return nullptr;
  pixels->previousBitmap = SelectObject(pixels->dc, pixels->bitmap);
  pixels->bits = static_cast<uint8_t*>(bits);
  pixels->stride = (static_cast<size_t>(width) * bytesPerPixel + 3) & ~size_t{3};  // DIB rows
  return pixels;
}

}  // namespace skyrift::platform
