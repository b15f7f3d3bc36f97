// The SDL layer's samples: kept as their files store them, as on every system, holding their
// sound and nothing more (SDL's own loader widened them to float and kept the room its
// conversions might have needed), and heard through SDL's output as the shared mixer makes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "DecodedSample.h"
#include "DiskOutput.h"
#include "MusicLoop.h"
#include "TempFolder.h"
#include "platform/Limiter.h"
#include "platform/MixCore.h"
#include "platform/Mixer.h"
#include "platform/WaveFile.h"

namespace skyrift::platform {
namespace {

TEST(SdlSamples, EachHoldsOnlyWhatItsSoundTakes) {
  constexpr int kRate = 44100;
  ASSERT_TRUE(OpenMixer(kRate, 32, 3));
  int loaded = 0;
  for (const auto& entry : std::filesystem::directory_iterator(SKYRIFT_GAME_DIR)) {
    if (entry.path().extension() != ".wav") continue;
    SCOPED_TRACE(entry.path());
    std::string why;
    const auto layout = ReadSampleLayout(entry.path().c_str(), why);
    ASSERT_TRUE(layout) << why;
    MixerChunk* sample = LoadChunk(entry.path().c_str());
    ASSERT_NE(sample, nullptr) << LoadError();
    EXPECT_EQ(sample->sound.bytes.size(), layout->dataBytes);
    EXPECT_EQ(sample->sound.bytes.capacity(), sample->sound.bytes.size());
    EXPECT_EQ(sample->sound.bits, layout->format.bits);
    EXPECT_EQ(sample->sound.channels, layout->format.channels);
    EXPECT_EQ(sample->sound.rate, layout->format.rate);
    FreeChunk(sample);
    ++loaded;
  }
  EXPECT_EQ(loaded, 15);
  CloseMixer();
}

// A sample played on a channel reaches SDL's output whole, at kEffectsGain of its level, and
// nothing follows it. SDL's disk output writes the mix to a file as fast as it is made.
TEST(SdlSamples, APlayedSampleIsHeardWholeAtTheEffectsLevel) {
  constexpr int kRate = 44100;
  const std::string file = std::string(SKYRIFT_GAME_DIR) + "/upgrade_ding.wav";
  const std::vector<uint8_t> bytes = skyrift::testing::ReadBytes(file);
  const std::vector<int16_t> expected = skyrift::testing::DecodedStereo(bytes, kRate);
  ASSERT_FALSE(expected.empty());

  skyrift::testing::TempFolder folder;
  const std::string capture = (folder.Path() / "heard.raw").string();
  const skyrift::testing::DiskOutput output(capture);
  ASSERT_TRUE(OpenMixer(kRate, 32, 3));
  MixerChunk* sample = LoadChunk(file.c_str());
  ASSERT_NE(sample, nullptr) << LoadError();
  ASSERT_EQ(PlayChunk(1, sample, false), 1);
  // Whatever the output has written by then, twice the sample's length more is waited for.
  const uintmax_t enough = (expected.size() * 2 + 8 * 1024) * sizeof(float);
  const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!std::filesystem::exists(capture) || std::filesystem::file_size(capture) < enough ||
         ChannelPlaying(1)) {
    ASSERT_LT(std::chrono::steady_clock::now(), until) << "the sample never ended";
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  CloseMixer();
  FreeChunk(sample);

  std::vector<float> heard(std::filesystem::file_size(capture) / sizeof(float));
  std::ifstream(capture, std::ios::binary)
      .read(reinterpret_cast<char*>(heard.data()),
            static_cast<std::streamsize>(heard.size() * sizeof(float)));
  const auto first = std::find_if(heard.begin(), heard.end(), [](float s) { return s != 0.0f; });
  ASSERT_NE(first, heard.end()) << "nothing was heard";
  // From the first sound on: the sample's own first sound, at the effects' level, to its end.
  const auto own = std::find_if(expected.begin(), expected.end(), [](int16_t s) { return s != 0; });
  const size_t start =
      static_cast<size_t>(first - heard.begin()) - static_cast<size_t>(own - expected.begin());
  ASSERT_LE(start + expected.size(), heard.size());
  float worst = 0.0f, loudest = 0.0f;
  for (size_t i = 0; i < expected.size(); ++i) {
    const float wanted = kEffectsGain * static_cast<float>(expected[i]) / 32768.0f;
    worst = std::max(worst, std::abs(heard[start + i] - wanted));
    loudest = std::max(loudest, std::abs(wanted));
  }
  EXPECT_GT(loudest, 0.1f);
  EXPECT_LT(worst, 1e-4f);
  EXPECT_TRUE(std::all_of(heard.begin() + static_cast<std::ptrdiff_t>(start + expected.size()),
                          heard.end(), [](float s) { return s == 0.0f; }))
      << "sound after the sample's end";
}

}  // namespace
}  // namespace skyrift::platform
