#include "platform/ScreenFit.h"

#include <algorithm>
#include <cmath>
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
  // A scale the system cannot tell (a DPI of 0) is taken as 100%, not as the smallest window.
  dpi = dpi <= 0 ? kBaseDpi : std::max(dpi, kBaseDpi / 4);
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

void Add(FrameScaler::Taps& taps, int first) {
  taps.first.push_back(first);
  taps.count.push_back(0);
  taps.offset.push_back(static_cast<int>(taps.weights.size()));
}
void Weigh(FrameScaler::Taps& taps, int weight) {
  taps.weights.push_back(static_cast<uint16_t>(weight));
  ++taps.count.back();
}

// Shrinking: each target pixel covers [i * in / out, (i + 1) * in / out) of the source, counted
// here in 1 / out of a source pixel; each source pixel weighs what of it is covered.
void BoxTaps(int in, int out, FrameScaler::Taps& taps) {
  for (int i = 0; i < out; ++i) {
    const int64_t from = int64_t{i} * in, to = int64_t{i + 1} * in;
    const int first = static_cast<int>(from / out);
    Add(taps, first);
    int given = 0;
    for (int64_t j = first; j * out < to; ++j) {
      const int64_t covered = std::min(to, (j + 1) * out) - std::max(from, j * out);
      const int weight = static_cast<int>(covered * 256 / in);
      Weigh(taps, weight);
      given += weight;
    }
    taps.weights[taps.offset.back()] += static_cast<uint16_t>(256 - given);  // rounding's rest
  }
}

// Enlarging: where the target pixel falls inside a source pixel, clear of its edges by what a
// whole-multiple enlargement would keep, it takes that pixel alone; in the last fraction toward
// an edge it blends into the neighbour, over exactly one target pixel.
void SharpTaps(int in, int out, FrameScaler::Taps& taps) {
  const double scale = static_cast<double>(out) / in;
  const double plateau = 0.5 - 0.5 / scale;
  for (int i = 0; i < out; ++i) {
    const double at = (i + 0.5) / scale;  // in source pixels
    const double cell = std::floor(at);
    const double fromCentre = at - cell - 0.5;
    // Where to sample, with the source pixels' centres at whole numbers.
    const double position = cell + (fromCentre - std::clamp(fromCentre, -plateau, plateau)) * scale;
    const int left = static_cast<int>(std::floor(position));
    const int weight = static_cast<int>(std::lround((position - left) * 256));
    if (left < 0 || left + 1 >= in || weight == 0 || weight == 256) {
      Add(taps, std::clamp(weight == 256 ? left + 1 : left, 0, in - 1));
      Weigh(taps, 256);
    } else {
      Add(taps, left);
      Weigh(taps, 256 - weight);
      Weigh(taps, weight);
    }
  }
}

// The weighted sum of `count` pixels `stride` apart, weights out of 256, each channel rounded.
// Two channels at a time in one 32-bit word: a channel's sum never passes 16 bits.
inline uint32_t Blend(const uint32_t* from, size_t stride, const uint16_t* weights, int count) {
  uint32_t redBlue = 0x00800080, alphaGreen = 0x00800080;
  for (int k = 0; k < count; ++k) {
    const uint32_t pixel = from[k * stride];
    redBlue += (pixel & 0x00FF00FF) * weights[k];
    alphaGreen += ((pixel >> 8) & 0x00FF00FF) * weights[k];
  }
  return ((redBlue >> 8) & 0x00FF00FF) | (alphaGreen & 0xFF00FF00);
}

// Two rows mixed byte by byte, `b` weighing `weight` of 256: a plain loop the compiler turns
// into vector instructions.
void MixRows(const uint8_t* a, const uint8_t* b, uint32_t weight, uint8_t* out, size_t bytes) {
  const uint16_t keep = static_cast<uint16_t>(256 - weight), take = static_cast<uint16_t>(weight);
  for (size_t i = 0; i < bytes; ++i) {
    out[i] = static_cast<uint8_t>((a[i] * keep + b[i] * take + 128) >> 8);
  }
}

// The same with a weight for each byte.
void MixBytes(const uint8_t* a, const uint8_t* b, const uint16_t* weights, uint8_t* out,
              size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) {
    out[i] = static_cast<uint8_t>((a[i] * (256 - weights[i]) + b[i] * weights[i] + 128) >> 8);
  }
}

}  // namespace

