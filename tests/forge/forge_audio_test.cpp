// The sounds and music the forge leaves beside the game: each sample in the format its load
// mode names, of a sensible length, audible and never clipped, and shaped for its use (sweeps
// that fall and rise, weight in the blasts, voices in a radio band); the bullet-time loop and the
// music seamless at their loop points; the two pieces distinct; the same bytes on every run; and
// a clear failure when the forge cannot finish.
#include <gtest/gtest.h>
#include <lame/lame.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;

const fs::path kGameDir = SKYRIFT_GAME_DIR;
const fs::path kForge = fs::path(SKYRIFT_GAME_DIR) / ".." / "forge";

std::vector<uint8_t> ReadBytes(const fs::path& file) {
  std::ifstream stream(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

uint16_t U16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t U32(const uint8_t* p) {
  return U16(p) | static_cast<uint32_t>(U16(p + 2)) << 16;
}

// Uncompressed PCM, samples scaled to -1..1 and interleaved.
struct Pcm {
  int channels = 0, bits = 0, rate = 0;
  std::vector<double> samples;
  double Seconds() const { return static_cast<double>(samples.size()) / channels / rate; }
  std::vector<double> Channel(int c) const {
    std::vector<double> out;
    for (size_t i = c; i < samples.size(); i += channels) out.push_back(samples[i]);
    return out;
  }
};

bool ParseWav(const std::vector<uint8_t>& bytes, Pcm& pcm, std::string& why) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    why = "not a RIFF WAVE file";
    return false;
  }
  for (size_t pos = 12; pos + 8 <= bytes.size();) {
    const uint8_t* chunk = bytes.data() + pos;
    const size_t size = U32(chunk + 4);
    if (pos + 8 + size > bytes.size()) break;
    if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
      if (U16(chunk + 8) != 1) {
        why = "not uncompressed PCM";
        return false;
      }
      pcm.channels = U16(chunk + 10);
      pcm.rate = static_cast<int>(U32(chunk + 12));
      pcm.bits = U16(chunk + 22);
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if ((pcm.bits != 8 && pcm.bits != 16) || pcm.channels < 1 || pcm.rate <= 0) break;
      const uint8_t* data = chunk + 8;
      for (size_t i = 0; i + pcm.bits / 8 <= size; i += pcm.bits / 8) {
        pcm.samples.push_back(pcm.bits == 8 ? (data[i] - 128) / 128.0
                                            : static_cast<int16_t>(U16(data + i)) / 32768.0);
      }
      if (pcm.samples.empty()) why = "no samples";
      return !pcm.samples.empty();
    }
    pos += 8 + size + (size & 1);
  }
  why = "no usable fmt and data chunks";
  return false;
}

template <typename T>
double Peak(const std::vector<T>& s) {
  double peak = 0.0;
  for (T v : s) peak = std::max(peak, std::fabs(static_cast<double>(v)));
  return peak;
}

template <typename T>
double Rms(const std::vector<T>& s) {
  double sum = 0.0;
  for (T v : s) sum += static_cast<double>(v) * v;
  return s.empty() ? 0.0 : std::sqrt(sum / s.size());
}

// --- Samples ----------------------------------------------------------------------------------

struct ExpectedSample {
  const char* file;
  int channels, bits;  // mode 0x30: 1, 16; 0x28: 1, 8; 0x52: 2, 16
  double minSeconds, maxSeconds;
};

constexpr ExpectedSample kSamples[] = {
    {"explosion.wav", 1, 16, 0.5, 1.2},
    {"boss1_enter.wav", 1, 16, 1.5, 3.0},
    {"bullet-time_act.wav", 1, 8, 0.4, 1.6},
    {"bullet-time_deact.wav", 1, 16, 0.4, 1.6},
    {"bullet-time_dur.wav", 2, 16, 1.0, 8.0},
    {"player_fire.wav", 1, 16, 0.03, 0.1499},  // fired five times a second: must stay short
    {"player_bomb.wav", 1, 8, 1.5, 4.0},
    {"enemy_fire.wav", 1, 16, 0.05, 0.5},
    {"enemy_fire2.wav", 1, 16, 0.05, 0.5},
    {"upgrade_ding.wav", 1, 16, 0.3, 2.5},
    {"bt_depleted.wav", 1, 16, 0.8, 4.0},
    {"shields_depleted.wav", 1, 16, 0.8, 4.0},
    {"large_incoming.wav", 1, 16, 1.0, 5.0},
    {"massive enemy.wav", 1, 16, 1.2, 6.0},
    {"stage1_complete.wav", 1, 16, 0.8, 4.0},
};

