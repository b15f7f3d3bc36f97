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
    EXPECT_TRUE(pcm.rate == 22050 || pcm.rate == 44100) << pcm.rate;
    EXPECT_GE(pcm.Seconds(), expected.minSeconds);
    EXPECT_LE(pcm.Seconds(), expected.maxSeconds);
    EXPECT_LT(Peak(pcm.samples), 0.99) << "reaches full scale";
    EXPECT_GT(Rms(pcm.samples), 0.03) << "too quiet to hear in the mix";
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

// Power per frequency bin (bin k is k * rate / kFrame Hz), summed over Hann-windowed frames of
// the first channel between two fractions of the sound's length.
std::vector<double> PowerSpectrum(const Pcm& pcm, double from = 0.0, double to = 1.0) {
  const std::vector<double> x = pcm.Channel(0);
  const size_t first = static_cast<size_t>(from * x.size());
  const size_t last = static_cast<size_t>(to * x.size());
  std::vector<double> power(kFrame / 2, 0.0);
  for (size_t start = first; start + kFrame <= last; start += kFrame / 2) {
    std::vector<std::complex<double>> bins(kFrame);
    for (size_t i = 0; i < kFrame; ++i) {
      bins[i] = x[start + i] * (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / kFrame));
    }
    // In-place radix-2 transform.
    for (size_t i = 1, j = 0; i < kFrame; ++i) {
      size_t bit = kFrame >> 1;
      for (; j & bit; bit >>= 1) j ^= bit;
      j ^= bit;
      if (i < j) std::swap(bins[i], bins[j]);
    }
    for (size_t len = 2; len <= kFrame; len <<= 1) {
      const std::complex<double> step = std::polar(1.0, -2.0 * std::numbers::pi / len);
      for (size_t i = 0; i < kFrame; i += len) {
        std::complex<double> w = 1.0;
        for (size_t k = 0; k < len / 2; ++k, w *= step) {
          const std::complex<double> a = bins[i + k], b = bins[i + k + len / 2] * w;
          bins[i + k] = a + b;
          bins[i + k + len / 2] = a - b;
        }
      }
    }
    for (size_t k = 0; k < kFrame / 2; ++k) power[k] += std::norm(bins[k]);
  }
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
    EXPECT_GT(BandShare(power, voice.rate, 250.0, 4000.0), 0.95);
    EXPECT_LT(BandShare(power, voice.rate, 4500.0, 1e9), 0.005);
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

// --- The forge itself -------------------------------------------------------------------------

struct TempDir {
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "forge-audio-XXXXXX").string();
    if (mkdtemp(pattern.data())) path = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path.empty()) fs::remove_all(path, ignored);
  }
  fs::path path;
};

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
  TempDir first, second, logs;
  ASSERT_FALSE(first.path.empty() || second.path.empty() || logs.path.empty());
  ASSERT_EQ(RunForge("", first.path / "out", logs.path / "1.txt"), 0);
  ASSERT_EQ(RunForge("", second.path / "out", logs.path / "2.txt"), 0);
  const auto names = FileNames(first.path / "out");
  EXPECT_EQ(names.size(), 17u) << "fifteen samples and two music files, no scratch files left";
  ASSERT_EQ(names, FileNames(second.path / "out"));
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const auto a = ReadBytes(first.path / "out" / name);
    EXPECT_FALSE(a.empty());
    EXPECT_TRUE(a == ReadBytes(second.path / "out" / name));
  }
}

TEST(ForgeAudio, FailsWithAMessageWhenItCannotFinish) {
  TempDir scratch;
  ASSERT_FALSE(scratch.path.empty());
  const fs::path log = scratch.path / "stderr.txt";
  auto logText = [&log] {
    const auto bytes = ReadBytes(log);
    return std::string(bytes.begin(), bytes.end());
  };
  {
    SCOPED_TRACE("output folder under a plain file");
    std::ofstream(scratch.path / "file") << "x";
    EXPECT_NE(RunForge("", scratch.path / "file" / "out", log), 0);
    EXPECT_NE(logText().find("forge audio"), std::string::npos) << logText();
  }
  {
    SCOPED_TRACE("no speech synthesiser on the path");
    EXPECT_NE(RunForge("PATH=/nonexistent", scratch.path / "out", log), 0);
    EXPECT_NE(logText().find("espeak-ng"), std::string::npos) << logText();
  }
}

}  // namespace
