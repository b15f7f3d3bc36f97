// Renders a song table into a seamless stereo loop. Every note is written around the loop (a
// tail that runs past the end continues at the start), and every effect with memory (echo,
// reverb, filters, the limiter) is warmed up on the loop's own end before its real pass, so
// the last sample flows into the first exactly as if the piece had always been playing.
#include "audio/Sequencer.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "audio/Dsp.h"

namespace skyrift::forge::audio {

namespace {

constexpr int kStepsPerBar = 16;
constexpr int kBassLowest = 38;      // D2: bass roots sit between D2 and C#3
constexpr int kPadLowest = 52;       // pads are voiced between E3 and E5
constexpr double kCeiling = 0.84;    // leaves the encoder room for its small overshoots
constexpr double kTargetRms = 0.16;  // about -16 dBFS: full, with room for the kick to punch

// --- The grid and the loop -------------------------------------------------------------------

struct Bus {
  explicit Bus(size_t n) : left(n, 0.0f), right(n, 0.0f) {}
  void Add(size_t i, double l, double r) {
    i %= left.size();
    left[i] += static_cast<float>(l);
    right[i] += static_cast<float>(r);
  }
  std::vector<float> left, right;
};

// Everything a voice may write to. Pads, bass and arpeggio go to `ducked`, which each kick
// pushes down for a moment; that breathing is what makes the loop drive.
struct Mix {
  explicit Mix(size_t n)
      : dry(n), ducked(n), reverbSend(n, 0.0f), echoSend(n, 0.0f), duck(n, 1.0f) {}
  size_t size() const { return duck.size(); }
  void Send(std::vector<float>& bus, size_t i, double v) {
    bus[i % bus.size()] += static_cast<float>(v);
  }
  Bus dry, ducked;
  std::vector<float> reverbSend, echoSend, duck;
};

struct Pan {
  double left, right;
};
Pan PanLaw(double position) {  // -1 left .. 1 right, constant power
  const double angle = (position + 1.0) * kPi / 4.0;
  return {std::cos(angle), std::sin(angle)};
}

// Runs a stateful process over the loop as if it had been playing forever: a warm-up over the
// loop's last `warm` samples, then the pass that writes.
template <typename Step>
void AroundLoop(size_t n, size_t warm, Step&& step) {
  warm = std::min(warm, n);
  for (size_t i = n - warm; i < n; ++i) step(i, false);
  for (size_t i = 0; i < n; ++i) step(i, true);
}

// Linear fade over the last part of a voice's tail, so cutting it off is never heard.
double TailFade(size_t j, size_t total) {
  const size_t fade = total / 8;
  return j + fade < total ? 1.0 : static_cast<double>(total - j) / static_cast<double>(fade);
}

// --- Parsing the tables ----------------------------------------------------------------------

std::vector<std::string> Split(const char* text, char separator) {
  std::vector<std::string> parts;
  std::string current;
  for (const char* p = text; *p; ++p) {
    const bool split =
        separator == ' ' ? std::isspace(static_cast<unsigned char>(*p)) != 0 : *p == separator;
    if (!split) {
      current += *p;
    } else if (!current.empty()) {
      parts.push_back(current);
      current.clear();
    }
  }
  if (!current.empty()) parts.push_back(current);
  return parts;
}

// Reads a pitch letter with its sharp or flat from the front of `text`; -1 if there is none.
int ParsePitchClass(const std::string& text, size_t& length) {
  static constexpr int kLetters[] = {9, 11, 0, 2, 4, 5, 7};  // A..G
  if (text.empty() || text[0] < 'A' || text[0] > 'G') return -1;
  int pc = kLetters[text[0] - 'A'];
  length = 1;
  if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
    pc += text[1] == '#' ? 1 : -1;
    length = 2;
  }
  return (pc + 12) % 12;
}

int ParseNote(const std::string& token) {  // "C#5" -> 73; -1 if malformed
  size_t length = 0;
  const int pc = ParsePitchClass(token, length);
  if (pc < 0 || token.size() != length + 1 ||
      !std::isdigit(static_cast<unsigned char>(token[length]))) {
    return -1;
  }
  return 12 * (token[length] - '0' + 1) + pc;
}

struct Chord {
  int root = 0;
  std::vector<int> intervals;
};

bool ParseChord(const std::string& token, Chord& chord) {
  struct Quality {
    const char* suffix;
    std::vector<int> intervals;
  };
  static const Quality kQualities[] = {
      {"", {0, 4, 7}},          {"m", {0, 3, 7}},    {"7", {0, 4, 7, 10}}, {"m7", {0, 3, 7, 10}},
      {"maj7", {0, 4, 7, 11}},  {"sus2", {0, 2, 7}}, {"sus4", {0, 5, 7}},  {"add9", {0, 4, 7, 14}},
      {"madd9", {0, 3, 7, 14}}, {"5", {0, 7}},       {"dim", {0, 3, 6}}};
  size_t length = 0;
  chord.root = ParsePitchClass(token, length);
  if (chord.root < 0) return false;
  const std::string suffix = token.substr(length);
  for (const Quality& q : kQualities) {
    if (suffix == q.suffix) {
      chord.intervals = q.intervals;
      return true;
    }
  }
  return false;
}

double Velocity(char c) {
  switch (c) {
    case 'X':
      return 1.0;
    case 'x':
      return 0.75;
    case 'o':
      return 0.45;
    default:
      return 0.0;
  }
}

// Picks the pad's notes for a chord: each chord tone in one of two octaves, choosing the set
// that moves least from the previous chord, so the pads glide rather than jump.
std::vector<int> VoiceChord(const Chord& chord, const std::vector<int>& previous) {
  std::vector<int> classes;
  for (int interval : chord.intervals) {
    const int pc = (chord.root + interval) % 12;
    if (std::find(classes.begin(), classes.end(), pc) == classes.end()) classes.push_back(pc);
  }
  std::vector<int> best;
  double bestCost = std::numeric_limits<double>::max();
  const int n = static_cast<int>(classes.size());
  for (int mask = 0; mask < (1 << n); ++mask) {
    std::vector<int> notes;
    for (int i = 0; i < n; ++i) {
      notes.push_back(kPadLowest + (classes[i] - kPadLowest % 12 + 12) % 12 +
                      ((mask >> i) & 1) * 12);
    }
    std::sort(notes.begin(), notes.end());
    double cost = 0.6 * std::max(0, notes.back() - notes.front() - 12);  // keep it close
    if (previous.empty()) {
      double mean = 0.0;
      for (int note : notes) mean += note;
      cost += std::fabs(mean / n - 62.0);
    } else {
      for (int note : notes) {
        int nearest = 99;
        for (int p : previous) nearest = std::min(nearest, std::abs(note - p));
        cost += nearest;
      }
    }
    if (cost < bestCost) {
      bestCost = cost;
      best = notes;
    }
  }
  return best;
}

// --- Drums: one-shots made once, then mixed at each hit --------------------------------------

struct DrumKit {
  std::vector<float> kick, snare, openHat, crash;
  std::vector<float> hats[4];  // a few takes, so a run of 16ths never sounds like a machine gun
};

template <typename Voice>
std::vector<float> OneShot(double seconds, Voice&& voice) {
  std::vector<float> shot(static_cast<size_t>(seconds * kRate));
  for (size_t i = 0; i < shot.size(); ++i) {
    shot[i] = static_cast<float>(voice(static_cast<double>(i) / kRate) * TailFade(i, shot.size()));
  }
  return shot;
}

// Six square waves at clashing pitches: the metal of a hat or a cymbal.
double Metal(Oscillator (&osc)[6], double scale) {
  static constexpr double kHz[] = {263.0, 400.0, 421.0, 474.0, 587.0, 845.0};
  double v = 0.0;
  for (int k = 0; k < 6; ++k) v += osc[k].Pulse(kHz[k] * scale, 0.5);
  return v / 6.0;
}

DrumKit MakeKit(const Timbre& timbre, Random& rng) {
  DrumKit kit;
  {
    Oscillator body;
    Svf click(3000.0, 0.7);
    kit.kick = OneShot(0.42, [&](double t) {
      const double f = timbre.kickHz + 130.0 * std::exp(-t / 0.028);
      const double attack = std::min(1.0, t / 0.0008);
      const double tone = Drive(body.Sine(f) * 1.3, 1.4) * std::exp(-t / 0.2);
      return attack * (tone + 0.35 * click.High(rng.Bipolar()) * std::exp(-t / 0.002));
    });
  }
  {
    Oscillator drum1, drum2;
    Svf wires(3200.0, 0.6), low(700.0, 0.7);
    kit.snare = OneShot(0.32, [&](double t) {
      const double drop = std::exp(-t / 0.015);
      const double shell =
          0.6 * drum1.Sine(185.0 + 80.0 * drop) + 0.3 * drum2.Sine(330.0 + 60.0 * drop);
      const double noise = rng.Bipolar();
      const double rattle = wires.Band(noise) + 0.5 * low.High(noise);
      return std::min(1.0, t / 0.0005) *
             (shell * std::exp(-t / 0.045) + 0.75 * rattle * std::exp(-t / 0.11));
    });
  }
  auto metallic = [&rng](double seconds, double decay, double cutoff, double noiseMix) {
    Oscillator osc[6];
    for (Oscillator& o : osc) o = Oscillator(rng.Uniform());
    Svf high(cutoff, 0.8), ring(cutoff * 1.4, 1.2);
    return OneShot(seconds, [&](double t) {
      const double v = (1.0 - noiseMix) * Metal(osc, 2.0) + noiseMix * rng.Bipolar();
      return (high.High(v) + 0.5 * ring.Band(v)) * std::min(1.0, t / 0.0004) * std::exp(-t / decay);
    });
  };
  for (auto& hat : kit.hats) hat = metallic(0.09, 0.017, 7500.0, 0.55);
  kit.openHat = metallic(0.5, 0.12, 7000.0, 0.5);
  kit.crash = metallic(2.0, 0.5, 4500.0, 0.7);
  return kit;
}

void MixShot(Mix& mix, size_t at, const std::vector<float>& shot, double gain, double pan,
             double reverb) {
  const Pan p = PanLaw(pan);
  for (size_t j = 0; j < shot.size(); ++j) {
    const double v = shot[j] * gain;
    mix.dry.Add(at + j, v * p.left, v * p.right);
    if (reverb > 0.0) mix.Send(mix.reverbSend, at + j, v * reverb);
  }
}

// Marks the pads and bass to duck under a kick: a fast dip and a smooth return.
void DuckUnderKick(Mix& mix, size_t at, double depth) {
  const size_t length = static_cast<size_t>(0.35 * kRate);
  const double attack = 0.004 * kRate;
  for (size_t j = 0; j < length; ++j) {
    const double shape = j < attack ? j / attack : std::exp(-(j - attack) / (0.09 * kRate));
    float& g = mix.duck[(at + j) % mix.size()];
    g = std::min(g, static_cast<float>(1.0 - depth * shape));
  }
}

// --- Pitched voices --------------------------------------------------------------------------

struct Note {
  size_t start;  // sample where the note begins
  size_t gate;   // samples it is held
  int midi;
  int fromMidi;  // the pitch it glides from (the same as midi for none)
  double velocity;
};

void RenderBass(Mix& mix, const Note& note, double brightness, const Timbre& timbre) {
  const double hz = MidiToHz(note.midi);
  Oscillator saw1, saw2(0.37), body;
  Svf filter;
  Adsr env(0.003, 0.3, 0.75, 0.025);
  const Saturator drive(1.6);
  const size_t total = note.gate + static_cast<size_t>(0.12 * kRate);
  const double cutoff = timbre.bassCutoff * (0.5 + 0.5 * brightness);
  for (size_t j = 0; j < total; ++j) {
    if (j == note.gate) env.Release();
    if (j % 16 == 0) {
      const double t = static_cast<double>(j) / kRate;
      filter.Set(cutoff + timbre.bassSweep * brightness * note.velocity * std::exp(-t / 0.08), 1.4);
    }
    const double v = 0.5 * saw1.Saw(hz) + 0.35 * saw2.Saw(hz * 1.006) + 0.5 * body.Sine(hz);
    const double out = drive(filter.Low(v) * 1.4) * env.Next() * note.velocity * TailFade(j, total);
    mix.ducked.Add(note.start + j, out, out);
  }
}

void RenderPad(Mix& mix, size_t start, size_t gate, const std::vector<int>& notes,
               double brightness, const Timbre& timbre, Random& rng) {
  struct Strand {
    Oscillator osc;
    double hz;
    Pan pan;
  };
  std::vector<Strand> strands;
  for (int note : notes) {
    for (int k = -1; k <= 1; ++k) {
      const double hz = MidiToHz(note) * std::exp2(k * timbre.padDetuneCents / 1200.0);
      strands.push_back({Oscillator(rng.Uniform()), hz, PanLaw(0.7 * k)});
    }
  }
  Svf left, right;
  Oscillator sweep(rng.Uniform());
  Adsr env(0.2, 1.2, 0.85, 0.35);
  const size_t total = gate + static_cast<size_t>(1.6 * kRate);
  const double gain = DbToGain(timbre.padDb) / std::sqrt(static_cast<double>(strands.size()));
  for (size_t j = 0; j < total; ++j) {
    if (j == gate) env.Release();
    if (j % 32 == 0) {
      const double cutoff = timbre.padCutoff * (0.35 + 0.65 * brightness) *
                            (1.0 + 0.2 * sweep.Sine(0.25, kRate / 32.0));
      left.Set(cutoff, 0.9);
      right.Set(cutoff, 0.9);
    }
    double l = 0.0, r = 0.0;
    for (Strand& s : strands) {
      const double v = s.osc.Saw(s.hz);
      l += v * s.pan.left;
      r += v * s.pan.right;
    }
    const double e = env.Next() * gain * TailFade(j, total);
    l = left.Low(l) * e;
    r = right.Low(r) * e;
    mix.ducked.Add(start + j, l, r);
    mix.Send(mix.reverbSend, start + j, 0.5 * (l + r));
  }
}

void RenderArp(Mix& mix, const Note& note, double pan, double brightness, const Timbre& timbre) {
  const double hz = MidiToHz(note.midi);
  Oscillator pulse, saw;
  Svf filter;
  Adsr env(0.002, 0.16, 0.0, 0.05);
  const size_t total = note.gate + static_cast<size_t>(0.3 * kRate);
  const Pan p = PanLaw(pan);
  const double cutoff = timbre.arpCutoff * (0.3 + 0.7 * brightness);
  for (size_t j = 0; j < total; ++j) {
    if (j == note.gate) env.Release();
    if (j % 16 == 0) {
      const double t = static_cast<double>(j) / kRate;
      filter.Set(cutoff * (0.4 + 1.6 * std::exp(-t / 0.05)), 1.3);
    }
    const double v = filter.Low(0.6 * pulse.Pulse(hz, 0.25) + 0.4 * saw.Saw(hz * 1.003));
    const double out = v * env.Next() * note.velocity * TailFade(j, total);
    mix.ducked.Add(note.start + j, out * p.left, out * p.right);
    mix.Send(mix.echoSend, note.start + j, 0.5 * out);
  }
}

void RenderLead(Mix& mix, const Note& note, double pan, const Timbre& timbre) {
  Oscillator saw, pulse(0.25), vibrato;
  Svf filter;
  Adsr env(0.006, 0.35, 0.7, 0.09);
  const Saturator drive(1.3);
  const size_t total = note.gate + static_cast<size_t>(0.45 * kRate);
  const Pan p = PanLaw(pan);
  constexpr int kControl = 16;  // pitch and filter move this many samples at a time
  double hz = 0.0;
  for (size_t j = 0; j < total; ++j) {
    if (j % kControl == 0) {
      const double t = static_cast<double>(j) / kRate;
      // Glide from the previous note, then a vibrato that blooms on held notes.
      const double glide = (note.fromMidi - note.midi) * std::exp(-t / 0.012);
      const double depth = 0.22 * std::clamp((t - 0.18) / 0.25, 0.0, 1.0);
      hz = MidiToHz(note.midi + glide + depth * vibrato.Sine(5.6, kRate / double{kControl}));
      filter.Set(timbre.leadCutoff * (0.55 + 0.9 * std::exp(-t / 0.12)), 1.1);
    }
    const double v = (1.0 - timbre.leadPulseMix) * saw.Saw(hz) +
                     timbre.leadPulseMix * pulse.Pulse(hz * 1.004, timbre.leadPulseWidth);
    const double out = drive(filter.Low(v)) * env.Next() * note.velocity * TailFade(j, total);
    mix.dry.Add(note.start + j, out * p.left, out * p.right);
    mix.Send(mix.echoSend, note.start + j, out);
    mix.Send(mix.reverbSend, note.start + j, 0.6 * out);
  }
}

// White noise swept up through a band-pass over `length` samples: the lift into a new section.
void RenderRiser(Mix& mix, size_t start, size_t length, double gain, Random& rng) {
  Svf left(400.0, 1.5), right(400.0, 1.5);
  for (size_t j = 0; j < length; ++j) {
    const double x = static_cast<double>(j) / length;
    if (j % 16 == 0) {
      left.Set(400.0 * std::pow(18.0, x), 1.5);
      right.Set(430.0 * std::pow(18.0, x), 1.5);
    }
    const double level = gain * x * x;
    const double l = left.Band(rng.Bipolar()) * level, r = right.Band(rng.Bipolar()) * level;
    mix.dry.Add(start + j, l, r);
    mix.Send(mix.reverbSend, start + j, 0.5 * (l + r));
  }
}

// --- Effects and master ----------------------------------------------------------------------

// Ping-pong echo: the send enters on the left and each repeat crosses sides, darker each time.
void ApplyEcho(Mix& mix, size_t delay, double feedback, double wet) {
  std::vector<float> lineL(delay, 0.0f), lineR(delay, 0.0f);
  OnePole toneL(3500.0), toneR(3500.0);
  size_t index = 0;
  AroundLoop(mix.size(), 6 * kRate, [&](size_t i, bool write) {
    const double dl = lineL[index], dr = lineR[index];
    lineL[index] = static_cast<float>(mix.echoSend[i] + toneR.Low(dr) * feedback);
    lineR[index] = static_cast<float>(toneL.Low(dl) * feedback);
    if (++index == delay) index = 0;
    if (write) mix.dry.Add(i, dl * wet, dr * wet);
  });
}

void ApplyReverb(Mix& mix, double size, double wet) {
  Reverb reverb(size, 0.45);
  OnePole lowCut(250.0);  // keep the bass out of the room, it only muddies it
  AroundLoop(mix.size(), 6 * kRate, [&](size_t i, bool write) {
    float l = 0.0f, r = 0.0f;
    reverb.Process(static_cast<float>(lowCut.High(mix.reverbSend[i])), l, r);
    if (write) mix.dry.Add(i, l * wet, r * wet);
  });
}

// Look-ahead limiter: the gain dips smoothly just before any peak that would pass the ceiling
// and recovers slowly after, so the mix is never clipped and never pumps audibly.
void Limit(std::vector<float>& left, std::vector<float>& right, double ceiling) {
  const size_t n = left.size();
  const size_t reach = static_cast<size_t>(0.004 * kRate);
  std::vector<float> need(n, 1.0f);
  for (size_t i = 0; i < n; ++i) {
    const double peak = std::max(std::fabs(left[i]), std::fabs(right[i]));
    if (peak <= ceiling) continue;
    const auto g = static_cast<float>(ceiling / peak);
    for (size_t k = 0; k <= 2 * reach; ++k) {
      float& slot = need[(i + n - reach + k) % n];
      slot = std::min(slot, g);
    }
  }
  // A moving average half as wide as the marked span stays under every peak's need.
  const size_t half = reach / 2;
  std::vector<float> smooth(n);
  double sum = 0.0;
  for (size_t k = 0; k <= 2 * half; ++k) sum += need[(n - half + k) % n];
  for (size_t i = 0; i < n; ++i) {
    smooth[i] = static_cast<float>(sum / (2 * half + 1));
    sum += need[(i + half + 1) % n] - need[(i + n - half) % n];
  }
  const double recover = 1.0 - std::exp(-1.0 / (0.08 * kRate));
  double gain = 1.0;
  AroundLoop(n, kRate, [&](size_t i, bool write) {
    gain = std::min<double>(smooth[i], gain + (1.0 - gain) * recover);
    if (write) {
      left[i] = static_cast<float>(std::clamp(left[i] * gain, -ceiling, ceiling));
      right[i] = static_cast<float>(std::clamp(right[i] * gain, -ceiling, ceiling));
    }
  });
}

// --- Reading a song into notes ---------------------------------------------------------------

class Renderer {
 public:
  Renderer(const Song& song, size_t totalSteps)
      : song_(song),
        timbre_(song.timbre),
        samplesPerStep_(kRate * 60.0 / song.bpm / 4.0),
        mix_(At(totalSteps)),
        rng_(song.seed),
        kit_(MakeKit(song.timbre, rng_)) {}

