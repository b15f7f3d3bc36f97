// The limiter at the end of the mix: nothing leaves it past its ceiling, a quiet mix passes
// untouched, and its gain moves smoothly enough not to be heard pumping.
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

// Interleaved stereo frames: left(i), right(i).
std::vector<float> Frames(size_t count, const std::function<float(size_t)>& left,
                          const std::function<float(size_t)>& right) {
  std::vector<float> frames;
  for (size_t i = 0; i < count; ++i) frames.insert(frames.end(), {left(i), right(i)});
  return frames;
}

float Sine(size_t i, double amplitude) {
  return static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * 200.0 * i / kRate));
}

TEST(Limiter, NothingLeavesPastTheCeilingWhateverComesIn) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<float> cases[] = {
      // thirty-two effects at full scale on one side, twenty on the other
      Frames(
          kRate, [](size_t i) { return Sine(i, 32.0); }, [](size_t i) { return Sine(i, 20.0); }),
      // a sudden spike out of silence
      Frames(
          kRate / 10, [](size_t i) { return i == 2000 ? 50.0f : 0.0f; },
          [](size_t i) { return i >= 2000 ? -40.0f : 0.0f; }),
      // square bursts
      Frames(
          kRate, [](size_t i) { return (i / 300) % 2 ? 6.0f : -6.0f; },
          [](size_t) { return 0.1f; }),
      // not numbers at all, on either side
      Frames(
          64, [=](size_t i) { return i % 2 ? inf : nan; },
          [=](size_t i) { return i % 2 ? nan : -inf; }),
  };
  for (std::vector<float> frames : cases) {
    Limiter limiter(kRate, kThreshold, kCeiling);
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

TEST(Limiter, PassesAQuietMixComesDownFastAndRecoversWithoutSteps) {
  // A quarter second just under the threshold, half a second four times too loud, then a second
  // of a quiet mix again; on both sides, or on one with silence on the other: the louder side
  // sets the gain.
  const size_t quiet = kRate / 4, loud = quiet + kRate / 2, total = loud + kRate;
  auto level = [=](size_t i) { return i < quiet ? 0.69 : i < loud ? 2.8 : 0.3; };
  const struct {
    const char* name;
    bool left, right;
  } layouts[] = {{"both", true, true}, {"left", true, false}, {"right", false, true}};
  for (const auto& layout : layouts) {
    SCOPED_TRACE(layout.name);
    const size_t side = layout.left ? 0 : 1;  // a side that carries the mix
    Limiter limiter(kRate, kThreshold, kCeiling);
    const std::vector<float> in = Frames(
        total, [&](size_t i) { return layout.left ? Sine(i, level(i)) : 0.0f; },
        [&](size_t i) { return layout.right ? Sine(i, level(i)) : 0.0f; });
    std::vector<float> out = in;
    std::vector<float> gains;
    for (size_t i = 0; i < total; ++i) {
      limiter.Process(out.data() + 2 * i, 1);
      gains.push_back(limiter.gain());
    }
    EXPECT_TRUE(std::equal(in.begin(), in.begin() + 2 * quiet, out.begin())) << "touched";
    // Within 10 ms the loud part is held near the threshold, not squashed far below it.
    EXPECT_LT(gains[quiet + kRate / 100], 0.4f);
    float peak = 0.0f;
    for (size_t i = quiet + kRate / 10; i < loud; ++i) {
      peak = std::max(peak, std::fabs(out[2 * i + side]));
    }
    EXPECT_GT(peak, 0.85f * kThreshold);
    // Recovery takes a while and never steps by more than a small fraction of a dB per frame.
    float largestStep = 0.0f;
    for (size_t i = loud + 1; i < total; ++i) {
      largestStep = std::max(largestStep, std::fabs(gains[i] - gains[i - 1]));
    }
    EXPECT_LT(largestStep, 0.001f);
    EXPECT_LT(gains[loud + kRate / 20], 0.6f) << "recovers so fast it would pump";
    EXPECT_GT(gains[total - 1], 0.95f);
  }
}

}  // namespace
