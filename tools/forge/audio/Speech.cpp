// Spoken announcements: flite says the words in a clear female voice, then the forge passes
// them through a light radio: a telephone band, a touch of drive and a presence lift, with a
// breath of squelch at either end. The words stay plain enough for a player to catch over a
// fight.
#include "audio/Speech.h"

#include <flite/flite.h>

#include <mutex>

extern "C" cst_voice* register_cmu_us_slt(const char* voxdir);

namespace skyrift::forge::audio {

namespace {

cst_voice* Voice() {
  static cst_voice* voice = nullptr;
  static std::once_flag once;
  std::call_once(once, [] {
    flite_init();
    voice = register_cmu_us_slt(nullptr);
  });
  return voice;
}

bool Synthesise(const std::string& text, Mono& voice, std::string& error) {
  cst_voice* speaker = Voice();
  if (!speaker) {
    error = "flite has no voice";
    return false;
  }
  cst_wave* wave = flite_text_to_wave(text.c_str(), speaker);
  if (!wave) {
    error = "flite could not say \"" + text + "\"";
    return false;
  }
  voice.rate = cst_wave_sample_rate(wave);
  voice.samples.resize(static_cast<size_t>(cst_wave_num_samples(wave)));
  for (size_t i = 0; i < voice.samples.size(); ++i) {
    voice.samples[i] = cst_wave_samples(wave)[i] / 32768.0;
  }
  delete_wave(wave);
  return true;
}

// Cuts the synthesiser's leading and trailing silence, keeping a short margin.
void TrimSilence(Mono& voice) {
  const double threshold = 0.01;
  const auto& s = voice.samples;
  size_t first = 0, last = s.size();
  while (first < last && std::fabs(s[first]) < threshold) ++first;
  while (last > first && std::fabs(s[last - 1]) < threshold) --last;
  const size_t margin = static_cast<size_t>(0.03 * voice.rate);
  first = first > margin ? first - margin : 0;
  last = std::min(s.size(), last + margin);
  voice.samples = std::vector<double>(s.begin() + static_cast<std::ptrdiff_t>(first),
                                      s.begin() + static_cast<std::ptrdiff_t>(last));
}

void ShipRadio(Mono& voice, uint64_t seed) {
  const int rate = voice.rate;
  double peak = 0.0;
  for (double s : voice.samples) peak = std::max(peak, std::fabs(s));
  const double gain = peak > 0.0 ? 1.0 / peak : 1.0;

  // Squelch: a short, soft breath of static before and after the words.
  const size_t burst = static_cast<size_t>(0.05 * rate);
  const size_t lead = burst + static_cast<size_t>(0.03 * rate);
  std::vector<double> dry(lead + voice.size() + lead, 0.0);
  for (size_t i = 0; i < voice.size(); ++i) dry[lead + i] = voice.samples[i] * gain;
  Random rng(seed);
  for (size_t i = 0; i < burst; ++i) {
    const double env = 0.12 * std::sin(kPi * static_cast<double>(i) / burst);
    dry[i] += env * rng.Bipolar();
    dry[dry.size() - burst + i] += env * rng.Bipolar();
  }

  Svf lowCut1(330.0, 0.7, rate), lowCut2(330.0, 0.7, rate);
  Svf highCut1(3800.0, 0.7, rate), highCut2(3800.0, 0.7, rate), presence(2000.0, 1.0, rate);
  const Saturator drive(1.2);
  std::vector<double> out(dry.size());
  for (size_t i = 0; i < dry.size(); ++i) {
    double v = drive(dry[i]);
    v = lowCut2.High(lowCut1.High(v));
    v = highCut2.Low(highCut1.Low(v));
    out[i] = presence.Bell(v, 3.0);
  }
  voice.samples = std::move(out);
  Finish(voice.samples, 0.9, 1.2);
}

}  // namespace

bool MakeAnnouncement(const std::string& text, Sound& sound, std::string& error) {
  Mono voice;
  if (!Synthesise(text, voice, error)) return false;
  TrimSilence(voice);
  if (voice.samples.size() < static_cast<size_t>(voice.rate / 4)) {
    error = "flite produced no speech for \"" + text + "\"";
    return false;
  }
  uint64_t seed = 1469598103934665603ull;  // FNV-1a of the text: each line its own static
  for (unsigned char c : text) seed = (seed ^ c) * 1099511628211ull;
  ShipRadio(voice, seed);
  sound = Sound{voice.rate, 1, std::move(voice.samples)};
  return true;
}

}  // namespace skyrift::forge::audio