  size_t At(double step) const { return static_cast<size_t>(std::llround(step * samplesPerStep_)); }

  bool RenderSection(const Section& section, size_t firstStep, std::string& error) {
    const auto chords = Split(section.chords, ' ');
    const auto drums = Split(section.drums, ' ');
    const auto lead = Split(section.lead, ' ');
    if (static_cast<int>(chords.size()) != section.bars) return Fail(error, "chord count");
    if (drums.size() != 1 && static_cast<int>(drums.size()) != section.bars) {
      return Fail(error, "groove count");
    }
    if (!lead.empty() && lead.size() != static_cast<size_t>(section.bars) * kStepsPerBar) {
      return Fail(error, "lead has " + std::to_string(lead.size()) + " steps");
    }
    std::vector<Chord> stepChords;  // the chord under every step of the section
    for (int bar = 0; bar < section.bars; ++bar) {
      const auto parts = Split(chords[bar].c_str(), ',');
      if (parts.empty() || kStepsPerBar % parts.size() != 0) return Fail(error, "chord split");
      const int span = kStepsPerBar / static_cast<int>(parts.size());
      for (size_t p = 0; p < parts.size(); ++p) {
        Chord chord;
        if (!ParseChord(parts[p], chord)) return Fail(error, "chord " + parts[p]);
        const size_t step = firstStep + bar * kStepsPerBar + p * span;
        if (section.pad) {
          voicing_ = VoiceChord(chord, voicing_);
          RenderPad(mix_, At(step), At(step + span) - At(step), voicing_, section.brightness,
                    timbre_, rng_);
        }
        for (int k = 0; k < span; ++k) stepChords.push_back(chord);
      }
      const std::string& grooveName = drums.size() == 1 ? drums[0] : drums[bar];
      if (!PlayGroove(grooveName, firstStep + bar * kStepsPerBar, error)) return false;
    }
    const size_t steps = static_cast<size_t>(section.bars) * kStepsPerBar;
    if (*section.bass && !PlayBass(section, firstStep, stepChords, error)) return false;
    if (*section.arp && !PlayArp(section, firstStep, stepChords, error)) return false;
    if (!lead.empty() && !PlayLead(section, firstStep, stepChords, lead, error)) return false;
    if (section.crash)
      MixShot(mix_, At(firstStep), kit_.crash, Level(timbre_.hatDb + 2.0), -0.3, 0.4);
    if (section.riser) {
      const size_t start = At(firstStep + steps - kStepsPerBar);
      RenderRiser(mix_, start, At(firstStep + steps) - start, Level(timbre_.hatDb + 2.0), rng_);
    }
    return true;
  }

