#include "platform/ScreenFit.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

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

// For each pixel along one side of the target: the source pixels it takes and how much of each,
// out of 256.
struct Taps {
  std::vector<int> first;   // the first source pixel of each target pixel
  std::vector<int> count;   // how many from there
  std::vector<int> offset;  // where its weights start in `weights`
  std::vector<uint16_t> weights;
};

void Add(Taps& taps, int first) {
  taps.first.push_back(first);
  taps.count.push_back(0);
  taps.offset.push_back(static_cast<int>(taps.weights.size()));
}
void Weigh(Taps& taps, int weight) {
  taps.weights.push_back(static_cast<uint16_t>(weight));
  ++taps.count.back();
}

// Shrinking: each target pixel covers [i * in / out, (i + 1) * in / out) of the source, counted
// here in 1 / out of a source pixel; each source pixel weighs what of it is covered.
void BoxTaps(int in, int out, Taps& taps) {
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
void SharpTaps(int in, int out, Taps& taps) {
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

Taps TapsFor(int sourceLength, int targetLength) {
  Taps taps;
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

// The weighted sum of `count` pixels, weights out of 256 and `weightStride` apart, each channel
// rounded. Two channels at a time in one 32-bit word: a channel's sum never passes 16 bits.
template <typename PixelAt>
inline uint32_t Blend(PixelAt pixelAt, const uint16_t* weights, size_t weightStride, int count) {
  uint32_t redBlue = 0x00800080, alphaGreen = 0x00800080;
  for (int k = 0; k < count; ++k) {
    const uint32_t pixel = pixelAt(k), weight = weights[k * weightStride];
    redBlue += (pixel & 0x00FF00FF) * weight;
    alphaGreen += ((pixel >> 8) & 0x00FF00FF) * weight;
  }
  return ((redBlue >> 8) & 0x00FF00FF) | (alphaGreen & 0xFF00FF00);
}

#if defined(__SSE2__)
// Four target pixels resampled across at once. A target pixel's taps are neighbours in the
// source row, so two come in one 64-bit load; the loads of the four are sorted into their first
// taps and their second, and each tap weighed for the four at once, the channels split into the
// two 16-bit halves of each word (a sum never passes 16 bits). `kPairs` fixes the number of
// pairs of taps for the compiler where it is small; 0 takes `pairs`.
template <int kPairs>
[[gnu::always_inline]] inline __m128i ResampleFour(const uint32_t* from, const int* first,
                                                   const uint16_t* weights, int pairs) {
  if (kPairs != 0) pairs = kPairs;
  const __m128i low = _mm_set1_epi16(0x00FF), half = _mm_set1_epi16(128);
  const auto* weightsOfTap = reinterpret_cast<const __m128i*>(weights);
  __m128i even = half, odd = half;
  for (int p = 0; p < pairs; ++p) {
    // Two pixels' pairs in one register: [a0 b0 a1 b1].
    const auto twoPairs = [&](int pixel) {
      const __m128i one =
          _mm_loadl_epi64(reinterpret_cast<const __m128i*>(from + first[pixel] + 2 * p));
      return _mm_castpd_ps(_mm_loadh_pd(
          _mm_castsi128_pd(one), reinterpret_cast<const double*>(from + first[pixel + 1] + 2 * p)));
    };
    const __m128 front = twoPairs(0), back = twoPairs(2);
    const __m128i a = _mm_castps_si128(_mm_shuffle_ps(front, back, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m128i b = _mm_castps_si128(_mm_shuffle_ps(front, back, _MM_SHUFFLE(3, 1, 3, 1)));
    const __m128i weightA = _mm_loadu_si128(weightsOfTap + 2 * p);
    const __m128i weightB = _mm_loadu_si128(weightsOfTap + 2 * p + 1);
    even = _mm_add_epi16(even, _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(a, low), weightA),
                                             _mm_mullo_epi16(_mm_and_si128(b, low), weightB)));
    odd = _mm_add_epi16(odd, _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(a, 8), weightA),
                                           _mm_mullo_epi16(_mm_srli_epi16(b, 8), weightB)));
  }
  return _mm_or_si128(_mm_srli_epi16(even, 8), _mm_andnot_si128(low, odd));
}

// Rows weighed into one, as many pixels at a time as a vector of `Words` (16-bit lanes) holds,
// each channel in one half of a lane. `kCount` fixes the number of rows for the compiler where
// it is small; 0 takes `count`.
using Words8 = uint16_t __attribute__((vector_size(16)));
using Words16 = uint16_t __attribute__((vector_size(32)));
template <typename Words, int kCount>
[[gnu::always_inline]] inline size_t MixRows(const uint32_t* const* rows, const uint16_t* weights,
                                             int count, size_t width, uint32_t* __restrict out) {
  if (kCount != 0) count = kCount;
  constexpr size_t kPixels = sizeof(Words) / 4;
  size_t x = 0;
  for (; x + kPixels <= width; x += kPixels) {
    Words even = Words{} + 128, odd = even;
    for (int k = 0; k < count; ++k) {
      Words pixels;
      std::memcpy(&pixels, rows[k] + x, sizeof pixels);
      even += (pixels & 0xFF) * weights[k];
      odd += (pixels >> 8) * weights[k];
    }
    const Words mixed = (even >> 8) | (odd & 0xFF00);
    std::memcpy(out + x, &mixed, sizeof mixed);
  }
  return x;
}
template <int kCount>
size_t MixFours(const uint32_t* const* rows, const uint16_t* weights, int count, size_t width,
                uint32_t* __restrict out) {
  return MixRows<Words8, kCount>(rows, weights, count, width, out);
}

// AVX2, where the processor has it: the same, eight pixels at a time. Across, only for rows
// whose every pixel takes two taps; a four's weights are laid out as above, two fours in turn.
[[gnu::target("avx2")]] size_t ResampleEights(const uint32_t* from, const int* first,
                                              const uint16_t* weights, size_t width,
                                              uint32_t* __restrict out) {
  const __m256i low = _mm256_set1_epi16(0x00FF), half = _mm256_set1_epi16(128);
  size_t x = 0;
  for (; x + 8 <= width; x += 8, first += 8, weights += 32) {
    const auto twoPairs = [&](int pixel) {
      const __m128i one = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(from + first[pixel]));
      return _mm_castpd_ps(_mm_loadh_pd(_mm_castsi128_pd(one),
                                        reinterpret_cast<const double*>(from + first[pixel + 1])));
    };
    const __m256 front = _mm256_set_m128(twoPairs(4), twoPairs(0));
    const __m256 back = _mm256_set_m128(twoPairs(6), twoPairs(2));
    const __m256i a = _mm256_castps_si256(_mm256_shuffle_ps(front, back, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m256i b = _mm256_castps_si256(_mm256_shuffle_ps(front, back, _MM_SHUFFLE(3, 1, 3, 1)));
    const auto* fours = reinterpret_cast<const __m128i*>(weights);
    const __m256i weightA = _mm256_loadu2_m128i(fours + 2, fours);
    const __m256i weightB = _mm256_loadu2_m128i(fours + 3, fours + 1);
    const __m256i even = _mm256_add_epi16(
        half, _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(a, low), weightA),
                               _mm256_mullo_epi16(_mm256_and_si256(b, low), weightB)));
    const __m256i odd = _mm256_add_epi16(
        half, _mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(a, 8), weightA),
                               _mm256_mullo_epi16(_mm256_srli_epi16(b, 8), weightB)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                        _mm256_or_si256(_mm256_srli_epi16(even, 8), _mm256_andnot_si256(low, odd)));
  }
  return x;
}

