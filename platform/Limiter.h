// The last stage of the game's mix: keeps however many sounds play at once under full scale.
// Pure arithmetic on interleaved stereo float frames, with no tie to any audio library, so every
// platform's mixer ends in the same limiter.
#pragma once

#include <cstddef>

namespace skyrift::platform {

// Every sample plays at this share of its full level before the mix: many effects at once then
// sum to a little over the music's loudness instead of far over it, and the limiter below only
// meets the rare peak. Each platform's mixer applies it.
constexpr float kEffectsGain = 0.375f;

class Limiter {
 public:
  // Full scale is 1.0. Below `threshold` the mix passes untouched; above it the gain comes down
  // within about a millisecond and recovers over a few hundred, and a soft knee between
  // `threshold` and `ceiling` catches what gets through before the gain has come down.
  explicit Limiter(int rate, float threshold = 0.7f, float ceiling = 0.98f);

  // Limits `frameCount` interleaved left, right frames in place; afterwards every sample lies
  // within [-ceiling, ceiling], whatever went in (NaN comes out as silence).
  void Process(float* frames, size_t frameCount);

  // The gain the next frame starts with, 1 when nothing has needed limiting lately.
  float gain() const { return gain_; }

 private:
  float threshold_, ceiling_;
  float attack_, release_;  // per-frame smoothing coefficients of the gain
  float gain_ = 1.0f;
};

}  // namespace skyrift::platform
