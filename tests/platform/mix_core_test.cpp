// The shared mixer, apart from any device: WAV decoding (good files in every format a sample may
// have, damaged and hostile ones), the mix of many loud channels that must never clip, and the
// channel rules. Every layer that feeds a device from it runs these.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "MusicLoop.h"
#include "platform/Limiter.h"
#include "platform/MixCore.h"
#include "platform/WavDecoder.h"
#include "platform/WaveFile.h"

namespace skyrift::platform {
namespace {

using testing::ReadBytes;

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(v & 0xFF), out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF), Put16(out, v >> 16);
}

std::vector<uint8_t> Wav(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits,
                         const std::vector<uint8_t>& data, uint32_t dataLength) {
  std::vector<uint8_t> file = {'R', 'I', 'F', 'F', 0,   0,   0,   0,
                               'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  Put32(file, 16);
  Put16(file, format);
  Put16(file, channels);
  Put32(file, rate);
  Put32(file, rate * channels * bits / 8);
  Put16(file, static_cast<uint16_t>(channels * bits / 8));
  Put16(file, bits);
  file.insert(file.end(), {'d', 'a', 't', 'a'});
  Put32(file, dataLength);
  file.insert(file.end(), data.begin(), data.end());
  return file;
}
std::vector<uint8_t> Wav(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits,
                         const std::vector<uint8_t>& data) {
  return Wav(format, channels, rate, bits, data, static_cast<uint32_t>(data.size()));
}

TEST(WavDecoding, EveryFormatBecomesStereoAtTheOutputRateAndBadFilesAreRefused) {
  // 8-bit mono: 0x80 is silence, 0xFF nearly full scale; each value lands on both sides.
  auto pcm = DecodeWav(Wav(1, 1, 44100, 8, {0x80, 0xFF, 0x00}).data(), 44 + 3, 44100);
  ASSERT_TRUE(pcm);
  EXPECT_EQ(*pcm, (StereoPcm{0, 0, 127 << 8, 127 << 8, -32768, -32768}));
  // 16-bit stereo keeps its sides apart.
  const std::vector<uint8_t> stereo = {0x34, 0x12, 0xCC, 0xED};
  pcm = DecodeWav(Wav(1, 2, 44100, 16, stereo).data(), 44 + 4, 44100);
  ASSERT_TRUE(pcm);
  EXPECT_EQ(*pcm, (StereoPcm{0x1234, static_cast<int16_t>(0xEDCC)}));
  // Half the rate: twice the frames, the new ones between their neighbours.
  pcm = DecodeWav(Wav(1, 1, 22050, 16, {0, 0, 0x00, 0x10}).data(), 48, 44100);
  ASSERT_TRUE(pcm);
  EXPECT_EQ(*pcm, (StereoPcm{0, 0, 0x800, 0x800, 0x1000, 0x1000, 0x1000, 0x1000}));
  // A data chunk that claims more than the file holds plays what is there.
  pcm = DecodeWav(Wav(1, 1, 44100, 16, {1, 0, 2, 0}, 4000).data(), 48, 44100);
  ASSERT_TRUE(pcm);
  EXPECT_EQ(pcm->size(), 4u);

  // The wider formats the SDL build plays, plain and in an extensible header: each sample
  // keeps its top 16 bits; floats are scaled to full scale and held inside it.
  const auto extensible = [](uint16_t encoding, uint16_t channels, uint16_t bits,
                             const std::vector<uint8_t>& data) {
    std::vector<uint8_t> file = Wav(kWaveExtensible, channels, 44100, bits, data);
    const std::vector<uint8_t> extension = {22,   0,    static_cast<uint8_t>(bits),
                                            0,    3,    0,
                                            0,    0,    static_cast<uint8_t>(encoding),
                                            0,    0,    0,
                                            0,    0,    0x10,
                                            0,    0x80, 0,
                                            0,    0xAA, 0,
                                            0x38, 0x9B, 0x71};
    file[16] = 40;  // the format chunk's length
    file.insert(file.begin() + 36, extension.begin(), extension.end());
    return file;
  };
  const auto floats = [](std::initializer_list<float> values) {
    std::vector<uint8_t> bytes(values.size() * 4);
    std::memcpy(bytes.data(), values.begin(), bytes.size());
    return bytes;
  };
  const struct {
    const char* what;
    std::vector<uint8_t> file;
    StereoPcm expected;
  } wider[] = {
      {"24-bit mono",
       Wav(1, 1, 44100, 24, {0x00, 0x34, 0x12, 0xFF, 0xFF, 0x80}),
       {0x1234, 0x1234, -32513, -32513}},
      {"32-bit stereo",
       Wav(1, 2, 44100, 32, {0, 0, 0x34, 0x12, 0, 0, 0x00, 0x80}),
       {0x1234, -32768}},
      {"float mono",
       Wav(3, 1, 44100, 32, floats({0.5f, -1.0f, 2.0f})),
       {16384, 16384, -32768, -32768, 32767, 32767}},
      {"extensible 24-bit stereo",
       extensible(1, 2, 24, {0x00, 0x00, 0x40, 0x00, 0x00, 0xC0}),
       {0x4000, -0x4000}},
      {"extensible float stereo", extensible(3, 2, 32, floats({-0.25f, 0.25f})), {-8192, 8192}},
      // 5.1 mixed down: the centre and low frequencies half to each side, each surround to its
      // own, each side scaled by what it was given (left 1 + 0.5 + 0.5 + 1, right the same).
      {"5.1",
       Wav(1, 6, 44100, 16, {0x58, 0x02, 0, 0, 0x2C, 0x01, 0x2C, 0x01, 0x58, 0x02, 0, 0}),
       {500, 100}},
  };
  for (const auto& w : wider) {
    std::string why;
    pcm = DecodeWav(w.file.data(), w.file.size(), 44100, &why);
    ASSERT_TRUE(pcm) << w.what << ": " << why;
    EXPECT_EQ(*pcm, w.expected) << w.what;
  }

  const struct {
    const char* what;
    std::vector<uint8_t> file;
  } refused[] = {
      {"compressed", Wav(2, 1, 44100, 16, {0, 0})},
      {"nine channels", Wav(1, 9, 44100, 16, std::vector<uint8_t>(18))},
      {"12-bit", Wav(1, 1, 44100, 12, std::vector<uint8_t>(6))},
      {"64-bit float", Wav(3, 1, 44100, 64, std::vector<uint8_t>(16))},
      {"rate 0", Wav(1, 1, 0, 16, {0, 0})},
      {"no whole frame", Wav(1, 2, 44100, 16, {0, 0})},
      // A megabyte at 1000 Hz would need 176 MB at the output rate.
      {"past the size limit", Wav(1, 1, 1000, 8, std::vector<uint8_t>(1 << 20, 0x80))},
      {"not RIFF", {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}},
      {"header only", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}},
  };
  for (const auto& bad : refused) {
    std::string why;
    EXPECT_FALSE(DecodeWav(bad.file.data(), bad.file.size(), 44100, &why)) << bad.what;
    EXPECT_FALSE(why.empty()) << bad.what << ": a refusal says why";
  }
  // Cut anywhere inside its headers, a good file is refused rather than read past its end.
  const auto good = Wav(1, 1, 44100, 16, {1, 0, 2, 0});
  for (size_t size = 0; size < 44; ++size)
    EXPECT_FALSE(DecodeWav(good.data(), size, 44100)) << size;
}

