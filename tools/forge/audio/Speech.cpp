// Spoken announcements: espeak-ng says the words, then the forge lowers the voice, gives it a
// metallic edge and squeezes it through a radio band with a squelch at either end.
#include "audio/Speech.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

#include "audio/Wav.h"

extern char** environ;

namespace skyrift::forge::audio {

namespace {

constexpr double kSlowdown = 0.88;  // read the voice this fast: lower and a little more measured

bool RunSynthesiser(const std::string& text, const std::filesystem::path& wavFile,
                    std::string& error) {
  std::vector<std::string> args = {"espeak-ng", "-v", "en-us",          "-s", "145", "-p",
                                   "32",        "-w", wavFile.string(), text};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, "espeak-ng", nullptr, nullptr, argv.data(), environ);
  if (spawned != 0) {
    error = std::string("cannot run espeak-ng: ") + std::strerror(spawned);
    return false;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      error = std::string("waiting for espeak-ng: ") + std::strerror(errno);
      return false;
    }
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    error = "espeak-ng failed on \"" + text + "\"";
    return false;
  }
  return true;
}

// Cuts the synthesiser's leading and trailing silence, keeping a short margin.
void TrimSilence(Mono& voice) {
  const double threshold = 0.01;
  const auto& s = voice.samples;
  size_t first = 0, last = s.size();
  while (first < last && std::fabs(s[first]) < threshold) ++first;
  while (last > first && std::fabs(s[last - 1]) < threshold) --last;
  const size_t margin = static_cast<size_t>(0.02 * voice.rate);
  first = first > margin ? first - margin : 0;
  last = std::min(s.size(), last + margin);
  voice.samples = std::vector<double>(s.begin() + static_cast<std::ptrdiff_t>(first),
                                      s.begin() + static_cast<std::ptrdiff_t>(last));
}

// Plays the voice back slower with cubic interpolation, which lowers its pitch and formants.
std::vector<double> Slow(const std::vector<double>& in, double speed) {
  const size_t count = static_cast<size_t>((in.size() - 1) / speed);
  std::vector<double> out(count);
  auto at = [&in](std::ptrdiff_t i) {
    return in[static_cast<size_t>(std::clamp<std::ptrdiff_t>(i, 0, in.size() - 1))];
  };
  for (size_t i = 0; i < count; ++i) {
    const double pos = i * speed;
    const auto k = static_cast<std::ptrdiff_t>(pos);
    const double f = pos - k;
    const double y0 = at(k - 1), y1 = at(k), y2 = at(k + 1), y3 = at(k + 2);
    // Catmull-Rom
    out[i] = y1 + 0.5 * f *
                      (y2 - y0 +
                       f * (2.0 * y0 - 5.0 * y1 + 4.0 * y2 - y3 + f * (3.0 * (y1 - y2) + y3 - y0)));
  }
  return out;
}

void ShipComputer(Mono& voice, uint64_t seed) {
  const int rate = voice.rate;
  const std::vector<double> slow = Slow(voice.samples, kSlowdown);
  double peak = 0.0;
  for (double s : slow) peak = std::max(peak, std::fabs(s));
  const double gain = peak > 0.0 ? 1.0 / peak : 1.0;

  // Squelch: a breath of static before and after the words, which then goes through the same
  // radio as the voice.
  const size_t burst = static_cast<size_t>(0.06 * rate);
  const size_t lead = burst + static_cast<size_t>(0.02 * rate);
  std::vector<double> dry(lead + slow.size() + lead, 0.0);
  for (size_t i = 0; i < slow.size(); ++i) dry[lead + i] = slow[i] * gain;
  Random rng(seed);
  for (size_t i = 0; i < burst; ++i) {
    const double env = 0.3 * std::sin(kPi * static_cast<double>(i) / burst);
    dry[i] += env * rng.Bipolar();
    dry[dry.size() - burst + i] += env * rng.Bipolar();
  }

  // A 3 ms comb gives the metallic, boxed-in colour of a speaker in a bulkhead.
  const size_t comb = static_cast<size_t>(0.003 * rate);
  // Radio: slightly overdriven, then only the telephone band with a presence lift.
  Svf lowCut1(330.0, 0.7, rate), lowCut2(330.0, 0.7, rate);
  Svf highCut1(3200.0, 0.7, rate), highCut2(3200.0, 0.7, rate), presence(1800.0, 1.2, rate);
  std::vector<double> out(dry.size());
  for (size_t i = 0; i < dry.size(); ++i) {
    const double metal = dry[i] + 0.45 * (i >= comb ? dry[i - comb] : 0.0);
    double v = Drive(metal * 1.2, 2.2);
    v = lowCut2.High(lowCut1.High(v));
    v = highCut2.Low(highCut1.Low(v));
    out[i] = presence.Bell(v, 4.0);
  }
  voice.samples = std::move(out);
  FadeEnds(voice.samples, 32, 32);
  Finish(voice.samples, 0.9, 1.6);  // pressed loud: it must carry over the music
}

}  // namespace

bool MakeAnnouncement(const std::string& text, const std::filesystem::path& scratchFile,
                      Sound& sound, std::string& error) {
  Mono voice;
  const bool spoken =
      RunSynthesiser(text, scratchFile, error) && ReadWav(scratchFile, voice, error);
  std::error_code ignored;
  std::filesystem::remove(scratchFile, ignored);
  if (!spoken) return false;
  TrimSilence(voice);
  if (voice.samples.size() < static_cast<size_t>(voice.rate / 4)) {
    error = "espeak-ng produced no speech for \"" + text + "\"";
    return false;
  }
  uint64_t seed = 1469598103934665603ull;  // FNV-1a of the text: each line its own static
  for (unsigned char c : text) seed = (seed ^ c) * 1099511628211ull;
  ShipComputer(voice, seed);
  sound = Sound{voice.rate, 1, std::move(voice.samples)};
  return true;
}

}  // namespace skyrift::forge::audio
