// The shared mixer, apart from any device: samples kept as stored and converted as they are mixed
// (every form a sample may have, damaged and hostile files), the mix of many loud channels that
// must never clip, and the channel rules. Every layer that feeds a device from it runs these.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "DecodedSample.h"
#include "MusicLoop.h"
#include "TempFolder.h"
#include "platform/Limiter.h"
#include "platform/LittleEndian.h"
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

// The 16-bit samples a narrowed sound holds.
std::vector<int16_t> Samples16(const SampleSound& sound) {
  std::vector<int16_t> samples(sound.bytes.size() / 2);
  std::memcpy(samples.data(), sound.bytes.data(), samples.size() * 2);
  return samples;
}

TEST(SampleSounds, WiderFormatsAreNarrowedTo16BitsAndBadFilesAreRefused) {
  // The wider formats, plain and in an extensible header: each sample keeps its top 16 bits;
  // floats are scaled to full scale and held inside it. The rate and channels stay the file's.
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
    int channels;
    std::vector<int16_t> expected;
  } wider[] = {
      {"24-bit mono",
       Wav(1, 1, 22050, 24, {0x00, 0x34, 0x12, 0xFF, 0xFF, 0x80}),
       1,
       {0x1234, -32513}},
      {"32-bit stereo",
       Wav(1, 2, 44100, 32, {0, 0, 0x34, 0x12, 0, 0, 0x00, 0x80}),
       2,
       {0x1234, -32768}},
      {"float mono", Wav(3, 1, 44100, 32, floats({0.5f, -1.0f, 2.0f})), 1, {16384, -32768, 32767}},
      {"extensible 24-bit stereo",
       extensible(1, 2, 24, {0x00, 0x00, 0x40, 0x00, 0x00, 0xC0}),
       2,
       {0x4000, -0x4000}},
      {"extensible float stereo", extensible(3, 2, 32, floats({-0.25f, 0.25f})), 2, {-8192, 8192}},
      // 5.1 mixed down: the centre and low frequencies half to each side, each surround to its
      // own, each side scaled by what it was given (left 1 + 0.5 + 0.5 + 1, right the same).
      {"5.1",
       Wav(1, 6, 44100, 16, {0x58, 0x02, 0, 0, 0x2C, 0x01, 0x2C, 0x01, 0x58, 0x02, 0, 0}),
       2,
       {500, 100}},
  };
  for (const auto& w : wider) {
    std::string why;
    const auto sound = ReadSampleSound(w.file.data(), w.file.size(), &why);
    ASSERT_TRUE(sound) << w.what << ": " << why;
    EXPECT_EQ(sound->bits, 16) << w.what;
    EXPECT_EQ(sound->channels, w.channels) << w.what;
    EXPECT_EQ(sound->rate, Read32(w.file.data() + 24)) << w.what << ": the format's own rate";
    EXPECT_EQ(Samples16(*sound), w.expected) << w.what;
  }
  // A data chunk that claims more than the file holds plays what is there.
  const auto cut = ReadSampleSound(Wav(1, 1, 44100, 16, {1, 0, 2, 0}, 4000).data(), 48);
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->bytes, (std::vector<uint8_t>{1, 0, 2, 0}));

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
      // A megabyte at 1000 Hz holds 17 minutes of sound.
      {"past the length limit", Wav(1, 1, 1000, 8, std::vector<uint8_t>(1 << 20, 0x80))},
      {"not RIFF", {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}},
      {"header only", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}},
  };
  for (const auto& bad : refused) {
    std::string why;
    EXPECT_FALSE(ReadSampleSound(bad.file.data(), bad.file.size(), &why)) << bad.what;
    EXPECT_FALSE(why.empty()) << bad.what << ": a refusal says why";
  }
  // Cut anywhere inside its headers, a good file is refused rather than read past its end.
  const auto good = Wav(1, 1, 44100, 16, {1, 0, 2, 0});
  for (size_t size = 0; size < 44; ++size) EXPECT_FALSE(ReadSampleSound(good.data(), size)) << size;
}

// What one channel adds to the mix, alone, over `frames` output frames pulled in blocks of an
// odd size, so that runs end anywhere inside the sample.
std::vector<float> MixedAlone(const MixerChunk& chunk, int rate, bool loop, size_t frames) {
  MixState mix(1, 0, rate);
  EXPECT_EQ(mix.Play(0, &chunk, loop), 0);
  std::vector<float> sum(frames * 2, 0.0f);
  constexpr size_t kBlock = 97;
  for (size_t at = 0; at < frames; at += kBlock)
    mix.AddVoices(sum.data() + at * 2, std::min(kBlock, frames - at));
  EXPECT_EQ(mix.Playing(0), loop) << "a sample played once has ended";
  return sum;
}

// Compares the mix of a channel alone with `decoded`, heard at the effects' gain from the first
// frame, over and over when it loops and then silence when it does not. The mix's float sum of
// 16-bit samples at that gain is exact, so the two must be equal.
void ExpectHeardAsDecoded(const std::vector<float>& mixed, const std::vector<int16_t>& decoded,
                          bool loop, const std::string& what) {
  const float gain = kEffectsGain * MixState::kFullVolume / (MixState::kFullVolume * 32768.0f);
  size_t wrong = 0, firstWrong = 0;
  for (size_t i = 0; i < mixed.size(); ++i) {
    const size_t at = loop ? i % decoded.size() : i;
    const float expected = at < decoded.size() ? static_cast<float>(decoded[at]) * gain : 0.0f;
    if (mixed[i] != expected && wrong++ == 0) firstWrong = i;
  }
  EXPECT_EQ(wrong, 0u) << what << ": first at frame " << firstWrong / 2 << " of "
                       << decoded.size() / 2 << ", side " << firstWrong % 2;
}