TEST(ForgedSamples, EachHasItsModesFormatASensibleLengthAndASafeAudibleLevel) {
  for (const ExpectedSample& expected : kSamples) {
    SCOPED_TRACE(expected.file);
    Pcm pcm;
    std::string why;
    ASSERT_TRUE(ParseWav(ReadBytes(kGameDir / expected.file), pcm, why)) << why;
    EXPECT_EQ(pcm.channels, expected.channels);
    EXPECT_EQ(pcm.bits, expected.bits);
    // The voices at the synthesiser's 16 kHz, the effects at the mixer's rate.
    EXPECT_TRUE(pcm.rate == 16000 || pcm.rate == 44100) << pcm.rate;
    EXPECT_GE(pcm.Seconds(), expected.minSeconds);
    EXPECT_LE(pcm.Seconds(), expected.maxSeconds);
    EXPECT_LT(Peak(pcm.samples), 0.99) << "reaches full scale";
    EXPECT_GT(Rms(pcm.samples), 0.03) << "too quiet to hear in the mix";
    if (expected.channels == 2) continue;  // the seamless loop has no ends
    // A one-shot starts and ends on silence (within its dither) and carries no DC offset.
    const double silence = expected.bits == 8 ? 2.5 / 128 : 0.002;
    EXPECT_LE(std::fabs(pcm.samples.front()), silence);
    EXPECT_LE(std::fabs(pcm.samples.back()), silence);
    double mean = 0.0;
    for (double v : pcm.samples) mean += v;
    EXPECT_LT(std::fabs(mean / pcm.samples.size()), 0.002) << "DC offset";
  }
}

TEST(ForgedSamples, BulletTimeLoopRunsFromItsLastSampleIntoItsFirstWithoutAStep) {
  Pcm pcm;
  std::string why;
  ASSERT_TRUE(ParseWav(ReadBytes(kGameDir / "bullet-time_dur.wav"), pcm, why)) << why;
  for (int c = 0; c < pcm.channels; ++c) {
    SCOPED_TRACE(c == 0 ? "left" : "right");
    const std::vector<double> x = pcm.Channel(c);
    const size_t n = x.size();
    ASSERT_GT(n, 3u);
    // The loop point may step and bend no more than the sound does anywhere inside: played in a
    // loop, x[n-1] is followed by x[0].
    double step = 0.0, bend = 0.0;
    for (size_t i = 1; i + 1 < n; ++i) {
      step = std::max(step, std::fabs(x[i] - x[i - 1]));
      bend = std::max(bend, std::fabs(x[i + 1] - 2.0 * x[i] + x[i - 1]));
    }
    const double lsb = 1.0 / 32768.0;
    EXPECT_LE(std::fabs(x[0] - x[n - 1]), step + lsb);
    EXPECT_LE(std::fabs(x[0] - 2.0 * x[n - 1] + x[n - 2]), bend + 2 * lsb);
    EXPECT_LE(std::fabs(x[1] - 2.0 * x[0] + x[n - 1]), bend + 2 * lsb);
  }
}

// --- What each sample is for ------------------------------------------------------------------

Pcm LoadSample(const std::string& file) {
  Pcm pcm;
  std::string why;
  EXPECT_TRUE(ParseWav(ReadBytes(kGameDir / file), pcm, why)) << file << ": " << why;
  return pcm;
}

constexpr size_t kFrame = 1024;

// In-place radix-2 transform; the size is a power of two.
void Fft(std::vector<std::complex<double>>& bins) {
  const size_t n = bins.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(bins[i], bins[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const std::complex<double> step = std::polar(1.0, -2.0 * std::numbers::pi / len);
    for (size_t i = 0; i < n; i += len) {
      std::complex<double> w = 1.0;
      for (size_t k = 0; k < len / 2; ++k, w *= step) {
        const std::complex<double> a = bins[i + k], b = bins[i + k + len / 2] * w;
        bins[i + k] = a + b;
        bins[i + k + len / 2] = a - b;
      }
    }
  }
}

// Power per bin of Hann-windowed frames of `size` (a power of two) every `hop` samples.
template <typename Each>
void Frames(const std::vector<double>& x, size_t size, size_t hop, Each&& each) {
  std::vector<std::complex<double>> bins(size);
  for (size_t start = 0; start + size <= x.size(); start += hop) {
    for (size_t i = 0; i < size; ++i) {
      bins[i] = x[start + i] * (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / size));
    }
    Fft(bins);
    each(bins);
  }
}

