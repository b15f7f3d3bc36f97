// A feed-forward peak limiter without look-ahead: the gain follows the louder side of each frame
// with a fast attack and a slow release, both smoothed so the level never steps or pumps, and a
// soft knee after it rounds off the first milliseconds of a sudden peak instead of clipping it.
#include "platform/Limiter.h"

#include <algorithm>
#include <cmath>

namespace skyrift::platform {

namespace {

constexpr float kAttackSeconds = 0.001f;
constexpr float kReleaseSeconds = 0.25f;

float Coefficient(float seconds, int rate) {
  return 1.0f - std::exp(-1.0f / (seconds * static_cast<float>(std::max(rate, 1))));
}

// Linear up to the threshold, then a tanh curve that approaches the ceiling and never reaches it.
float SoftKnee(float x, float threshold, float ceiling) {
  const float magnitude = std::fabs(x);
  if (magnitude <= threshold) return x;
  const float room = ceiling - threshold;
  return std::copysign(threshold + room * std::tanh((magnitude - threshold) / room), x);
}

}  // namespace

Limiter::Limiter(int rate, float threshold, float ceiling)
    : threshold_(std::clamp(threshold, 0.01f, 1.0f)),
      ceiling_(std::clamp(ceiling, threshold_, 1.0f)),
      attack_(Coefficient(kAttackSeconds, rate)),
      release_(Coefficient(kReleaseSeconds, rate)) {}

void Limiter::Process(float* frames, size_t frameCount) {
  for (size_t i = 0; i < frameCount; ++i) {
    float& left = frames[2 * i];
    float& right = frames[2 * i + 1];
    if (!std::isfinite(left)) left = 0.0f;
    if (!std::isfinite(right)) right = 0.0f;
    const float peak = std::max(std::fabs(left), std::fabs(right));
    const float wanted = peak > threshold_ ? threshold_ / peak : 1.0f;
    gain_ += (wanted - gain_) * (wanted < gain_ ? attack_ : release_);
    left = SoftKnee(left * gain_, threshold_, ceiling_);
    right = SoftKnee(right * gain_, threshold_, ceiling_);
  }
}

}  // namespace skyrift::platform
