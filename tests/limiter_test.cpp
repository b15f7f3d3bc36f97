// The limiter at the end of the mix: it never lets any input out past its ceiling, leaves a mix
// that is quiet enough untouched, and moves its gain smoothly enough not to be heard pumping.
#include "platform/Limiter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

namespace {

using skyrift::platform::Limiter;

constexpr int kRate = 44100;
constexpr float kThreshold = 0.7f, kCeiling = 0.98f;

// Interleaved stereo frames, the left channel from `left` and the right from `right`.
std::vector<float> Frames(size_t count, const std::function<float(size_t)>& left,
                          const std::function<float(size_t)>& right) {
  std::vector<float> frames(2 * count);
  for (size_t i = 0; i < count; ++i) {
    frames[2 * i] = left(i);
    frames[2 * i + 1] = right(i);
  }
  return frames;
}

float Sine(size_t i, double hz, double amplitude) {
  return static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * hz * i / kRate));
}

TEST(Limiter, NothingLeavesPastTheCeilingWhateverComesIn) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    const char* what;
    std::vector<float> frames;
  };
  const Case cases[] = {
      {"thirty-two effects at full scale",
       Frames(kRate, [](size_t i) { return 32.0f * Sine(i, 220.0, 1.0); },
              [](size_t i) { return 20.0f * Sine(i, 330.0, 1.0); })},
      {"a sudden spike from silence",
       Frames(kRate / 10, [](size_t i) { return i == 2000 ? 50.0f : 0.0f; },
              [](size_t i) { return i >= 2000 ? -40.0f : 0.0f; })},
      {"square bursts on one side",
       Frames(kRate, [](size_t i) { return (i / 300) % 2 ? 6.0f : -6.0f; },
              [](size_t) { return 0.1f; })},
      {"infinities and NaN", Frames(64, [=](size_t i) { return i % 2 ? inf : nan; },
                                    [=](size_t) { return -inf; })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Limiter limiter(kRate, kThreshold, kCeiling);
    std::vector<float> frames = c.frames;
    // Fed in device-sized blocks: the state carries across them.
    for (size_t at = 0; at < frames.size() / 2; at += 1024) {
      limiter.Process(frames.data() + 2 * at, std::min<size_t>(1024, frames.size() / 2 - at));
    }
    for (float v : frames) {
      ASSERT_TRUE(std::isfinite(v));
      ASSERT_LE(std::fabs(v), kCeiling);
    }
  }
}

TEST(Limiter, AQuietMixPassesUntouched) {
  Limiter limiter(kRate);
  const std::vector<float> in = Frames(kRate / 2, [](size_t i) { return Sine(i, 440.0, 0.6); },
                                       [](size_t i) { return Sine(i, 550.0, 0.5); });
  std::vector<float> out = in;
  limiter.Process(out.data(), out.size() / 2);
  EXPECT_EQ(out, in);
  EXPECT_EQ(limiter.gain(), 1.0f);
}

TEST(Limiter, GainComesDownFastHoldsTheLevelAndRecoversWithoutSteps) {
  Limiter limiter(kRate, kThreshold, kCeiling);
  // Half a second of a mix four times too loud, then a second of a quiet one.
  const size_t loud = kRate / 2, total = loud + kRate;
  std::vector<float> frames = Frames(
      total, [=](size_t i) { return Sine(i, 200.0, i < loud ? 2.8 : 0.3); },
      [=](size_t i) { return Sine(i, 200.0, i < loud ? 2.8 : 0.3); });
  std::vector<float> gains;
  for (size_t i = 0; i < total; ++i) {
    limiter.Process(frames.data() + 2 * i, 1);
    gains.push_back(limiter.gain());
  }
  // Within 10 ms the loud part is held near the threshold, not squashed far below it.
  float peak = 0.0f;
  for (size_t i = kRate / 10; i < loud; ++i) peak = std::max(peak, std::fabs(frames[2 * i]));
  EXPECT_GT(peak, 0.85f * kThreshold);
  EXPECT_LE(peak, kCeiling);
  EXPECT_LT(gains[kRate / 100], 0.4f);
  // The gain never jumps: its largest step between two frames is a small fraction of a dB
  // while it recovers, and it is nearly back to unity a second later.
  float largestRecoveryStep = 0.0f;
  for (size_t i = loud + 1; i < total; ++i) {
    largestRecoveryStep = std::max(largestRecoveryStep, std::fabs(gains[i] - gains[i - 1]));
  }
  EXPECT_LT(largestRecoveryStep, 0.001f);
  EXPECT_LT(gains[loud + kRate / 20], 0.6f) << "recovers so fast it would pump";
  EXPECT_GT(gains[total - 1], 0.95f);
}

}  // namespace