FrameScaler::Taps FrameScaler::TapsFor(int sourceLength, int targetLength) {
  Taps taps;
  if (sourceLength <= 0 || targetLength <= 0) return taps;
  if (targetLength < sourceLength) {
    BoxTaps(sourceLength, targetLength, taps);
  } else if (targetLength > sourceLength) {
    SharpTaps(sourceLength, targetLength, taps);
  } else {
    for (int i = 0; i < targetLength; ++i) {
      Add(taps, i);
      Weigh(taps, 256);
    }
  }
  return taps;
}

void FrameScaler::Scale(const uint8_t* source, size_t sourcePitch, int sourceWidth,
                        int sourceHeight, uint8_t* target, size_t targetPitch,
                        const Placement& to) {
  if (to.width <= 0 || to.height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return;
  const size_t width = static_cast<size_t>(to.width);
  if (sourceWidth != sourceWidth_ || sourceHeight != sourceHeight_ || to.width != targetWidth_ ||
      to.height != targetHeight_) {
    sourceWidth_ = sourceWidth;
    sourceHeight_ = sourceHeight;
    targetWidth_ = to.width;
    targetHeight_ = to.height;
    columns_ = TapsFor(sourceWidth, to.width);
    rows_ = TapsFor(sourceHeight, to.height);
    across_.assign(static_cast<size_t>(to.width) * sourceHeight, 0);
    twoTaps_ = to.width > sourceWidth;
    left_.assign(twoTaps_ ? width : 0, 0);
    right_.assign(twoTaps_ ? width : 0, 0);
    byteWeights_.assign(twoTaps_ ? width * 4 : 0, 0);
    for (size_t x = 0; twoTaps_ && x < width; ++x) {
      const uint16_t weight = columns_.count[x] == 2 ? columns_.weights[columns_.offset[x] + 1] : 0;
      std::fill_n(&byteWeights_[x * 4], 4, weight);
    }
  }
  // Across first: each source row once, to the target's width.
  for (int y = 0; y < sourceHeight; ++y) {
    const auto* from = reinterpret_cast<const uint32_t*>(source + y * sourcePitch);
    uint32_t* out = &across_[y * width];
    if (to.width == sourceWidth) {
      std::memcpy(out, from, width * 4);
      continue;
    }
    if (twoTaps_) {
      // Enlarging: every target pixel mixes a source pixel with the next (most by a weight of
      // 0). The pairs are gathered first, then mixed byte by byte in a loop the compiler turns
      // into vector instructions; the source's last pixel is its own next.
      for (size_t x = 0; x < width; ++x) {
        const int at = columns_.first[x];
        left_[x] = from[at];
        right_[x] = from[std::min(at + 1, sourceWidth - 1)];
      }
      MixBytes(reinterpret_cast<const uint8_t*>(left_.data()),
               reinterpret_cast<const uint8_t*>(right_.data()), byteWeights_.data(),
               reinterpret_cast<uint8_t*>(out), width * 4);
      continue;
    }
    const int* first = columns_.first.data();
    const int* count = columns_.count.data();
    const int* offset = columns_.offset.data();
    const uint16_t* weights = columns_.weights.data();
    for (size_t x = 0; x < width; ++x) {
      out[x] = Blend(from + first[x], 1, weights + offset[x], count[x]);
    }
  }
  // Then down: each target row from the resampled rows it takes.
  for (int y = 0; y < to.height; ++y) {
    auto* out =
        target + static_cast<size_t>(to.y + y) * targetPitch + static_cast<size_t>(to.x) * 4;
    const uint32_t* from = &across_[rows_.first[y] * width];
    const uint16_t* weights = &rows_.weights[rows_.offset[y]];
    const int count = rows_.count[y];
    if (count == 1) {
      std::memcpy(out, from, width * 4);
    } else if (count == 2) {
      MixRows(reinterpret_cast<const uint8_t*>(from),
              reinterpret_cast<const uint8_t*>(from + width), weights[1], out, width * 4);
    } else {
      auto* pixels = reinterpret_cast<uint32_t*>(out);
      for (size_t x = 0; x < width; ++x) pixels[x] = Blend(from + x, width, weights, count);
    }
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
