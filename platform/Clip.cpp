#include "platform/Clip.h"

#include <algorithm>

namespace skyrift::platform {

bool SizeAcceptable(int width, int height) {
  return width > 0 && height > 0 && int64_t{width} * height <= kMaxPixels;
}

bool ClipCopy(int64_t sourceWidth, int64_t sourceHeight, const ClipArea& clip, int64_t& sx,
              int64_t& sy, int64_t& w, int64_t& h, int64_t& dx, int64_t& dy) {
  if (sx < 0) {
    w += sx;
    dx -= sx;
    sx = 0;
  }
  if (sy < 0) {
    h += sy;
    dy -= sy;
    sy = 0;
  }
  w = std::min(w, sourceWidth - sx);
  h = std::min(h, sourceHeight - sy);
  if (dx < clip.x) {
    w -= clip.x - dx;
    sx += clip.x - dx;
    dx = clip.x;
  }
  if (dy < clip.y) {
    h -= clip.y - dy;
    sy += clip.y - dy;
    dy = clip.y;
  }
  w = std::min(w, clip.x + clip.width - dx);
  h = std::min(h, clip.y + clip.height - dy);
  return w > 0 && h > 0;
}

}  // namespace skyrift::platform