template <int kCount>
[[gnu::target("avx2")]] size_t MixEights(const uint32_t* const* rows, const uint16_t* weights,
                                         int count, size_t width, uint32_t* __restrict out) {
  return MixRows<Words16, kCount>(rows, weights, count, width, out);
}
#endif

}  // namespace

FrameScaler::FrameScaler(bool wideVectors) {
#if defined(__SSE2__)
  __builtin_cpu_init();  // for a scaler made before the program's own constructors have run
  wide_ = wideVectors && __builtin_cpu_supports("avx2");
#else
  (void)wideVectors;
#endif
}

void FrameScaler::Plan(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight) {
  sourceWidth_ = sourceWidth;
  sourceHeight_ = sourceHeight;
  targetWidth_ = targetWidth;
  targetHeight_ = targetHeight;
  const size_t width = static_cast<size_t>(targetWidth);

  // The pixels of a four take as many taps as the most any of them takes, an even number where
  // the row is long enough so that they go two at a time; a pixel near the row's end starts
  // further back, with weights of 0 first, so that no tap reads past the row.
  const Taps columns = TapsFor(sourceWidth, targetWidth);
  const size_t fours = (width + 3) / 4;
  columnFirst_.resize(width);
  fourTaps_.resize(fours);
  fourWeights_.resize(fours);
  columnWeights_.clear();
  twoTaps_ = true;
  for (size_t four = 0; four < fours; ++four) {
    const size_t begin = four * 4, end = std::min(begin + 4, width);
    int taps = *std::max_element(&columns.count[begin], &columns.count[end - 1] + 1);
    if (taps % 2 == 1 && taps < sourceWidth) ++taps;
    fourTaps_[four] = taps;
    twoTaps_ = twoTaps_ && taps == 2;
    fourWeights_[four] = columnWeights_.size();
    columnWeights_.resize(columnWeights_.size() + static_cast<size_t>(taps) * 8, 0);
    for (size_t x = begin; x < end; ++x) {
      columnFirst_[x] = std::min(columns.first[x], sourceWidth - taps);
      const int skipped = columns.first[x] - columnFirst_[x];
      for (int k = 0; k < columns.count[x]; ++k) {
        std::fill_n(&columnWeights_[fourWeights_[four] + ((skipped + k) * 4 + x % 4) * 2], 2,
                    columns.weights[columns.offset[x] + k]);
      }
    }
  }

  Taps rows = TapsFor(sourceHeight, targetHeight);
  rowFirst_ = std::move(rows.first);
  rowCount_ = std::move(rows.count);
  rowOffset_ = std::move(rows.offset);
  rowWeights_ = std::move(rows.weights);
  held_.resize(*std::max_element(rowCount_.begin(), rowCount_.end()));
  taken_.resize(held_.size());
  resampled_.assign(targetWidth == sourceWidth ? 0 : held_.size() * width, 0);
}