  std::vector<float> Master() {
    ApplyEcho(mix_, At(timbre_.delaySteps), 0.38, 0.35);
    ApplyReverb(mix_, timbre_.reverbSize, 1.8);
    const size_t n = mix_.size();
    std::vector<float> left(n), right(n);
    for (size_t i = 0; i < n; ++i) {
      left[i] = mix_.dry.left[i] + mix_.ducked.left[i] * mix_.duck[i];
      right[i] = mix_.dry.right[i] + mix_.ducked.right[i] * mix_.duck[i];
    }
    OnePole rumbleL(28.0), rumbleR(28.0);  // nothing useful lives below the kick
    AroundLoop(n, 2 * kRate, [&](size_t i, bool write) {
      const double l = rumbleL.High(left[i]), r = rumbleR.High(right[i]);
      if (write) {
        left[i] = static_cast<float>(l);
        right[i] = static_cast<float>(r);
      }
    });
    double power = 0.0, peak = 0.0;
    for (size_t i = 0; i < n; ++i) {
      power += left[i] * left[i] + right[i] * right[i];
      peak = std::max({peak, std::fabs(double{left[i]}), std::fabs(double{right[i]})});
    }
    const double rms = std::sqrt(power / (2.0 * n));
    const double gain =
        std::min(kTargetRms / std::max(rms, 1e-9), 1.6 * kCeiling / std::max(peak, 1e-9));
    for (size_t i = 0; i < n; ++i) {
      left[i] *= static_cast<float>(gain);
      right[i] *= static_cast<float>(gain);
    }
    Limit(left, right, kCeiling);

    // The ends dip to silence over 3 ms: where a player's decoder leaves a gap at the loop
    // point, the gap is silent instead of a click.
    std::vector<double> envelope(n, 1.0);
    FadeEnds(envelope, 132, 132);
    std::vector<float> stereo(2 * n);
    for (size_t i = 0; i < n; ++i) {
      stereo[2 * i] = static_cast<float>(left[i] * envelope[i]);
      stereo[2 * i + 1] = static_cast<float>(right[i] * envelope[i]);
    }
    return stereo;
  }

