// The sound forge's building blocks: its own random numbers, band-limited oscillators,
// envelopes, filters, echo, reverb and the limiters every sound passes through last.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace skyrift::forge::audio {

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 44100;  // every synthesised sound and the music run at the mixer's rate

inline double MidiToHz(double note) {
  return 440.0 * std::exp2((note - 69.0) / 12.0);
}
inline double DbToGain(double db) {
  return std::pow(10.0, db / 20.0);
}

// splitmix64: a seeded generator of our own, so that no sound depends on the C library or the
// clock.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }  // [0, 1)
  double Bipolar() { return Uniform() * 2.0 - 1.0; }                          // [-1, 1)

 private:
  uint64_t state_;
};

// Smooths the jump of a saw or pulse edge over one sample, which keeps bright tones free of
// the aliasing whistle a naive oscillator makes.
inline double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

// A phase accumulator; each call produces one sample and advances by freq / rate.
class Oscillator {
 public:
  explicit Oscillator(double phase = 0.0) : phase_(phase) {}

  double Sine(double freq, double rate = kRate) {
    const double v = std::sin(2.0 * kPi * phase_);
    Advance(freq / rate);
    return v;
  }
  double Triangle(double freq, double rate = kRate) {
    const double v = 4.0 * std::fabs(phase_ - 0.5) - 1.0;
    Advance(freq / rate);
    return v;
  }
  double Saw(double freq, double rate = kRate) {
    const double dt = freq / rate;
    const double v = 2.0 * phase_ - 1.0 - PolyBlep(phase_, dt);
    Advance(dt);
    return v;
  }
  double Pulse(double freq, double width, double rate = kRate) {
    const double dt = freq / rate;
    double v = phase_ < width ? 1.0 : -1.0;
    v += PolyBlep(phase_, dt);
    double fall = phase_ + 1.0 - width;
    if (fall >= 1.0) fall -= 1.0;
    v -= PolyBlep(fall, dt);
    Advance(dt);
    return v;
  }
  double phase() const { return phase_; }

 private:
  void Advance(double dt) {
    phase_ += dt;
    phase_ -= std::floor(phase_);
  }
  double phase_;
};

// Zero-delay-feedback state-variable filter: stable under fast cutoff sweeps, with low, band and
// high outputs from one state.
class Svf {
 public:
  struct Out {
    double low, band, high;
  };
  Svf() { Set(1000.0, 0.707); }
  Svf(double cutoff, double q, double rate = kRate) { Set(cutoff, q, rate); }

  void Set(double cutoff, double q, double rate = kRate) {
    cutoff = std::clamp(cutoff, 5.0, 0.45 * rate);
    const double g = std::tan(kPi * cutoff / rate);
    k_ = 1.0 / q;
    a1_ = 1.0 / (1.0 + g * (g + k_));
    a2_ = g * a1_;
    a3_ = g * a2_;
  }
  Out Process(double x) {
    const double v3 = x - ic2_;
    const double v1 = a1_ * ic1_ + a2_ * v3;
    const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    return {v2, v1, x - k_ * v1 - v2};
  }
  double Low(double x) { return Process(x).low; }
  double High(double x) { return Process(x).high; }
  double Band(double x) { return k_ * Process(x).band; }  // unity gain at the centre
  // A bell around the cutoff: +gainDb there, flat elsewhere.
  double Bell(double x, double gainDb) { return x + (DbToGain(gainDb) - 1.0) * Band(x); }

 private:
  double k_ = 1.0, a1_ = 0.0, a2_ = 0.0, a3_ = 0.0;
  double ic1_ = 0.0, ic2_ = 0.0;
};

// First-order low-pass; its complement gives a gentle high-pass for DC and rumble.
class OnePole {
 public:
  explicit OnePole(double cutoff = 1000.0, double rate = kRate) { Set(cutoff, rate); }
  void Set(double cutoff, double rate = kRate) { a_ = 1.0 - std::exp(-2.0 * kPi * cutoff / rate); }
  double Low(double x) { return y_ += a_ * (x - y_); }
  double High(double x) { return x - Low(x); }

 private:
  double a_ = 0.0, y_ = 0.0;
};

