// The arithmetic every layer's surface shares: which image sizes it accepts, and how a copy is
// clipped to its source and its target.
#pragma once

#include <cstdint>

namespace skyrift::platform {

// The most pixels an image may have; a larger size is a damaged or hostile header.
constexpr int64_t kMaxPixels = 256LL * 1024 * 1024;

// A positive size of at most kMaxPixels.
bool SizeAcceptable(int width, int height);

// A rectangle of a surface: its left and top, width and height.
struct ClipArea {
  int64_t x, y, width, height;
};

// Clips a copy of (sx, sy, w, h) from a `sourceWidth` x `sourceHeight` source to (dx, dy): first
// to the source, moving the destination with it, then to the target's `clip`. False if nothing
// is left.
bool ClipCopy(int64_t sourceWidth, int64_t sourceHeight, const ClipArea& clip, int64_t& sx,
              int64_t& sy, int64_t& w, int64_t& h, int64_t& dx, int64_t& dy);

}  // namespace skyrift::platform