 private:
  bool Fail(std::string& error, const std::string& what) {
    error = std::string(song_.title) + ": bad " + what;
    return false;
  }
  static double Level(double db) { return DbToGain(db); }

  bool PlayGroove(const std::string& name, size_t barStep, std::string& error) {
    const auto found = std::find_if(song_.grooves.begin(), song_.grooves.end(),
                                    [&](const Groove& g) { return name == g.name; });
    if (found == song_.grooves.end()) return Fail(error, "groove " + name);
    const char* lanes[] = {found->kick, found->snare, found->hat, found->openHat};
    for (const char* lane : lanes) {
      if (std::string(lane).size() != kStepsPerBar) return Fail(error, "groove " + name);
    }
    for (int k = 0; k < kStepsPerBar; ++k) {
      const size_t at = At(barStep + k);
      if (const double v = Velocity(found->kick[k]); v > 0.0) {
        MixShot(mix_, at, kit_.kick, v * Level(timbre_.kickDb), 0.0, 0.0);
        DuckUnderKick(mix_, at, timbre_.duck * v);
      }
      if (const double v = Velocity(found->snare[k]); v > 0.0) {
        MixShot(mix_, at, kit_.snare, v * Level(timbre_.snareDb), 0.05, 0.25);
      }
      if (const double v = Velocity(found->hat[k]); v > 0.0) {
        MixShot(mix_, at, kit_.hats[hatTake_++ % 4], v * Level(timbre_.hatDb), 0.3, 0.0);
      }
      if (const double v = Velocity(found->openHat[k]); v > 0.0) {
        MixShot(mix_, at, kit_.openHat, v * Level(timbre_.hatDb - 2.0), 0.35, 0.1);
      }
    }
    return true;
  }