void FrameScaler::ResampleRow(const uint32_t* from, uint32_t* __restrict out) const {
  const size_t width = static_cast<size_t>(targetWidth_);
  const int* firsts = columnFirst_.data();
  const int* taps = fourTaps_.data();
  const size_t* offsets = fourWeights_.data();
  const uint16_t* weights = columnWeights_.data();
  size_t x = 0;
#if defined(__SSE2__)
  // Enlarging, and shrinking by less than a half, take two taps nearly everywhere: where every
  // four does, a loop of its own saves the look-ups.
  if (twoTaps_) {
    if (wide_) x = ResampleEights(from, firsts, weights, width, out);
    for (; x + 4 <= width; x += 4) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
                       ResampleFour<1>(from, firsts + x, weights + x * 4, 1));
    }
  }
#endif
  for (size_t four = x / 4; x < width; ++four, x += 4) {
    const int count = taps[four];
    const uint16_t* weighs = weights + offsets[four];
#if defined(__SSE2__)
    if (x + 4 <= width && count % 2 == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
                       count == 2 ? ResampleFour<1>(from, firsts + x, weighs, 1)
                                  : ResampleFour<0>(from, firsts + x, weighs, count / 2));
      continue;
    }
#endif
    for (size_t i = x; i < std::min(x + 4, width); ++i) {
      const uint32_t* at = from + firsts[i];
      out[i] = Blend([at](int k) { return at[k]; }, weighs + i % 4 * 2, 8, count);
    }
  }
}

// A source row at the target's width: the source's own where the widths match, else resampled
// once a frame into the slot the row's number picks. A target row takes at most as many
// neighbouring rows as there are slots, so those it takes never share one.
const uint32_t* FrameScaler::Resampled(const uint8_t* source, size_t sourcePitch, int row) {
  const auto* from =
      reinterpret_cast<const uint32_t*>(source + static_cast<size_t>(row) * sourcePitch);
  if (targetWidth_ == sourceWidth_) return from;
  const size_t slot = static_cast<size_t>(row) % held_.size();
  uint32_t* out = &resampled_[slot * static_cast<size_t>(targetWidth_)];
  if (held_[slot] != row) {
    ResampleRow(from, out);
    held_[slot] = row;
  }
  return out;
}

void FrameScaler::Scale(const uint8_t* source, size_t sourcePitch, int sourceWidth,
                        int sourceHeight, uint8_t* target, size_t targetPitch,
                        const Placement& to) {
  if (to.width <= 0 || to.height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return;
  if (sourceWidth != sourceWidth_ || sourceHeight != sourceHeight_ || to.width != targetWidth_ ||
      to.height != targetHeight_) {
    Plan(sourceWidth, sourceHeight, to.width, to.height);
  }
  std::fill(held_.begin(), held_.end(), -1);  // a new frame
  const size_t width = static_cast<size_t>(to.width);
  const uint32_t** rows = taken_.data();
  for (int y = 0; y < to.height; ++y) {
    auto* out = reinterpret_cast<uint32_t*>(target + static_cast<size_t>(to.y + y) * targetPitch +
                                            static_cast<size_t>(to.x) * 4);
    const int count = rowCount_[y];
    for (int k = 0; k < count; ++k) rows[k] = Resampled(source, sourcePitch, rowFirst_[y] + k);
    if (count == 1) {
      std::memcpy(out, rows[0], width * 4);
      continue;
    }
    const uint16_t* weights = &rowWeights_[rowOffset_[y]];
    size_t x = 0;
#if defined(__SSE2__)
    const auto mix = wide_ ? (count == 2   ? MixEights<2>
                              : count == 3 ? MixEights<3>
                                           : MixEights<0>)
                           : (count == 2   ? MixFours<2>
                              : count == 3 ? MixFours<3>
                                           : MixFours<0>);
    x = mix(rows, weights, count, width, out);
#endif
    for (; x < width; ++x) {
      out[x] = Blend([&rows, x](int k) { return rows[k][x]; }, weights, 1, count);
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