TEST(WavDecoding, TheGamesSamplesAllDecode) {
  int decoded = 0;
  for (const auto& entry : std::filesystem::directory_iterator(SKYRIFT_GAME_DIR)) {
    if (entry.path().extension() != ".wav") continue;
    const auto bytes = ReadBytes(entry.path().string());
    const auto pcm = DecodeWav(bytes.data(), bytes.size(), 44100);
    ASSERT_TRUE(pcm) << entry.path();
    EXPECT_TRUE(std::any_of(pcm->begin(), pcm->end(), [](int16_t s) { return s != 0; }))
        << entry.path();
    ++decoded;
  }
  EXPECT_EQ(decoded, 15);
}

MixerChunk Constant(int16_t value, size_t frames) {
  return MixerChunk{StereoPcm(frames * 2, value)};
}

// A sample quiet enough for the limiter to leave alone reaches the device at the effects' share
// of its level.
int16_t AtEffectsGain(int32_t sample) {
  return static_cast<int16_t>(std::lrint(sample * kEffectsGain));
}

TEST(Mixing, ManyLoudChannelsNeverClipAndQuietOnesPassAtTheEffectsGain) {
  // Thirty-two channels at full scale, looping: the output stays short of both limits.
  MixState mix(32, 3, 44100);
  const MixerChunk high = Constant(32767, 100), low = Constant(-32768, 70);
  for (int channel = 0; channel < 32; ++channel) {
    ASSERT_EQ(mix.Play(channel, channel % 2 ? &high : &low, true), channel);
  }
  std::vector<int16_t> out(2048);
  for (int block = 0; block < 4; ++block) {
    mix.Render(out.data(), 1024);
    for (int16_t s : out) ASSERT_LE(std::abs(s), 32112) << "within the limiter's ceiling";
  }
}