// Attack, decay, sustain, release, stepped one sample at a time. Gate() starts the release.
class Adsr {
 public:
  Adsr(double attack, double decay, double sustain, double release, double rate = kRate)
      : attackStep_(1.0 / std::max(1.0, attack * rate)),
        decayCoef_(std::exp(-1.0 / std::max(1.0, decay * rate))),
        releaseCoef_(std::exp(-1.0 / std::max(1.0, release * rate))),
        sustain_(sustain) {}

  void Release() { releasing_ = true; }
  double Next() {
    if (releasing_) {
      level_ *= releaseCoef_;
    } else if (attacking_) {
      level_ += attackStep_;
      if (level_ >= 1.0) {
        level_ = 1.0;
        attacking_ = false;
      }
    } else {
      level_ = sustain_ + (level_ - sustain_) * decayCoef_;
    }
    return level_;
  }

 private:
  double attackStep_, decayCoef_, releaseCoef_, sustain_;
  double level_ = 0.0;
  bool attacking_ = true, releasing_ = false;
};

// A feedback comb with a damped loop, and a Schroeder all-pass: the two parts of the reverb.
class Comb {
 public:
  explicit Comb(size_t length) : buffer_(length, 0.0f) {}
  float Process(float x, float feedback, float damp) {
    const float out = buffer_[index_];
    store_ = out * (1.0f - damp) + store_ * damp;
    buffer_[index_] = x + store_ * feedback;
    if (++index_ == buffer_.size()) index_ = 0;
    return out;
  }

 private:
  std::vector<float> buffer_;
  size_t index_ = 0;
  float store_ = 0.0f;
};

class AllPass {
 public:
  explicit AllPass(size_t length) : buffer_(length, 0.0f) {}
  float Process(float x) {
    const float delayed = buffer_[index_];
    buffer_[index_] = x + delayed * 0.5f;
    if (++index_ == buffer_.size()) index_ = 0;
    return delayed - x;
  }

 private:
  std::vector<float> buffer_;
  size_t index_ = 0;
};

// A small hall: eight damped combs and four all-passes per side, the right side detuned from
// the left so the tail is wide. Mono in, stereo out.
class Reverb {
 public:
  Reverb(double roomSize, double damp, double rate = kRate);
  void Process(float in, float& left, float& right);

 private:
  std::vector<Comb> combsL_, combsR_;
  std::vector<AllPass> allPassL_, allPassR_;
  float feedback_, damp_;
};

// Never lets |x| reach the ceiling: linear up to knee * ceiling, then a tanh curve towards it.
inline double SoftLimit(double x, double ceiling, double knee = 0.75) {
  const double threshold = ceiling * knee;
  const double a = std::fabs(x);
  if (a <= threshold) return x;
  const double room = ceiling - threshold;
  return std::copysign(threshold + room * std::tanh((a - threshold) / room), x);
}

// Saturation that keeps unity slope at zero and tops out at 1.
inline double Drive(double x, double amount) {
  return std::tanh(x * amount) / std::tanh(amount);
}

// The same curve with its scale worked out once, for voices that run it on every sample.
class Saturator {
 public:
  explicit Saturator(double amount) : amount_(amount), scale_(1.0 / std::tanh(amount)) {}
  double operator()(double x) const { return std::tanh(x * amount_) * scale_; }

 private:
  double amount_, scale_;
};

// Mono sound in floating point, -1..1, at `rate`.
struct Mono {
  int rate = kRate;
  std::vector<double> samples;

  explicit Mono(double seconds = 0.0, int sampleRate = kRate)
      : rate(sampleRate), samples(static_cast<size_t>(seconds * sampleRate + 0.5), 0.0) {}
  size_t size() const { return samples.size(); }
  double Time(size_t i) const { return static_cast<double>(i) / rate; }
};

// Scales the sound so its loudest sample lands on drive * ceiling, then soft-limits it under the
// ceiling: a drive above 1 squeezes the peaks for punch, and nothing can clip.
void Finish(std::vector<double>& samples, double ceiling, double drive = 1.0);

// Raised-cosine fades of `count` samples at the start and the end, so a sound never starts or
// stops on a step.
void FadeEnds(std::vector<double>& samples, size_t fadeIn, size_t fadeOut);

// The last step of every one-shot sample: takes out any DC offset, fades the first and last
// milliseconds so the sound starts and ends on silence, and scales it down if that left a peak
// above `ceiling`.
void Seal(std::vector<double>& samples, int rate, double ceiling);

}  // namespace skyrift::forge::audio