// Power per frequency bin (bin k is k * rate / kFrame Hz), summed over Hann-windowed frames of
// the first channel between two fractions of the sound's length.
std::vector<double> PowerSpectrum(const Pcm& pcm, double from = 0.0, double to = 1.0) {
  const std::vector<double> x = pcm.Channel(0);
  const std::vector<double> part(x.begin() + static_cast<std::ptrdiff_t>(from * x.size()),
                                 x.begin() + static_cast<std::ptrdiff_t>(to * x.size()));
  std::vector<double> power(kFrame / 2, 0.0);
  Frames(part, kFrame, kFrame / 2, [&power](const std::vector<std::complex<double>>& bins) {
    for (size_t k = 0; k < kFrame / 2; ++k) power[k] += std::norm(bins[k]);
  });
  return power;
}

// The share of the power between two frequencies.
double BandShare(const std::vector<double>& power, int rate, double lowHz, double highHz) {
  double band = 0.0, total = 0.0;
  for (size_t k = 0; k < power.size(); ++k) {
    const double hz = static_cast<double>(k) * rate / kFrame;
    total += power[k];
    if (hz >= lowHz && hz < highHz) band += power[k];
  }
  return total > 0.0 ? band / total : 0.0;
}

// The power-weighted mean frequency: where a sweep is, roughly.
double Centroid(const std::vector<double>& power, int rate) {
  double weighted = 0.0, total = 0.0;
  for (size_t k = 0; k < power.size(); ++k) {
    weighted += power[k] * static_cast<double>(k) * rate / kFrame;
    total += power[k];
  }
  return total > 0.0 ? weighted / total : 0.0;
}

TEST(ForgedSamples, SoundLikeWhatTheyAreFor) {
  {
    SCOPED_TRACE("bullet time: a falling sweep going in, a rising one coming out");
    const Pcm on = LoadSample("bullet-time_act.wav"), off = LoadSample("bullet-time_deact.wav");
    EXPECT_GT(Centroid(PowerSpectrum(on, 0.0, 0.25), on.rate),
              2.0 * Centroid(PowerSpectrum(on, 0.45, 0.7), on.rate));
    EXPECT_GT(Centroid(PowerSpectrum(off, 0.75, 1.0), off.rate),
              2.0 * Centroid(PowerSpectrum(off, 0.1, 0.3), off.rate));
  }
  for (const char* heavy : {"explosion.wav", "player_bomb.wav", "boss1_enter.wav"}) {
    SCOPED_TRACE(std::string(heavy) + ": weight in the low end");
    const Pcm pcm = LoadSample(heavy);
    EXPECT_GT(BandShare(PowerSpectrum(pcm), pcm.rate, 0.0, 200.0), 0.4);
  }
  {
    SCOPED_TRACE("the 8-bit bomb's quantisation noise is shaped away from the middle of the band");
    // In the last quarter second the boom has died and only the 8-bit noise is left: shaped, it
    // lies far thinner per hertz around 1-4 kHz, where the ear is keenest, than near the top.
    const Pcm bomb = LoadSample("player_bomb.wav");
    const double from = 1.0 - 0.25 / bomb.Seconds();
    const std::vector<double> power = PowerSpectrum(bomb, from, 1.0);
    const double middle = BandShare(power, bomb.rate, 1000.0, 4000.0) / 3000.0;
    const double top = BandShare(power, bomb.rate, 12000.0, 20000.0) / 8000.0;
    EXPECT_GT(top, 10.0 * middle);
  }
  {
    SCOPED_TRACE("the bomb's tail still rumbles in its last second");
    const std::vector<double> bomb = LoadSample("player_bomb.wav").Channel(0);
    const std::vector<double> tail(bomb.end() - 44100, bomb.end() - 11025);
    EXPECT_GT(Rms(tail), 0.01);
  }
  for (const char* line : {"bt_depleted.wav", "shields_depleted.wav", "large_incoming.wav",
                           "massive enemy.wav", "stage1_complete.wav"}) {
    SCOPED_TRACE(std::string(line) + ": a voice squeezed into a radio band");
    const Pcm voice = LoadSample(line);
    const std::vector<double> power = PowerSpectrum(voice);
    EXPECT_GT(BandShare(power, voice.rate, 200.0, 4500.0), 0.9);
    EXPECT_LT(BandShare(power, voice.rate, 5500.0, 1e9), 0.005);
  }
  {
    SCOPED_TRACE("no two samples are the same sound");
    std::vector<std::vector<uint8_t>> seen;
    for (const ExpectedSample& expected : kSamples) {
      const auto bytes = ReadBytes(kGameDir / expected.file);
      EXPECT_EQ(std::count(seen.begin(), seen.end(), bytes), 0) << expected.file;
      seen.push_back(bytes);
    }
  }
}

