// The Windows mixer's own part (the shared one is tests/platform/mix_core_test.cpp): MP3 music
// through the system's ACM codec, and the mix as it reaches a real waveOut device.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <thread>

#include "DecodedSample.h"
#include "MusicLoop.h"
#include "platform/Limiter.h"
#include "platform/Mixer.h"
#include "platform/win32/Mp3.h"
#include "platform/WaveFile.h"
#include "platform/win32/WaveOut.h"

namespace skyrift::platform {
namespace {

using testing::ReadBytes;

std::string GameFile(const char* name) {
  return std::string(SKYRIFT_GAME_DIR) + "/" + name;
}

// A sample quiet enough for the limiter to leave alone reaches the device at the effects' share
// of its level.
int16_t AtEffectsGain(int32_t sample) {
  return static_cast<int16_t>(std::lrint(sample * kEffectsGain));
}

// The music in `bytes` (which must outlive it), read as the layer reads a music file.
std::unique_ptr<JoinedMp3> Music(const std::vector<uint8_t>& bytes) {
  std::string why;
  auto music = OpenMp3(ReadFromMemory(bytes.data(), bytes.size()), bytes.size(), why);
  EXPECT_NE(music, nullptr) << why;
  return music;
}

TEST(Mp3Music, TheAcmCodecDecodesTheGamesMusicAndLoopsIt) {
  const auto file = ReadBytes(GameFile("stage2.mp3"));
  const auto music = Music(file);
  ASSERT_NE(music, nullptr);
  auto once = PlayMp3(*music, false, 44100);
  ASSERT_NE(once, nullptr) << "the system has no ACM MP3 codec";
  std::vector<int16_t> block(2 * 44100);
  size_t frames = 0, loud = 0;
  for (size_t got; (got = once->Read(block.data(), 44100)) > 0;) {
    frames += got;
    loud += std::count_if(block.begin(), block.begin() + got * 2,
                          [](int16_t s) { return std::abs(s) > 1000; });
    ASSERT_LT(frames, 200u * 44100) << "a stream that is not looped ends";
  }
  EXPECT_GE(frames, 60u * 44100) << "a piece of one to two minutes";
  EXPECT_LE(frames, 121u * 44100);
  EXPECT_GT(loud, frames / 4) << "music, not silence";

  auto looped = PlayMp3(*music, true, 44100);
  ASSERT_NE(looped, nullptr);
  size_t total = 0;
  while (total < frames + 5 * 44100) {
    const size_t got = looped->Read(block.data(), 44100);
    ASSERT_EQ(got, 44100u) << "a looping stream never runs dry, at " << total;
    total += got;
  }
}

std::vector<float> AsFloats(const int16_t* pcm, size_t samples) {
  return std::vector<float>(pcm, pcm + samples);
}

// How far from frame `at` of the interleaved stereo `heard` the stretch `expected` lies, within
// `reach` frames either way: the offset at which the two differ least.
long OffsetOf(const std::vector<float>& expected, const std::vector<float>& heard, size_t at,
              long reach) {
  long best = 0;
  double bestDifference = std::numeric_limits<double>::max();
  for (long offset = -reach; offset <= reach; ++offset) {
    const size_t from = (at + offset) * 2;
    double difference = 0.0;
    for (size_t i = 0; i < expected.size() && difference < bestDifference; ++i) {
      const double d = heard[from + i] - expected[i];
      difference += d * d;
    }
    if (difference < bestDifference) bestDifference = difference, best = offset;
  }
  return best;
}

// The codec's output lags its input by kDecoderDelay samples, and the encoder's delay and
// padding are cut counting from there. With that lag right, the loop lines up to the sample
// with the sound the forge encoded: at its start, before its end and across its seam. Wine's
// codec stands in here for the system's.
TEST(Mp3Music, TheLoopLinesUpWithWhatTheForgeEncodedAtItsStartEndAndSeam) {
  const auto file = ReadBytes(GameFile("stage2.mp3"));
  const auto bytes = ReadBytes(std::string(SKYRIFT_ASSET_DIR) + "/stage2.ends.f32");
  constexpr size_t kEnd = 8192, kWindow = 4096;  // frames
  ASSERT_EQ(bytes.size(), 2 * kEnd * 2 * sizeof(float)) << "the forge's two ends of the piece";
  std::vector<float> encoded(bytes.size() / sizeof(float));
  std::memcpy(encoded.data(), bytes.data(), bytes.size());
  // `frames` frames of the forge's sound from frame `at` of its start (or of its end's stretch).
  const auto forged = [&encoded](bool end, size_t at, size_t frames) {
    const auto from = encoded.begin() + static_cast<std::ptrdiff_t>(2 * ((end ? kEnd : 0) + at));
    return std::vector<float>(from, from + static_cast<std::ptrdiff_t>(2 * frames));
  };
  std::vector<float> seam = forged(true, kEnd - kWindow / 2, kWindow / 2);
  const std::vector<float> start = forged(false, 0, kWindow / 2);
  seam.insert(seam.end(), start.begin(), start.end());

  const size_t pass = testing::PassLength(file);
  const auto music = Music(file);
  ASSERT_NE(music, nullptr);
  auto looped = PlayMp3(*music, true, 44100);
  ASSERT_NE(looped, nullptr);
  std::vector<int16_t> pcm((pass + kEnd) * 2);
  ASSERT_EQ(looped->Read(pcm.data(), pass + kEnd), pass + kEnd);
  std::vector<float> heard(pcm.size());
  for (size_t i = 0; i < pcm.size(); ++i) heard[i] = pcm[i] / 32768.0f;

  constexpr long kReach = 1500;  // more than the codec's lag or the encoder's delay
  EXPECT_EQ(OffsetOf(forged(false, 2048, kWindow), heard, 2048, kReach), 0) << "at the start";
  EXPECT_EQ(OffsetOf(forged(true, 2048, kWindow), heard, pass - kEnd + 2048, kReach), 0)
      << "before the end";
  EXPECT_EQ(OffsetOf(seam, heard, pass - kWindow / 2, kReach), 0) << "across the seam";
}

// Runs in the ctest entry `no_mp3_codec`, which starts the tests with Wine's MP3 codec turned
// off, as on a Windows N edition without its media pack.
TEST(NoMp3Codec, TheMusicIsRefusedAndThePlayerToldInABox) {
  if (std::getenv("SKYRIFT_NO_MP3_CODEC") == nullptr)
    GTEST_SKIP() << "the system's MP3 codec is there";
  ASSERT_TRUE(OpenMixer(44100, 32, 3));
  EXPECT_EQ(LoadMusic(GameFile("stage2.mp3").c_str()), nullptr);
  EXPECT_EQ(LoadError(), "this Windows has no MP3 codec");
  // The box comes up beside the game, which goes on meanwhile.
  HWND box = nullptr;
  for (int wait = 0; wait < 1000 && box == nullptr; ++wait) {
    box = FindWindowW(L"#32770", L"Skyrift");
    if (box == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_NE(box, nullptr) << "no box told the player";
  wchar_t text[512] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 512);  // a message box's text
  EXPECT_NE(std::wstring(text).find(L"plays without music: this Windows has no MP3 codec"),
            std::wstring::npos);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  CloseMixer();
}

// A damaged stretch (200 KB of junk inside the piece) is stepped over and the loop goes on;
// with or without it, each pass lasts the piece's sound to the sample, so the seam has no gap.
TEST(Mp3Music, ALoopIsSeamlessAndPlaysOnPastADamagedStretch) {
  const auto music = ReadBytes(GameFile("stage2.mp3"));
  for (const size_t junk : {size_t{0}, size_t{200 * 1024}}) {
    SCOPED_TRACE(junk);
    const std::vector<uint8_t> piece = testing::ShortPiece(music, 80, junk);
    const size_t pass = testing::PassLength(piece);
    const auto music = Music(piece);
    ASSERT_NE(music, nullptr);
    auto looped = PlayMp3(*music, true, 44100);
    ASSERT_NE(looped, nullptr);
    std::vector<int16_t> heard(4 * pass * 2);
    ASSERT_EQ(looped->Read(heard.data(), 4 * pass), 4 * pass) << "the stream ran dry";
    const std::vector<float> samples = AsFloats(heard.data(), heard.size());
    for (size_t from : {pass / 3, pass * 2 / 3, pass + pass / 2}) {
      EXPECT_EQ(testing::RepeatsAfter(samples, from, pass - 3000, pass + 3000), pass)
          << "at " << from;
    }
  }
}

// Runs when the test is given SKYRIFT_SOUND_CAPTURE, the file an ALSA `file` device writes the
// device's output to (see the ctest entry `waveout_capture`): 16-bit stereo, as the device was
// given it since it last opened.
std::vector<int16_t> CapturedSamples() {
  const auto bytes = ReadBytes(std::string("Z:") + std::getenv("SKYRIFT_SOUND_CAPTURE"));
  std::vector<int16_t> pcm(bytes.size() / 2);
  std::memcpy(pcm.data(), bytes.data(), pcm.size() * 2);
  return pcm;
}

// Waits until the capture holds `samples` samples from its first sound on: the device takes the
// mix in real time, and later on a busy machine. The sample the sound starts at, the first of
// its stereo frame; or std::nullopt if that much never came within a minute.
std::optional<size_t> WaitForSound(size_t samples) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  for (;;) {
    const std::vector<int16_t> heard = CapturedSamples();
    const auto first = std::find_if(heard.begin(), heard.end(), [](int16_t s) { return s != 0; });
    const size_t at = static_cast<size_t>(first - heard.begin()) / 2 * 2;
    if (first != heard.end() && heard.size() >= at + samples) return at;
    if (std::chrono::steady_clock::now() >= until) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// Plays the ding on a free channel of the open mixer until `samples` samples of it have reached
// the device, then closes the mixer.
void PlayDingAndClose(size_t samples) {
  MixerChunk* ding = LoadChunk(GameFile("upgrade_ding.wav").c_str());
  ASSERT_NE(ding, nullptr);
  ASSERT_GE(PlayChunk(-1, ding, false), 3);
  const bool heard = WaitForSound(samples).has_value();
  CloseMixer();
  FreeChunk(ding);
  ASSERT_TRUE(heard) << "the ding did not reach the device";
}

TEST(WaveOut, WhatIsMixedReachesTheDevice) {
  const char* capture = std::getenv("SKYRIFT_SOUND_CAPTURE");
  if (capture == nullptr) GTEST_SKIP() << "no capture device configured";
  // Its first half second is compared.
  constexpr size_t kCompared = 44100;  // samples, two a frame
  ASSERT_TRUE(OpenMixer(44100, 32, 3));
  ASSERT_NO_FATAL_FAILURE(PlayDingAndClose(kCompared + 1024));

  const std::vector<int16_t> heard = CapturedSamples();
  const auto wav = ReadBytes(GameFile("upgrade_ding.wav"));
  const std::vector<int16_t> expected = skyrift::testing::DecodedStereo(wav, 44100);
  ASSERT_FALSE(expected.empty());
  // The sample, at the effects' gain and too quiet for the limiter, lies in the output from its
  // start.
  const auto first = std::find_if(heard.begin(), heard.end(), [](int16_t s) { return s != 0; });
  ASSERT_NE(first, heard.end()) << "only silence reached the device";
  const auto firstExpected = std::find_if(expected.begin(), expected.end(),
                                          [](int16_t s) { return AtEffectsGain(s) != 0; });
  const size_t offset = static_cast<size_t>(first - heard.begin()) -
                        static_cast<size_t>(firstExpected - expected.begin());
  ASSERT_GE(heard.size(), offset + kCompared);
  ASSERT_GE(expected.size(), kCompared);
  size_t matching = 0;
  for (size_t i = 0; i < kCompared; ++i)
    matching += heard[offset + i] == AtEffectsGain(expected[i]);
  EXPECT_EQ(matching, kCompared);
}

}  // namespace
}  // namespace skyrift::platform

namespace skyrift::platform {
namespace {

// The mix read back from the capture file.
std::vector<float> Captured() {
  const std::vector<int16_t> pcm = CapturedSamples();
  return AsFloats(pcm.data(), pcm.size());
}

// The loop as it reaches the device: each pass as long as the piece's sound, no gap between.
TEST(WaveOut, TheMusicLoopsWithoutAGapAtItsSeam) {
  if (std::getenv("SKYRIFT_SOUND_CAPTURE") == nullptr)
    GTEST_SKIP() << "no capture device configured";
  const std::string file = (std::filesystem::temp_directory_path() / "skyrift-seam.mp3").string();
  const std::vector<uint8_t> piece = testing::ShortPiece(ReadBytes(GameFile("stage2.mp3")), 40);
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(piece.data()), piece.size());
  const size_t pass = testing::PassLength(piece);
  ASSERT_TRUE(OpenMixer(44100, 32, 3));
  MixerMusic* music = LoadMusic(file.c_str());
  ASSERT_NE(music, nullptr) << LoadError();
  ASSERT_TRUE(PlayMusic(music, true));
  const std::optional<size_t> first = WaitForSound(4 * pass * 2);
  CloseMixer();
  FreeMusic(music);
  std::filesystem::remove(file);
  ASSERT_TRUE(first) << "four passes never reached the device";

