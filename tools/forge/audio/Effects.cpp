// The game's sound effects. Each one is a few layers (a transient for the attack, a body, a low
// end for weight) mixed, then finished under a ceiling so nothing clips. Levels differ on
// purpose: the shot plays five times a second and sits low, the explosions and the bomb hit hard.
#include "audio/Effects.h"

namespace skyrift::forge::audio {

namespace {

double Ramp(double t, double attack) {
  return t < attack ? t / attack : 1.0;
}

// Feedback echo with a darkening loop, in place.
void Echo(std::vector<double>& samples, int rate, double seconds, double feedback, double mix) {
  const size_t delay = static_cast<size_t>(seconds * rate);
  std::vector<double> line(delay, 0.0);
  OnePole tone(3000.0, rate);
  size_t index = 0;
  for (double& s : samples) {
    const double echoed = line[index];
    line[index] = s + tone.Low(echoed) * feedback;
    s += echoed * mix;
    if (++index == delay) index = 0;
  }
}

Sound ToSound(Mono&& mono) {
  return Sound{mono.rate, 1, std::move(mono.samples)};
}

// One sweep for both bullet-time edges: a stack of detuned saws a fifth and an octave apart,
// gliding exponentially from `fromHz` to `toHz`, with a tremolo whose speed follows the pitch so
// the sound itself seems to slow down or speed up.
Mono TimeSweep(double seconds, double fromHz, double toHz, uint64_t seed) {
  Mono out(seconds);
  Random rng(seed);
  const double ratios[] = {1.0, 1.5, 2.0, 1.003, 0.5};
  const double levels[] = {0.5, 0.3, 0.25, 0.4, 0.35};
  Oscillator oscs[5];
  Oscillator tremolo;
  Svf tone, air;
  const double octaves = std::log2(toHz / fromHz);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = out.Time(i);
    const double progress = t / seconds;
    const double freq = fromHz * std::exp2(octaves * progress);
    const double brightness = (freq - std::min(fromHz, toHz)) / std::fabs(toHz - fromHz);
    double v = 0.0;
    for (int k = 0; k < 5; ++k) v += levels[k] * oscs[k].Saw(freq * ratios[k]);
    tone.Set(350.0 + 5500.0 * brightness * brightness, 1.4);
    v = tone.Low(v);
    air.Set(freq * 3.0, 2.5);
    v += 0.35 * air.Band(rng.Bipolar());
    const double wobble = 0.6 + 0.4 * tremolo.Sine(2.0 + 16.0 * brightness);
    out.samples[i] = v * wobble;
  }
  return out;
}

}  // namespace

Sound MakeExplosion() {
  Mono out(0.85);
  Random rng(0xE7B10510u);
  Svf body, crack(1500.0, 0.7), debris1(2400.0, 2.0), debris2(2400.0, 2.0), rumbleNoise(140.0, 0.7);
  Oscillator sub;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = out.Time(i);
    const double noise = rng.Bipolar();
    const double snap = crack.High(noise) * std::exp(-t / 0.008);
    body.Set(260.0 + 5200.0 * std::exp(-t / 0.11), 0.8);
    const double blast = body.Low(noise) * Ramp(t, 0.002) * std::exp(-t / 0.2);
    const double drop = 36.0 + 64.0 * std::exp(-t / 0.09);
    const double thump = Drive(sub.Sine(drop), 1.6) * Ramp(t, 0.004) * std::exp(-t / 0.26);
    const double rumble = 3.0 * rumbleNoise.Low(noise) * std::exp(-t / 0.33);
    // Debris: sparse sparks that thin out as the blast dies.
    const double spark = rng.Uniform() < 0.006 * std::exp(-t / 0.3) ? rng.Bipolar() * 6.0 : 0.0;
    const double crackle = debris2.Band(debris1.Band(spark));
    out.samples[i] = 0.9 * blast + 0.5 * snap + 0.9 * thump + 0.6 * rumble + 0.3 * crackle;
  }
  FadeEnds(out.samples, 0, 6000);
  Finish(out.samples, 0.9, 1.15);
  return ToSound(std::move(out));
}