  // Turns a 16-step pattern into notes: a note runs until the next note or rest.
  template <typename PitchOf>
  bool PlayPattern(const char* pattern, size_t firstStep, const std::vector<Chord>& stepChords,
                   PitchOf&& pitchOf, std::vector<Note>& notes, std::string& error) {
    if (std::string(pattern).size() != kStepsPerBar)
      return Fail(error, std::string("pattern ") + pattern);
    for (size_t k = 0; k < stepChords.size(); ++k) {
      const char c = pattern[k % kStepsPerBar];
      if (c == '-' || c == '.') continue;
      const int midi = pitchOf(c, stepChords[k]);
      if (midi < 0) return Fail(error, std::string("pattern ") + pattern);
      size_t length = 1;
      while (k + length < stepChords.size() && (k + length) % kStepsPerBar != 0 &&
             pattern[(k + length) % kStepsPerBar] == '-') {
        ++length;
      }
      const size_t start = At(firstStep + k);
      const double velocity = std::isupper(static_cast<unsigned char>(c)) ? 1.0 : 0.8;
      notes.push_back({start, At(firstStep + k + length) - start, midi, midi, velocity});
    }
    return true;
  }

  bool PlayBass(const Section& section, size_t firstStep, const std::vector<Chord>& stepChords,
                std::string& error) {
    std::vector<Note> notes;
    auto pitchOf = [](char c, const Chord& chord) {
      const int root = kBassLowest + (chord.root - kBassLowest % 12 + 12) % 12;
      switch (std::tolower(static_cast<unsigned char>(c))) {
        case 'r':
          return root;
        case 'o':
          return root + 12;
        case 'f':
          return root + 7;
        default:
          return -1;
      }
    };
    if (!PlayPattern(section.bass, firstStep, stepChords, pitchOf, notes, error)) return false;
    for (Note& note : notes) {
      note.velocity *= Level(timbre_.bassDb);
      RenderBass(mix_, note, section.brightness, timbre_);
    }
    return true;
  }

