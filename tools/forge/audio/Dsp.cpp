// The stateful parts of the forge's sound toolkit: the reverb and the finishing steps.
#include "audio/Dsp.h"

namespace skyrift::forge::audio {

namespace {
// Mutually prime delay lengths (in samples at 44100 Hz) so the combs' echoes never line up
// into a flutter.
constexpr int kCombLengths[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int kAllPassLengths[] = {556, 441, 341, 225};
constexpr int kStereoSpread = 23;
constexpr float kInputGain = 0.015f;  // eight combs in parallel sum loud
}  // namespace

Reverb::Reverb(double roomSize, double damp, double rate)
    : feedback_(static_cast<float>(0.7 + 0.28 * roomSize)), damp_(static_cast<float>(0.4 * damp)) {
  const double scale = rate / 44100.0;
  auto scaled = [scale](int length) { return static_cast<size_t>(std::max(1.0, length * scale)); };
  for (int length : kCombLengths) {
    combsL_.emplace_back(scaled(length));
    combsR_.emplace_back(scaled(length + kStereoSpread));
  }
  for (int length : kAllPassLengths) {
    allPassL_.emplace_back(scaled(length));
    allPassR_.emplace_back(scaled(length + kStereoSpread));
  }
}

void Reverb::Process(float in, float& left, float& right) {
  const float x = in * kInputGain;
  float l = 0.0f, r = 0.0f;
  for (size_t i = 0; i < combsL_.size(); ++i) {
    l += combsL_[i].Process(x, feedback_, damp_);
    r += combsR_[i].Process(x, feedback_, damp_);
  }
  for (size_t i = 0; i < allPassL_.size(); ++i) {
    l = allPassL_[i].Process(l);
    r = allPassR_[i].Process(r);
  }
  left = l;
  right = r;
}

void Finish(std::vector<double>& samples, double ceiling, double drive) {
  double peak = 0.0;
  for (double s : samples) peak = std::max(peak, std::fabs(s));
  if (peak <= 0.0) return;
  const double gain = drive * ceiling / peak;
  for (double& s : samples) s = SoftLimit(s * gain, ceiling);
}

void FadeEnds(std::vector<double>& samples, size_t fadeIn, size_t fadeOut) {
  const size_t n = samples.size();
  fadeIn = std::min(fadeIn, n);
  fadeOut = std::min(fadeOut, n);
  for (size_t i = 0; i < fadeIn; ++i) {
    samples[i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / fadeIn);
  }
  for (size_t i = 0; i < fadeOut; ++i) {
    samples[n - 1 - i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / fadeOut);
  }
}

void Seal(std::vector<double>& samples, int rate, double ceiling) {
  if (samples.empty()) return;
  OnePole dcBlock(12.0, rate);  // far below anything a sample means to play
  for (double& s : samples) s = dcBlock.High(s);
  double mean = 0.0;
  for (double s : samples) mean += s;
  mean /= static_cast<double>(samples.size());
  for (double& s : samples) s -= mean;
  FadeEnds(samples, static_cast<size_t>(0.0015 * rate), static_cast<size_t>(0.006 * rate));
  double peak = 0.0;
  for (double s : samples) peak = std::max(peak, std::fabs(s));
  if (peak > ceiling) {
    for (double& s : samples) s *= ceiling / peak;
  }
}

}  // namespace skyrift::forge::audio