// The player's volume scales what is heard, the loud mix that the limiter holds included, and
// silences it at 0.
TEST(Mixing, TheMasterGainScalesTheWholeLimitedMix) {
  MixState mix(32, 3, 44100);
  const MixerChunk quiet = Constant(1000, 100), loud = Constant(32767, 100);
  mix.Play(-1, &quiet, true);
  std::vector<int16_t> full(64), quarter(64);
  mix.Render(full.data(), 32);
  mix.SetMasterGain(0.25f);
  mix.Render(quarter.data(), 32);
  EXPECT_NEAR(quarter[0], full[0] / 4.0, 1);
  for (int channel = 3; channel < 32; ++channel) mix.Play(channel, &loud, true);
  mix.SetMasterGain(0.0f);
  mix.Render(quarter.data(), 32);
  EXPECT_TRUE(std::all_of(quarter.begin(), quarter.end(), [](int16_t s) { return s == 0; }));
}

TEST(Mixing, ChannelsPickFreeOnesLoopEndPauseAndFollowTheirVolume) {
  MixState mix(5, 2, 44100);
  const MixerChunk shortOne = Constant(1000, 3), longOne = Constant(2000, 1000);
  EXPECT_EQ(mix.Play(-1, &longOne, false), 2) << "the reserved channels 0 and 1 are skipped";
  EXPECT_EQ(mix.Play(-1, &longOne, false), 3);
  EXPECT_EQ(mix.Play(-1, &shortOne, true), 4);
  EXPECT_EQ(mix.Play(-1, &shortOne, false), -1) << "no free channel";
  EXPECT_EQ(mix.Play(0, &shortOne, false), 0) << "a reserved channel asked for by number";
  EXPECT_EQ(mix.Play(5, &shortOne, false), -1);
  mix.Halt(3);
  mix.SetVolume(2, 64);
  mix.Pause(4, true);

  std::vector<int16_t> out(20);
  mix.Render(out.data(), 10);
  // Channel 0 (1000) ends after three frames; channel 2 (2000 at half volume) plays on.
  EXPECT_EQ(out[0], AtEffectsGain(1000 + 1000));
  EXPECT_EQ(out[6], AtEffectsGain(1000));
  EXPECT_FALSE(mix.Playing(0));
  EXPECT_TRUE(mix.Playing(4)) << "paused, not ended";
  EXPECT_TRUE(mix.Paused(4));
  mix.Pause(4, false);
  mix.Render(out.data(), 10);
  EXPECT_EQ(out[18], AtEffectsGain(1000 + 1000)) << "the looping sample keeps coming round";
  mix.Forget(&longOne);
  EXPECT_FALSE(mix.Playing(2)) << "a sample being freed is taken off its channels";
  EXPECT_TRUE(mix.Playing(4));
}

}  // namespace
}  // namespace skyrift::platform