// --- Music ------------------------------------------------------------------------------------

struct Decoded {
  int rate = 0, channels = 0, kbps = 0;
  std::vector<int16_t> left, right;
  double Seconds() const { return static_cast<double>(left.size()) / rate; }
};

// Decodes with the encoder library's own decoder and trims what the encoder and decoder add at
// either end (the Info tag says how much), leaving exactly the loop a gapless player hears.
bool DecodeMp3(std::vector<uint8_t> bytes, Decoded& out, std::string& why) {
  constexpr int kDecoderDelay = 528 + 1;
  hip_t hip = hip_decode_init();
  if (!hip) {
    why = "no decoder";
    return false;
  }
  std::vector<short> left(1152 * 4), right(1152 * 4);
  mp3data_struct info{};
  int encoderDelay = -1, padding = -1;
  bool failed = false;
  for (size_t pos = 0; pos < bytes.size() && !failed;) {
    const size_t len = std::min<size_t>(4096, bytes.size() - pos);
    int got = hip_decode1_headersB(hip, bytes.data() + pos, len, left.data(), right.data(), &info,
                                   &encoderDelay, &padding);
    pos += len;
    while (got > 0) {
      out.left.insert(out.left.end(), left.begin(), left.begin() + got);
      out.right.insert(out.right.end(), right.begin(), right.begin() + got);
      got = hip_decode1_headersB(hip, nullptr, 0, left.data(), right.data(), &info, &encoderDelay,
                                 &padding);
    }
    failed = got < 0;
  }
  hip_decode_exit(hip);
  if (failed || !info.header_parsed) {
    why = "not a decodable MP3 stream";
    return false;
  }
  if (encoderDelay < 0 || padding < kDecoderDelay) {
    why = "no Info tag with the encoder delay and padding";
    return false;
  }
  const size_t head = static_cast<size_t>(encoderDelay + kDecoderDelay);
  const size_t tail = static_cast<size_t>(padding - kDecoderDelay);
  if (out.left.size() <= head + tail) {
    why = "shorter than its own padding";
    return false;
  }
  for (auto* channel : {&out.left, &out.right}) {
    channel->erase(channel->end() - static_cast<std::ptrdiff_t>(tail), channel->end());
    channel->erase(channel->begin(), channel->begin() + static_cast<std::ptrdiff_t>(head));
  }
  out.rate = info.samplerate;
  out.channels = info.stereo;
  out.kbps = info.bitrate;
  return true;
}

double MeanMagnitude(const std::vector<int16_t>& s, size_t from, size_t count) {
  double sum = 0.0;
  for (size_t i = from; i < from + count; ++i) sum += std::abs(static_cast<int>(s[i]));
  return sum / count;
}

TEST(ForgedMusic, BothPiecesDecodeToDistinctSeamlessLoopsOfOneToTwoMinutes) {
  Decoded pieces[2];
  const char* files[] = {"stage2.mp3", "stage1.mp3"};
  for (int k = 0; k < 2; ++k) {
    SCOPED_TRACE(files[k]);
    Decoded& piece = pieces[k];
    std::string why;
    ASSERT_TRUE(DecodeMp3(ReadBytes(kGameDir / files[k]), piece, why)) << why;
    EXPECT_EQ(piece.rate, 44100);
    EXPECT_EQ(piece.channels, 2);
    EXPECT_GE(piece.kbps, 160);
    EXPECT_GE(piece.Seconds(), 60.0);
    EXPECT_LE(piece.Seconds(), 120.0);
    const double rms = Rms(piece.left);
    EXPECT_GT(rms, 0.05 * 32768) << "too quiet";
    EXPECT_LT(Peak(piece.left), 32767.0) << "clipped";
    EXPECT_LT(Peak(piece.right), 32767.0) << "clipped";
    // Both ends are near silence, so a player that leaves a gap at the loop point joins two
    // quiet moments instead of clicking.
    const size_t n = piece.left.size(), edge = 16;
    for (const auto* channel : {&piece.left, &piece.right}) {
      EXPECT_LT(MeanMagnitude(*channel, 0, edge), 0.1 * rms);
      EXPECT_LT(MeanMagnitude(*channel, n - edge, edge), 0.1 * rms);
    }
  }
  // Two different pieces, not one piece twice: they differ sample by sample about as much as
  // two unrelated signals do.
  const size_t common = std::min(pieces[0].left.size(), pieces[1].left.size());
  double difference = 0.0, level = 0.0;
  for (size_t i = 0; i < common; ++i) {
    const double a = pieces[0].left[i], b = pieces[1].left[i];
    difference += (a - b) * (a - b);
    level += 0.5 * (a * a + b * b);
  }
  EXPECT_GT(difference, level);
}