  bool PlayArp(const Section& section, size_t firstStep, const std::vector<Chord>& stepChords,
               std::string& error) {
    std::vector<Note> notes;
    const int lowest = timbre_.arpLowest;
    auto pitchOf = [lowest](char c, const Chord& chord) {
      if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
      const int index = c - '0';
      const int n = static_cast<int>(chord.intervals.size());
      const int root = lowest + (chord.root - lowest % 12 + 12) % 12;
      return root + chord.intervals[index % n] + 12 * (index / n);
    };
    if (!PlayPattern(section.arp, firstStep, stepChords, pitchOf, notes, error)) return false;
    for (size_t i = 0; i < notes.size(); ++i) {
      notes[i].velocity *= Level(timbre_.arpDb);
      RenderArp(mix_, notes[i], i % 2 ? 0.45 : -0.45, section.brightness, timbre_);
    }
    return true;
  }

  // Moves a note by whole scale steps in the song's key; a note outside the scale moves from
  // the scale note below it.
  int Diatonic(int midi, int steps) const {
    const int relative = midi - song_.key;
    int octave = static_cast<int>(std::floor(relative / 12.0));
    const int within = relative - 12 * octave;
    int degree = 0;
    for (int d = 0; d < 7; ++d) {
      if (song_.scale[d] <= within) degree = d;
    }
    int target = degree + steps;
    octave += static_cast<int>(std::floor(target / 7.0));
    target = ((target % 7) + 7) % 7;
    return song_.key + 12 * octave + song_.scale[target];
  }