  const std::vector<float> heard = Captured();
  const size_t start = *first / 2;
  for (size_t from : {start + pass / 2, start + pass + pass / 2}) {
    EXPECT_EQ(testing::RepeatsAfter(heard, from, pass - 3000, pass + 3000), pass)
        << "at " << from - start;
  }
}

// A device that fails (as a headset pulled out does) is given up and the default device opened
// again; what is played afterwards is heard.
TEST(WaveOut, AFailedDeviceIsReopenedAndTheSoundGoesOn) {
  if (std::getenv("SKYRIFT_SOUND_CAPTURE") == nullptr)
    GTEST_SKIP() << "no capture device configured";
  static std::atomic<bool> failing{false};
  ASSERT_TRUE(OpenMixer(44100, 32, 3));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const int before = DeviceReopenings();
  const auto working = DeviceCalls().write;
  // Every buffer refused for a while, as by a device that has gone, then a device again.
  DeviceCalls().write = [](HWAVEOUT device, LPWAVEHDR header, UINT size) -> MMRESULT {
    return failing ? MMSYSERR_NODRIVER : waveOutWrite(device, header, size);
  };
  failing = true;
  for (int wait = 0; wait < 100 && DevicePlaying(); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(DevicePlaying()) << "the failure was seen";
  failing = false;
  for (int wait = 0; wait < 500 && !DevicePlaying(); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  DeviceCalls().write = working;
  EXPECT_TRUE(DevicePlaying()) << "a device again";
  EXPECT_GE(DeviceReopenings(), before + 1);

  // Heard on the device opened again.
  PlayDingAndClose(2);
}

}  // namespace
}  // namespace skyrift::platform