// `file` loaded as the game loads a sample, from a file of its own.
std::unique_ptr<MixerChunk> Loaded(const skyrift::testing::TempFolder& folder,
                                   const std::vector<uint8_t>& file) {
  const std::string path = (folder.Path() / "sample.wav").string();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  std::string why;
  std::unique_ptr<MixerChunk> chunk(LoadMixerChunk(path.c_str(), why));
  EXPECT_TRUE(why.empty()) << why;
  return chunk;
}

// Every form a sample is kept in, played at the output's rate and away from it, once and
// looping: what is heard is the file decoded whole, frame for frame, ending on the output frame
// where the decoded sound ends. The files are loaded as the game loads them; each holds its
// data's bytes and no more.
TEST(SampleSounds, EveryStoredFormIsHeardAsTheWholeFileDecoded) {
  const struct {
    const char* what;
    uint16_t channels;
    uint32_t rate;
    uint16_t bits;
    int outputRate;
  } forms[] = {
      {"8-bit mono", 1, 44100, 8, 44100},
      {"8-bit stereo", 2, 44100, 8, 44100},
      {"16-bit mono", 1, 44100, 16, 44100},
      {"16-bit stereo", 2, 44100, 16, 44100},
      {"16-bit mono 16 kHz", 1, 16000, 16, 44100},
      {"8-bit stereo 16 kHz", 2, 16000, 8, 44100},
      {"16-bit stereo 22.05 kHz", 2, 22050, 16, 44100},
      {"16-bit mono to 48 kHz", 1, 44100, 16, 48000},
      {"8-bit mono 48 kHz to 44.1", 1, 48000, 8, 44100},
  };
  skyrift::testing::TempFolder folder;
  std::minstd_rand noise(7);
  for (const auto& form : forms) {
    std::vector<uint8_t> data(701 * form.channels * form.bits / 8);
    for (uint8_t& byte : data) byte = static_cast<uint8_t>(noise());
    const std::vector<uint8_t> file = Wav(1, form.channels, form.rate, form.bits, data);
    const std::unique_ptr<MixerChunk> chunk = Loaded(folder, file);
    ASSERT_NE(chunk, nullptr) << form.what;
    EXPECT_EQ(chunk->sound.bytes, data) << form.what;
    EXPECT_EQ(chunk->sound.bytes.capacity(), data.size()) << form.what;

    const std::vector<int16_t> decoded = skyrift::testing::DecodedStereo(file, form.outputRate);
    const size_t frames = decoded.size() / 2;
    ExpectHeardAsDecoded(MixedAlone(*chunk, form.outputRate, false, frames + 150), decoded, false,
                         form.what);
    ExpectHeardAsDecoded(MixedAlone(*chunk, form.outputRate, true, frames * 5 / 2), decoded, true,
                         std::string(form.what) + " looping");
  }

  // Worked by hand: 8-bit is unsigned around 0x80; a mono sample reaches both sides; at half
  // the rate each frame is followed by the one between it and the next, the last one held.
  const float gain = kEffectsGain / 32768.0f;
  const auto heard = [&](const std::vector<uint8_t>& file, size_t frames) {
    const std::unique_ptr<MixerChunk> chunk = Loaded(folder, file);
    EXPECT_NE(chunk, nullptr);
    std::vector<float> mixed =
        chunk ? MixedAlone(*chunk, 44100, false, frames) : std::vector<float>{};
    for (float& sample : mixed) sample /= gain;
    return mixed;
  };
  EXPECT_EQ(heard(Wav(1, 1, 44100, 8, {0x80, 0xFF, 0x00}), 4),
            (std::vector<float>{0, 0, 127 << 8, 127 << 8, -32768, -32768, 0, 0}));
  EXPECT_EQ(heard(Wav(1, 1, 22050, 16, {0, 0, 0x00, 0x10}), 5),
            (std::vector<float>{0, 0, 0x800, 0x800, 0x1000, 0x1000, 0x1000, 0x1000, 0, 0}));
}

// The game's own samples, at the usual output rate and at 48 kHz: heard as decoded whole.
TEST(SampleSounds, TheGamesSamplesAreHeardAsDecodedWhole) {
  int heard = 0;
  for (const auto& entry : std::filesystem::directory_iterator(SKYRIFT_GAME_DIR)) {
    if (entry.path().extension() != ".wav") continue;
    const auto bytes = ReadBytes(entry.path().string());
    std::string why;
    const std::unique_ptr<MixerChunk> chunk(LoadMixerChunk(entry.path().string().c_str(), why));
    ASSERT_NE(chunk, nullptr) << entry.path() << ": " << why;
    for (const int rate : {44100, 48000}) {
      const std::vector<int16_t> decoded = skyrift::testing::DecodedStereo(bytes, rate);
      ExpectHeardAsDecoded(MixedAlone(*chunk, rate, false, decoded.size() / 2 + 10), decoded, false,
                           entry.path().filename().string() + " at " + std::to_string(rate));
    }
    ++heard;
  }
  EXPECT_EQ(heard, 15);
}

MixerChunk Constant(int16_t value, size_t frames) {
  std::vector<uint8_t> bytes(frames * 4);
  for (size_t i = 0; i < bytes.size(); i += 2) std::memcpy(&bytes[i], &value, 2);
  return MixerChunk{SampleSound{std::move(bytes), 16, 2, 44100}};
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