// The beat: the autocorrelation of the rises in loudness (per 256-sample hop) peaks at the
// beat's period; looked for between 80 and 180 beats a minute, where neither piece has an
// octave twin.
double Tempo(const std::vector<double>& x, int rate) {
  constexpr size_t kHop = 256;
  std::vector<double> onset;
  double previous = 0.0;
  for (size_t start = 1; start + kHop <= x.size(); start += kHop) {
    double energy = 0.0;
    for (size_t i = start; i < start + kHop; ++i) energy += (x[i] - x[i - 1]) * (x[i] - x[i - 1]);
    const double level = std::log(energy + 1e-9);
    onset.push_back(std::max(0.0, level - previous));
    previous = level;
  }
  const double framesPerMinute = 60.0 * rate / kHop;
  const auto shortest = static_cast<size_t>(framesPerMinute / 180.0);
  const auto longest = static_cast<size_t>(framesPerMinute / 80.0);
  std::vector<double> score(longest + 2, 0.0);
  for (size_t lag = shortest - 1; lag <= longest + 1; ++lag) {
    for (size_t i = 0; i + lag < onset.size(); ++i) score[lag] += onset[i] * onset[i + lag];
  }
  size_t best = shortest;
  for (size_t lag = shortest; lag <= longest; ++lag) best = score[lag] > score[best] ? lag : best;
  // A parabola through the peak and its neighbours places it between whole hops.
  const double a = score[best - 1], b = score[best], c = score[best + 1];
  const double offset = 0.5 * (a - c) / (a - 2.0 * b + c);
  return framesPerMinute / (static_cast<double>(best) + offset);
}