  // The second voice: a scale third (or whatever `steps` says) from the lead, except where the
  // lead sits on a chord tone and that third does not; then the nearest chord tone at least a
  // minor third away, so held notes always agree with the pads.
  int Harmonize(int midi, int steps, const Chord& chord) const {
    auto inChord = [&chord](int note) {
      for (int interval : chord.intervals) {
        if ((chord.root + interval) % 12 == note % 12) return true;
      }
      return false;
    };
    const int third = Diatonic(midi, steps);
    if (!inChord(midi) || inChord(third)) return third;
    const int direction = steps < 0 ? -1 : 1;
    for (int note = midi + 3 * direction; std::abs(note - midi) <= 9; note += direction) {
      if (inChord(note)) return note;
    }
    return third;
  }

  bool PlayLead(const Section& section, size_t firstStep, const std::vector<Chord>& stepChords,
                const std::vector<std::string>& tokens, std::string& error) {
    int previous = -1, previousHarmony = -1;  // the notes sounding just before, for a glide
    for (size_t k = 0; k < tokens.size(); ++k) {
      const std::string& token = tokens[k];
      if (token == ".") previous = previousHarmony = -1;
      if (token == "." || token == "-") continue;
      const int midi = ParseNote(token);
      if (midi < 0) return Fail(error, "lead note " + token);
      size_t length = 1;
      while (k + length < tokens.size() && tokens[k + length] == "-") ++length;
      const size_t start = At(firstStep + k);
      const Note note{start, At(firstStep + k + length) - start, midi,
                      previous < 0 ? midi : previous, Level(timbre_.leadDb)};
      RenderLead(mix_, note, 0.0, timbre_);
      previous = midi;
      if (section.harmony != 0) {
        const int harmony = Harmonize(midi, section.harmony, stepChords[k]);
        const Note second{note.start, note.gate, harmony,
                          previousHarmony < 0 ? harmony : previousHarmony, note.velocity * 0.55};
        RenderLead(mix_, second, 0.3, timbre_);
        previousHarmony = harmony;
      }
    }
    return true;
  }

  const Song& song_;
  const Timbre& timbre_;
  double samplesPerStep_;
  Mix mix_;
  Random rng_;
  DrumKit kit_;
  std::vector<int> voicing_;
  unsigned hatTake_ = 0;
};

}  // namespace

bool RenderSong(const Song& song, std::vector<float>& stereo, std::string& error) {
  size_t totalSteps = 0;
  for (const Section& section : song.sections)
    totalSteps += static_cast<size_t>(section.bars) * kStepsPerBar;
  if (totalSteps == 0 || song.bpm <= 0.0) {
    error = std::string(song.title) + ": empty song";
    return false;
  }
  Renderer renderer(song, totalSteps);
  size_t step = 0;
  for (const Section& section : song.sections) {
    if (!renderer.RenderSection(section, step, error)) return false;
    step += static_cast<size_t>(section.bars) * kStepsPerBar;
  }
  stereo = renderer.Master();
  return true;
}

}  // namespace skyrift::forge::audio
