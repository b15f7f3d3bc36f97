// Pixels in plain memory, and lettering without a font: each character a solid block of about
// a digit's size, placed as real lettering is placed, so that what shows where, in which colour
// and how long stays visible.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/Surface.h"

namespace skyrift::platform {
namespace {

constexpr int kCellWidth = 8;     // pixels a character takes along the line, its gap included
constexpr int kBlockHeight = 11;  // about a digit's height in the game's face

}  // namespace

// A real system: pixel memory the system can show (a window surface, a bitmap section, a canvas's
// buffer), freed by its Pixels.
std::unique_ptr<Surface::Pixels> AllocatePixels(int width, int height, int bytesPerPixel) {
  return AllocateHeapPixels(width, height, bytesPerPixel);
}

// A real system: the line in the embedded text face (kTextFaceResource), right-aligned and
// vertically centred in `area`, on a clear ground.
void Surface::WriteText(const RECT& area, const char* text, COLORREF colour) {
  if (text == nullptr) return;
  const int64_t length = static_cast<int64_t>(std::strlen(text));
  const int64_t left = area.right - length * kCellWidth;
  const int top = area.top + (area.bottom - area.top - kBlockHeight) / 2;
  for (int64_t i = 0; i < length; ++i) {
    if (text[i] == ' ') continue;
    const int64_t x = left + i * kCellWidth;
    if (x + kCellWidth <= area.left) continue;
    const RECT block{static_cast<int32_t>(std::max<int64_t>(x + 1, area.left)),
                     std::max(top, area.top),
                     static_cast<int32_t>(std::min<int64_t>(x + kCellWidth, area.right)),
                     std::min(top + kBlockHeight, area.bottom)};
    Fill(block, colour);
  }
}

}  // namespace skyrift::platform
