#include "platform/ScreenFit.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace skyrift::platform {

Placement Letterbox(int frameWidth, int frameHeight, int areaWidth, int areaHeight) {
  if (frameWidth <= 0 || frameHeight <= 0 || areaWidth <= 0 || areaHeight <= 0) return {};
  // The full width with the height it calls for, or the full height with its width: the larger
  // of the two that fits. Where both fit (an area of the frame's shape to within a pixel's
  // rounding), the area is filled whole, so that a window sized to the frame's shape has no bar.
  const int widthLimitedHeight = static_cast<int>(int64_t{areaWidth} * frameHeight / frameWidth);
  const int heightLimitedWidth = static_cast<int>(int64_t{areaHeight} * frameWidth / frameHeight);
  int width = areaWidth, height = areaHeight;
  if (heightLimitedWidth > areaWidth) {
    height = std::max(1, widthLimitedHeight);
  } else if (widthLimitedHeight <= areaHeight &&
             int64_t{areaWidth} * widthLimitedHeight > int64_t{heightLimitedWidth} * areaHeight) {
    height = std::max(1, widthLimitedHeight);
  } else {
    width = std::max(1, heightLimitedWidth);
  }
  return Placement{(areaWidth - width) / 2, (areaHeight - height) / 2, width, height};
}

Placement FitWindow(int frameWidth, int frameHeight, int dpi, int extraWidth, int extraHeight,
                    int usableWidth, int usableHeight) {
  constexpr int kBaseDpi = 96;
  dpi = std::max(dpi, kBaseDpi / 4);
  const int width = (frameWidth * dpi + kBaseDpi / 2) / kBaseDpi;
  const int height = (frameHeight * dpi + kBaseDpi / 2) / kBaseDpi;
  if (width + extraWidth <= usableWidth && height + extraHeight <= usableHeight) {
    return Placement{0, 0, width, height};
  }
  const Placement fitted = Letterbox(frameWidth, frameHeight, std::max(1, usableWidth - extraWidth),
                                     std::max(1, usableHeight - extraHeight));
  return Placement{0, 0, fitted.width, fitted.height};
}

namespace {

// One row enlarged by runs of at most `kLongest` pixels: every run is written `kLongest` wide
// and the next run starts where this one ends, overwriting the surplus. The runs of an enlarged
// row differ by at most one, so the surplus never passes the row's end; the last run is exact.
template <int kLongest>
void StretchRow(const uint32_t* from, const std::vector<uint16_t>& runs, uint32_t* out) {
  const size_t last = runs.size() - 1;
  for (size_t x = 0; x < last; ++x) {
    const uint32_t pixel = from[x];
    for (int k = 0; k < kLongest; ++k) out[k] = pixel;
    out += runs[x];
  }
  for (int k = 0; k < runs[last]; ++k) out[k] = from[last];
}

}  // namespace

void ScaleNearest(const uint8_t* source, size_t sourcePitch, int sourceWidth, int sourceHeight,
                  uint8_t* target, size_t targetPitch, const Placement& to) {
  if (to.width <= 0 || to.height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return;
  std::vector<uint32_t> column(static_cast<size_t>(to.width));
  std::vector<uint16_t> runs(static_cast<size_t>(sourceWidth), 0);
  int longest = 0;
  for (int x = 0; x < to.width; ++x) {
    column[x] = static_cast<uint32_t>((int64_t{2} * x + 1) * sourceWidth / (int64_t{2} * to.width));
    longest = std::max<int>(longest, ++runs[column[x]]);
  }
  // Enlarging by up to four: whole runs, fewer reads than a look-up per pixel.
  const int runLength = to.width >= sourceWidth && longest <= 4 ? longest : 0;
  const size_t rowBytes = static_cast<size_t>(to.width) * 4;
  const uint32_t* previousSource = nullptr;
  uint8_t* previousRow = nullptr;
  for (int y = 0; y < to.height; ++y) {
    const auto sourceY =
        static_cast<size_t>((int64_t{2} * y + 1) * sourceHeight / (int64_t{2} * to.height));
    const auto* from = reinterpret_cast<const uint32_t*>(source + sourceY * sourcePitch);
    uint8_t* row =
        target + static_cast<size_t>(to.y + y) * targetPitch + static_cast<size_t>(to.x) * 4;
    auto* pixels = reinterpret_cast<uint32_t*>(row);
    if (from == previousSource) {
      std::memcpy(row, previousRow, rowBytes);  // enlarged: the row above is the same row again
    } else if (runLength == 1) {
      std::memcpy(row, from, rowBytes);
    } else if (runLength == 2) {
      StretchRow<2>(from, runs, pixels);
    } else if (runLength == 3) {
      StretchRow<3>(from, runs, pixels);
    } else if (runLength == 4) {
      StretchRow<4>(from, runs, pixels);
    } else {
      for (int x = 0; x < to.width; ++x) pixels[x] = from[column[x]];
    }
    previousSource = from;
    previousRow = row;
  }
}

void FillBars(uint8_t* target, size_t targetPitch, int targetWidth, int targetHeight,
              const Placement& picture) {
  for (int y = 0; y < targetHeight; ++y) {
    uint8_t* row = target + static_cast<size_t>(y) * targetPitch;
    if (y < picture.y || y >= picture.y + picture.height) {
      std::memset(row, 0, static_cast<size_t>(targetWidth) * 4);
      continue;
    }
    std::memset(row, 0, static_cast<size_t>(std::clamp(picture.x, 0, targetWidth)) * 4);
    const int right = std::clamp(picture.x + picture.width, 0, targetWidth);
    std::memset(row + static_cast<size_t>(right) * 4, 0,
                static_cast<size_t>(targetWidth - right) * 4);
  }
}

}  // namespace skyrift::platform