Sound MakeBossEnter() {
  // Three low siren whoops over a swelling roar, with an echo that makes the space feel huge.
  Mono out(2.3);
  Random rng(0xB055E7E4u);
  Oscillator saw1, saw2, square, sub;
  Svf siren, roar;
  constexpr double kWhoop = 0.62, kGap = 0.7;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = out.Time(i);
    const int whoopIndex = std::min(2, static_cast<int>(t / kGap));
    const double local = t - whoopIndex * kGap;
    double alarm = 0.0;
    if (local < kWhoop) {
      const double rise = local / kWhoop;
      const double f = 68.0 + 52.0 * std::sqrt(rise) + whoopIndex * 4.0;
      const double env =
          Ramp(local, 0.03) * (local > kWhoop - 0.08 ? (kWhoop - local) / 0.08 : 1.0);
      const double tone =
          0.5 * saw1.Saw(f) + 0.4 * saw2.Saw(f * 1.007) + 0.4 * square.Pulse(f * 2.0, 0.5);
      siren.Set(300.0 + 2600.0 * rise, 2.2);
      alarm = Drive(siren.Low(tone) * 1.6, 2.0) * env;
    } else {
      siren.Low(0.0);  // let the filter ring out between whoops
    }
    const double swell = std::sin(kPi * std::min(1.0, t / 2.3)) * Ramp(t, 0.3);
    roar.Set(180.0 + 120.0 * swell, 1.0);
    const double rumble = 2.5 * roar.Low(rng.Bipolar()) * swell;
    const double depth = 0.7 * sub.Sine(41.0) * swell;
    out.samples[i] = 0.8 * alarm + 0.5 * rumble + depth;
  }
  Echo(out.samples, out.rate, 0.19, 0.35, 0.35);
  FadeEnds(out.samples, 64, 8000);
  Finish(out.samples, 0.9);
  return ToSound(std::move(out));
}

Sound MakeBulletTimeOn() {
  Mono out = TimeSweep(1.0, 880.0, 98.0, 0xB7A00001u);
  FadeEnds(out.samples, 200, 14000);
  Finish(out.samples, 0.9, 1.2);
  return ToSound(std::move(out));
}

Sound MakeBulletTimeOff() {
  Mono out = TimeSweep(0.75, 98.0, 880.0, 0xB7A00002u);
  // Swell in so it reads as time gathering speed, not as a new event.
  for (size_t i = 0; i < out.size(); ++i) out.samples[i] *= 0.35 + 0.65 * Ramp(out.Time(i), 0.4);
  FadeEnds(out.samples, 200, 3000);
  Finish(out.samples, 0.9, 1.2);
  return ToSound(std::move(out));
}

Sound MakeBulletTimeLoop() {
  // Every component completes a whole number of cycles in the loop's four seconds, so the last
  // sample runs straight into the first. Frequencies are given as cycles per loop (hertz times
  // four) and read from one sine table of the loop's length, which keeps that exact.
  constexpr size_t kFrames = size_t{4} * kRate;
  struct Partial {
    uint64_t leftCycles, rightCycles;
    double level;
  };
  // A low A (55 Hz) with its fifth and octave; the sides a quarter hertz apart for a slow beat.
  constexpr Partial kVoices[] = {
      {220, 221, 1.0}, {330, 329, 0.55}, {440, 441, 0.45}, {881, 880, 0.12}};
  constexpr int kHarmonics = 14;
  constexpr uint64_t kPulseCycles = 4;  // the slow heartbeat, once a second
  constexpr uint64_t kSweepCycles = 1;  // the brightness swell, once per loop
  std::vector<double> sine(kFrames);
  for (size_t k = 0; k < kFrames; ++k) sine[k] = std::sin(2.0 * kPi * k / kFrames);
  auto wave = [&sine](uint64_t cycles, size_t i, size_t offset = 0) {
    return sine[(cycles * i + offset) % kFrames];
  };

  Sound sound{kRate, 2, std::vector<double>(kFrames * 2, 0.0)};
  for (size_t i = 0; i < kFrames; ++i) {
    const double sweep = 0.5 + 0.5 * wave(kSweepCycles, i);
    const double beat = 0.5 - 0.5 * wave(kPulseCycles, i, kFrames / 4);  // a cosine
    const double pulse = 0.45 + 0.55 * beat * beat;
    // Harmonic n falls off as fade^n / n; the fade closes when the swell is low.
    const double fade = std::exp(-1.0 / (2.0 + 7.0 * sweep));
    double left = 0.0, right = 0.0;
    for (const Partial& voice : kVoices) {
      double level = voice.level;
      for (uint64_t n = 1; n <= kHarmonics; ++n) {
        level *= fade;
        left += level / n * wave(voice.leftCycles * n, i);
        right += level / n * wave(voice.rightCycles * n, i);
      }
    }
    sound.samples[2 * i] = left * pulse;
    sound.samples[2 * i + 1] = right * pulse;
  }
  // Scale and soft-limit both sides together so the stereo image stays put.
  double peak = 0.0;
  for (double s : sound.samples) peak = std::max(peak, std::fabs(s));
  for (double& s : sound.samples) s = SoftLimit(s * 0.8 / peak, 0.85);
  return sound;
}

Sound MakePlayerFire() {
  // Short and bright but soft-edged: it repeats five times a second under everything else.
  Mono out(0.11);
  Random rng(0xF12Eu);
  Oscillator pulse, saw, body;
  Svf tone, click(4000.0, 0.7);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = out.Time(i);
    const double f = 520.0 + 1300.0 * std::exp(-t / 0.028);
    const double v =
        0.55 * pulse.Pulse(f, 0.3) + 0.35 * saw.Saw(f * 1.006) + 0.4 * body.Sine(f * 0.5);
    tone.Set(1800.0 + 6000.0 * std::exp(-t / 0.025), 0.9);
    const double env = Ramp(t, 0.0015) * std::exp(-t / 0.035);
    const double snap = click.High(rng.Bipolar()) * std::exp(-t / 0.002);
    out.samples[i] = tone.Low(v) * env + 0.3 * snap;
  }
  FadeEnds(out.samples, 0, 1200);
  Finish(out.samples, 0.5);
  return ToSound(std::move(out));
}