// The key: a pitch-class profile of the whole piece matched against the major and minor key
// profiles of music psychology; "D major", "E minor"...
std::string Key(const std::vector<double>& x, int rate) {
  constexpr size_t kSize = 8192;
  double chroma[12] = {};
  Frames(x, kSize, kSize, [&](const std::vector<std::complex<double>>& bins) {
    for (size_t k = 1; k < kSize / 2; ++k) {
      const double hz = static_cast<double>(k) * rate / kSize;
      if (hz < 80.0 || hz > 2000.0) continue;
      const long pitch = std::lround(12.0 * std::log2(hz / 440.0)) + 69;
      chroma[pitch % 12] += std::abs(bins[k]);
    }
  });
  static constexpr double kMajor[] = {6.35, 2.23, 3.48, 2.33, 4.38, 4.09,
                                      2.52, 5.19, 2.39, 3.66, 2.29, 2.88};
  static constexpr double kMinor[] = {6.33, 2.68, 3.52, 5.38, 2.60, 3.53,
                                      2.54, 4.75, 3.98, 2.69, 3.34, 3.17};
  static const char* kNames[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  auto correlation = [&chroma](const double* profile, int tonic) {
    double meanC = 0.0, meanP = 0.0;
    for (int i = 0; i < 12; ++i) meanC += chroma[i] / 12.0, meanP += profile[i] / 12.0;
    double sum = 0.0, c2 = 0.0, p2 = 0.0;
    for (int i = 0; i < 12; ++i) {
      const double dc = chroma[(tonic + i) % 12] - meanC, dp = profile[i] - meanP;
      sum += dc * dp, c2 += dc * dc, p2 += dp * dp;
    }
    return sum / std::sqrt(c2 * p2);
  };
  std::string best;
  double bestScore = -2.0;
  for (int tonic = 0; tonic < 12; ++tonic) {
    for (const bool major : {true, false}) {
      const double score = correlation(major ? kMajor : kMinor, tonic);
      if (score > bestScore) {
        bestScore = score;
        best = std::string(kNames[tonic]) + (major ? " major" : " minor");
      }
    }
  }
  return best;
}

TEST(ForgedMusic, ThePiecesDifferInTempoKeyAndSound) {
  struct Expected {
    const char* file;
    double bpm;
    const char* mode;  // the bright piece in a major key, the dark one in a minor key
  };
  // "stage2.mp3" opens the game (title and stage 1), "stage1.mp3" plays in stage 2.
  constexpr Expected kPieces[] = {{"stage2.mp3", 108.0, "major"}, {"stage1.mp3", 152.0, "minor"}};
  // Octave bands from 63 Hz to 8 kHz, each as its share of the piece's power in dB.
  constexpr int kBands = 8;
  double bands[2][kBands] = {};
  std::string keys[2];
  for (int k = 0; k < 2; ++k) {
    SCOPED_TRACE(kPieces[k].file);
    Decoded piece;
    std::string why;
    ASSERT_TRUE(DecodeMp3(ReadBytes(kGameDir / kPieces[k].file), piece, why)) << why;
    std::vector<double> mono(piece.left.size());
    for (size_t i = 0; i < mono.size(); ++i) mono[i] = (piece.left[i] + piece.right[i]) / 65536.0;
    const double bpm = Tempo(mono, piece.rate);
    EXPECT_NEAR(bpm, kPieces[k].bpm, 0.03 * kPieces[k].bpm);
    keys[k] = Key(mono, piece.rate);
    EXPECT_NE(keys[k].find(kPieces[k].mode), std::string::npos) << keys[k];
    Pcm pcm{1, 16, piece.rate, std::move(mono)};
    const std::vector<double> power = PowerSpectrum(pcm);
    std::printf("%s: %.1f bpm, %s, octave bands (dB):", kPieces[k].file, bpm, keys[k].c_str());
    for (int b = 0; b < kBands; ++b) {
      const double centre = 62.5 * std::exp2(b);
      bands[k][b] =
          10.0 * std::log10(BandShare(power, pcm.rate, centre / M_SQRT2, centre * M_SQRT2));
      std::printf(" %.1f", bands[k][b]);
    }
    std::printf("\n");
  }
  EXPECT_NE(keys[0].substr(0, 2), keys[1].substr(0, 2)) << "the same tonic";
  // Different instruments and mixes: the two spectra differ by several dB across the bands.
  double difference = 0.0;
  for (int b = 0; b < kBands; ++b) difference += std::fabs(bands[0][b] - bands[1][b]) / kBands;
  EXPECT_GT(difference, 2.5);
}

// --- The forge itself -------------------------------------------------------------------------

// Runs the forge through the shell and returns its exit code; its standard error goes to `log`.
int RunForge(const std::string& environment, const fs::path& outDir, const fs::path& log) {
  const std::string command = environment + " '" + kForge.string() + "' audio '" + outDir.string() +
                              "' 2>'" + log.string() + "'";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> FileNames(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ForgeAudio, TwoRunsWriteTheSameSeventeenFilesByteForByte) {
  const skyrift::testing::TempFolder first("forge-audio"), second("forge-audio"),
      logs("forge-audio");
  ASSERT_EQ(RunForge("", first.Path() / "out", logs.Path() / "1.txt"), 0);
  ASSERT_EQ(RunForge("", second.Path() / "out", logs.Path() / "2.txt"), 0);
  const auto names = FileNames(first.Path() / "out");
  EXPECT_EQ(names.size(), 17u) << "fifteen samples and two music files, no scratch files left";
  ASSERT_EQ(names, FileNames(second.Path() / "out"));
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const auto a = ReadBytes(first.Path() / "out" / name);
    EXPECT_FALSE(a.empty());
    EXPECT_TRUE(a == ReadBytes(second.Path() / "out" / name));
  }
}

TEST(ForgeAudio, FailsWithAMessageWhenItCannotFinish) {
  const skyrift::testing::TempFolder scratch("forge-audio");
  const fs::path log = scratch.Path() / "stderr.txt";
  auto logText = [&log] {
    const auto bytes = ReadBytes(log);
    return std::string(bytes.begin(), bytes.end());
  };
  {
    SCOPED_TRACE("output folder under a plain file");
    std::ofstream(scratch.Path() / "file") << "x";
    EXPECT_NE(RunForge("", scratch.Path() / "file" / "out", log), 0);
    EXPECT_NE(logText().find("forge audio"), std::string::npos) << logText();
  }
}

}  // namespace