Sound MakeBomb() {
  // A boom in three layers (crack, blast, sub drop) and a long rolling tail through a big room.
  Mono out(2.9);
  Random rng(0xB0B0B0u);
  Svf blast, crack(1200.0, 0.7), rumbleFilter(160.0, 0.8);
  Oscillator sub;
  Reverb room(0.92, 0.6);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = out.Time(i);
    const double noise = rng.Bipolar();
    const double snap = crack.High(noise) * std::exp(-t / 0.015);
    blast.Set(110.0 + 3200.0 * std::exp(-t / 0.28), 0.85);
    const double body = blast.Low(noise) * Ramp(t, 0.003) * std::exp(-t / 0.45);
    const double drop = 26.0 + 50.0 * std::exp(-t / 0.22);
    const double boom = Drive(sub.Sine(drop) * 1.3, 1.8) * Ramp(t, 0.005) * std::exp(-t / 0.6);
    const double rumble = 3.5 * rumbleFilter.Low(noise) * Ramp(t, 0.08) * std::exp(-t / 1.0);
    const double dry = 0.8 * body + 0.5 * snap + 0.9 * boom + 0.6 * rumble;
    float left = 0.0f, right = 0.0f;
    room.Process(static_cast<float>(body + 0.3 * snap), left, right);
    out.samples[i] = dry + 2.2 * (left + right);
  }
  FadeEnds(out.samples, 0, 30000);
  Finish(out.samples, 0.9, 1.15);
  return ToSound(std::move(out));
}

Sound MakeEnemyFire() {
  // A duller, lower shot than the player's, so the two are told apart in a crowd.
  Mono out(0.17);
  Oscillator tri, square;
  Svf tone;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = out.Time(i);
    const double f = 240.0 + 700.0 * std::exp(-t / 0.04);
    const double v = 0.7 * tri.Triangle(f) + 0.4 * square.Pulse(f * 0.998, 0.5);
    tone.Set(900.0 + 2500.0 * std::exp(-t / 0.05), 1.2);
    out.samples[i] = tone.Low(v) * Ramp(t, 0.002) * std::exp(-t / 0.05);
  }
  FadeEnds(out.samples, 0, 1500);
  Finish(out.samples, 0.6);
  return ToSound(std::move(out));
}

Sound MakeEnemyFire2() {
  // A plasma blob: a frequency-modulated tone whose sidebands collapse as it leaves, with fizz.
  Mono out(0.24);
  Random rng(0xE2F12Eu);
  Oscillator carrier, modulator;
  Svf fizz(5000.0, 1.5);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = out.Time(i);
    const double f = 180.0 + 160.0 * std::exp(-t / 0.06);
    const double index = 4.0 * std::exp(-t / 0.05);
    const double m = modulator.Sine(f * 1.5);
    const double v = std::sin(2.0 * kPi * carrier.phase() + index * m);
    carrier.Sine(f);
    const double hiss = fizz.Band(rng.Bipolar()) * std::exp(-t / 0.03);
    out.samples[i] = (0.8 * v + 0.3 * hiss) * Ramp(t, 0.003) * std::exp(-t / 0.07);
  }
  FadeEnds(out.samples, 0, 2000);
  Finish(out.samples, 0.6);
  return ToSound(std::move(out));
}

Sound MakeUpgradeDing() {
  // A small struck bell: inharmonic partials, the high ones dying first, a faint strike noise,
  // and a pair of near-unison partials that shimmer as they beat.
  struct Partial {
    double ratio, level, decay;
  };
  constexpr Partial kPartials[] = {{1.0, 1.0, 0.6},    {1.004, 0.5, 0.55}, {2.0, 0.45, 0.4},
                                   {2.76, 0.35, 0.28}, {4.07, 0.2, 0.16},  {5.4, 0.12, 0.1},
                                   {0.5, 0.15, 0.5}};
  constexpr double kFundamental = 1174.66;  // D6, in the key of the title music
  Mono out(1.6);
  Random rng(0xD1A6u);
  Svf strike(6000.0, 1.0);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = out.Time(i);
    double v = 0.0;
    for (const Partial& p : kPartials) {
      v += p.level * std::exp(-t / p.decay) * std::sin(2.0 * kPi * kFundamental * p.ratio * t);
    }
    v += 0.25 * strike.Band(rng.Bipolar()) * std::exp(-t / 0.004);
    out.samples[i] = v * Ramp(t, 0.001);
  }
  FadeEnds(out.samples, 0, 4000);
  Finish(out.samples, 0.7);
  return ToSound(std::move(out));
}

}  // namespace skyrift::forge::audio
