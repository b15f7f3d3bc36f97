// The sound layer on the real mixer (SDL's dummy output, which plays in real time without a
// sound card): free channels and the reserved ones, the looping sample, and the music as
// channel 0 with its volume and pause.
#include "engine/Sound.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>

#include "Mp3Bytes.h"
#include "TempFolder.h"
#include "platform/Mixer.h"

namespace skyrift {
namespace {

namespace fs = std::filesystem;

std::string GameFile(const char* name) {
  return std::string(SKYRIFT_GAME_DIR) + "/" + name;
}

void Wait(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Looks at `done` every few milliseconds until it holds, for a minute at most.
template <typename Condition>
bool WaitUntil(Condition done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

class SoundLayer : public ::testing::Test {
 protected:
  void SetUp() override { ClearPlayRequests(); }
  void TearDown() override { CloseSoundLibrary(); }
};

TEST_F(SoundLayer, FreeChannelRequestsNeverLandOnTheReservedChannels) {
  ASSERT_TRUE(StartSoundLibrary(44100, 32));
  // A looping sample keeps its channel busy for as long as the test needs.
  Sample* hum =
      LoadSample(GameFile("bullet-time_dur.wav").c_str(), kSoundLoop | kSound16Bit | kSoundStereo);
  ASSERT_NE(hum, nullptr);

  std::set<int> used;
  for (int i = 0; i < 29; ++i) used.insert(PlaySample(kAnyFreeChannel, hum));
  std::set<int> unreserved;
  for (int channel = 3; channel < 32; ++channel) unreserved.insert(channel);
  EXPECT_EQ(used, unreserved);

  // Every free channel is busy: the next request plays nothing rather than take 0, 1 or 2.
  EXPECT_EQ(PlaySample(kAnyFreeChannel, hum), -1);
  for (int channel : {0, 1, 2}) EXPECT_FALSE(platform::ChannelPlaying(channel)) << channel;
  EXPECT_FALSE(platform::MusicPlaying());

  // A reserved channel asked for by number still plays.
  EXPECT_EQ(PlaySample(kBulletTimeChannel, hum), 1);
  EXPECT_TRUE(platform::ChannelPlaying(1));

  // Every request is on record, with where it landed.
  const std::vector<PlayRequest>& requests = PlayRequests();
  ASSERT_EQ(requests.size(), 31u);
  EXPECT_EQ(requests[29].channel, kAnyFreeChannel);
  EXPECT_EQ(requests[29].sample, hum);
  EXPECT_EQ(requests[29].playedOn, -1);
  EXPECT_EQ(requests[30].channel, kBulletTimeChannel);
  EXPECT_EQ(requests[30].playedOn, 1);
}

TEST_F(SoundLayer, ALoopingSampleKeepsPlayingOnChannelOneUntilStopped) {
  ASSERT_TRUE(StartSoundLibrary(44100, 32));
  // The same short shot (about a tenth of a second), loaded once with the loop flag, once without.
  Sample* looping =
      LoadSample(GameFile("player_fire.wav").c_str(), kSoundLoop | kSound16Bit | kSoundMono);
  Sample* once = LoadSample(GameFile("player_fire.wav").c_str(), kSound16Bit | kSoundMono);
  ASSERT_NE(looping, nullptr);
  ASSERT_NE(once, nullptr);

  ASSERT_EQ(PlaySample(kBulletTimeChannel, looping), 1);
  const int other = PlaySample(kAnyFreeChannel, once);
  ASSERT_GE(other, 3);
  // The output plays in real time, slower on a busy machine: once the shot started after the
  // loop has ended, the loop has passed its end too.
  ASSERT_TRUE(WaitUntil([&] { return !platform::ChannelPlaying(other); }))
      << "the shot played without loop never ended";
  EXPECT_TRUE(platform::ChannelPlaying(1));

  StopChannel(kBulletTimeChannel);
  EXPECT_FALSE(platform::ChannelPlaying(1));

  // Playing it again after a stop starts it again; freeing it silences it.
  ASSERT_EQ(PlaySample(kBulletTimeChannel, looping), 1);
  FreeSample(looping);
  EXPECT_FALSE(platform::ChannelPlaying(1));
}

TEST_F(SoundLayer, TheMusicIsChannelZeroWithItsVolumeAndPause) {
  ASSERT_TRUE(StartSoundLibrary(44100, 32));
  Stream* music = OpenStream(GameFile("stage2.mp3").c_str(), kSoundLoop);
  ASSERT_NE(music, nullptr);
  EXPECT_FALSE(platform::MusicPlaying());
  PlayStream(kMusicChannel, music);
  EXPECT_TRUE(platform::MusicPlaying());

  // 0 to 255 here, 0 to 128 in the mixer.
  const std::pair<int, int> volumes[] = {{175, 87}, {255, 128}, {0, 0}, {1, 0},
                                         {128, 64}, {400, 128}, {-5, 0}};
  for (const auto& [ours, mixer] : volumes) {
    SetChannelVolume(kMusicChannel, ours);
    EXPECT_EQ(platform::MusicVolume(), mixer) << ours;
  }

  // Pausing channel 0 pauses the music and leaves the effects alone.
  Sample* ding = LoadSample(GameFile("upgrade_ding.wav").c_str(), kSound16Bit | kSoundMono);
  const int effect = PlaySample(kAnyFreeChannel, ding);
  ASSERT_GE(effect, 3);
  SetChannelPaused(kMusicChannel, TRUE);
  EXPECT_TRUE(platform::MusicPaused());
  EXPECT_TRUE(platform::ChannelPlaying(effect));
  SetChannelPaused(kMusicChannel, FALSE);
  EXPECT_FALSE(platform::MusicPaused());
  EXPECT_TRUE(platform::MusicPlaying());

  // A looping stream outlives its own length (the pieces last a minute or more, so this only
  // shows it has not been stopped), and closing it ends it.
  Wait(200);
  EXPECT_TRUE(platform::MusicPlaying());
  CloseStream(music);
  EXPECT_FALSE(platform::MusicPlaying());
}

TEST_F(SoundLayer, NullAndMissingFilesPlayNothingAndNeverCrash) {
  ASSERT_TRUE(StartSoundLibrary(44100, 32));
  EXPECT_EQ(LoadSample("no such file.wav", kSound16Bit | kSoundMono), nullptr);
  EXPECT_EQ(OpenStream("no such file.mp3", kSoundLoop), nullptr);

  EXPECT_EQ(PlaySample(kAnyFreeChannel, nullptr), -1);
  EXPECT_EQ(PlaySample(kBulletTimeChannel, nullptr), -1);
  ASSERT_EQ(PlayRequests().size(), 2u);
  EXPECT_EQ(PlayRequests()[0].sample, nullptr);
  EXPECT_EQ(PlayRequests()[0].playedOn, -1);
  for (int channel = 0; channel < 32; ++channel)
    EXPECT_FALSE(platform::ChannelPlaying(channel)) << channel;

  PlayStream(kMusicChannel, nullptr);
  EXPECT_FALSE(platform::MusicPlaying());
  SetChannelPaused(kMusicChannel, TRUE);
  SetChannelVolume(kMusicChannel, 175);
  StopChannel(kBulletTimeChannel);
  CloseStream(nullptr);
  FreeSample(nullptr);
  // Channels the mixer does not have are ignored.
  Sample* shot = LoadSample(GameFile("player_fire.wav").c_str(), kSound16Bit | kSoundMono);
  EXPECT_EQ(PlaySample(32, shot), -1);
  EXPECT_EQ(PlaySample(-7, shot), -1);
  StopChannel(99);
  SetChannelVolume(-2, 100);
}

// A 16-bit mono WAV file of `dataBytes` bytes of silence that declares `rate`.
void WriteWave(const std::string& name, uint32_t rate, uint32_t dataBytes) {
  std::string bytes = "RIFF....WAVEfmt ";
  const auto put32 = [&bytes](uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(value >> shift);
  };
  const auto put16 = [&bytes](uint16_t value) {
    bytes += static_cast<char>(value);
    bytes += static_cast<char>(value >> 8);
  };
  put32(16);
  put16(1);  // PCM
  put16(1);
  put32(rate);
  put32(rate * 2);
  put16(2);
  put16(16);
  bytes += "data";
  put32(dataBytes);
  bytes.append(dataBytes, '\0');
  const uint32_t riffSize = static_cast<uint32_t>(bytes.size() - 8);
  for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<char>(riffSize >> (8 * i));
  std::ofstream(name, std::ios::binary) << bytes;
}

// A file that cannot be used plays nothing, as if it were missing, and is named with the reason
// in one line on standard error. A pipe must not block the loading; a small file that would
// decode past the limit is refused before it is decoded.
TEST_F(SoundLayer, UnusableFilesAreRefusedAndNamedWithTheirReason) {
  ASSERT_TRUE(StartSoundLibrary(44100, 32));
  const fs::path folder = fs::temp_directory_path() / ("skyrift-sound-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const std::string pipe = (folder / "pipe.wav").string();
#ifdef _WIN32  // no named pipes among Windows's files: a folder is as unusable
  ASSERT_TRUE(fs::create_directory(pipe));
#else
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
#endif
  const std::string tooLarge = (folder / "100 Hz.wav").string();
  // 200 KB that would decode to 344 MB of SDL's stereo floats, 172 MB of Windows's 16-bit pairs.
  WriteWave(tooLarge, 100, 200 * 1024);
  constexpr const char* kTooLarge = "it holds 1024 s of sound, more than the 90 s a sample may";
  const std::string text = (folder / "text.wav").string();
  std::ofstream(text) << "not a sound";
  const std::string fine = (folder / "8 kHz.wav").string();
  WriteWave(fine, 8000, 16000);
  const std::string renamed = (folder / "a sample.mp3").string();
  fs::copy_file(GameFile("explosion.wav"), renamed);
  // Two frames, 2304 samples, all of them the encoder's delay and padding.
  const std::string silent = (folder / "all silence.mp3").string();
  const testing::Bytes silence =
      testing::Join({testing::InfoFrame(576, 1728), testing::Repeat(testing::kMpeg1, 2)});
  std::ofstream(silent, std::ios::binary)
      .write(reinterpret_cast<const char*>(silence.data()),
             static_cast<std::streamsize>(silence.size()));
  // One byte more than fifteen minutes at 320 kbit/s with a quarter to spare; refused unread.
  const std::string huge = (folder / "huge.mp3").string();
  std::ofstream(huge, std::ios::binary) << "ID3";
  fs::resize_file(huge, 45'000'001);

  struct Case {
    std::string file;
    bool music;
    const char* reason;
  };
  const Case cases[] = {
      {"no such file.wav", false, "No such file or directory"},
      {"no such file.mp3", true, "No such file or directory"},
      {pipe, false, "not a regular file"},
      {pipe, true, "not a regular file"},
      {tooLarge, false, kTooLarge},
      {text, false, "not a WAV file"},
      {renamed, true, "it is a WAV file, not MP3"},
      {silent, true, "it holds no sound once its encoder's silence is cut"},
      {huge, true, "it is too large"},
  };
  for (const Case& c : cases) {
    ::testing::internal::CaptureStderr();
    const bool loaded = c.music ? OpenStream(c.file.c_str(), kSoundLoop) != nullptr
                                : LoadSample(c.file.c_str(), kSound16Bit | kSoundMono) != nullptr;
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(loaded) << c.file;
    EXPECT_EQ(said, std::string("Skyrift: ") + (c.music ? "music" : "sample") + " \"" + c.file +
                        "\" cannot be used: " + c.reason + "\n");
  }
  ::testing::internal::CaptureStderr();
  EXPECT_NE(LoadSample(fine.c_str(), kSound16Bit | kSoundMono), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  fs::remove_all(folder);
}

std::string Le(uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
  return out;
}
std::string Chunk(const char* id, const std::string& body) {
  return id + Le(static_cast<uint32_t>(body.size()), 4) + body + std::string(body.size() % 2, '\0');
}
// A format chunk; `blockAlign` -1 gives the one its channels and sample size make.
std::string Format(uint32_t rate, uint16_t channels, uint16_t bits, uint16_t encoding = 1,
                   int blockAlign = -1) {
  const uint32_t frameBytes = channels * ((bits + 7u) / 8u);
  return Chunk("fmt ", Le(encoding, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * frameBytes, 4) +
                           Le(blockAlign < 0 ? frameBytes : static_cast<uint32_t>(blockAlign), 2) +
                           Le(bits, 2));
}
// An extensible format chunk naming `encoding`; `tail` the 14 bytes after it in the sub-format.
std::string Extensible(uint16_t channels, uint16_t bits, uint16_t encoding,
                       const std::string& tail) {
  const uint32_t frameBytes = channels * bits / 8u;
  return Chunk("fmt ", Le(0xFFFE, 2) + Le(channels, 2) + Le(44100, 4) + Le(44100 * frameBytes, 4) +
                           Le(frameBytes, 2) + Le(bits, 2) + Le(22, 2) + Le(bits, 2) + Le(3, 4) +
                           Le(encoding, 2) + tail);
}
const std::string kStandardTail("\0\0\0\0\x10\0\x80\0\0\xAA\0\x38\x9B\x71", 14);
// `riffSize` -1: the size the chunks make.
void WriteChunks(const std::string& name, const std::string& chunks, int64_t riffSize = -1) {
  const auto size = riffSize < 0 ? chunks.size() + 4 : static_cast<size_t>(riffSize);
  std::ofstream(name, std::ios::binary)
      << "RIFF" << Le(static_cast<uint32_t>(size), 4) << "WAVE" << chunks;
}

// Every build plays a WAV file, or refuses it for the same reason, as one shared reading of its
// headers decides before any decoder sees it: what is malformed is refused, what the game can
// play is played on both (more than two channels mixed down to stereo).
TEST_F(SoundLayer, EveryBuildPlaysOrRefusesAWavFileForTheSameReason) {
  ASSERT_TRUE(StartSoundLibrary(44100, 32));
  testing::TempFolder folder;
  const std::string sound(2048, '\x40');
  const std::string data = Chunk("data", sound);
  const std::string cd = Format(44100, 2, 16) + data;
  // A data chunk that declares `declared` bytes and holds `held`.
  const auto dataOf = [](uint32_t declared, size_t held) {
    return "data" + Le(declared, 4) + std::string(held, '\x80');
  };
  constexpr uint32_t kLimitBytes = 90 * 8000;  // 8-bit mono at 8000 Hz
  const struct {
    const char* name;
    std::string chunks;
    int64_t riffSize;
    const char* reason;  // null: it plays
  } cases[] = {
      // The first format is the one that counts.
      {"tiny first", Format(1, 1, 8) + Format(44100, 2, 16) + data, -1,
       "it holds 2048 s of sound, more than the 90 s a sample may"},
      {"big first", Format(44100, 2, 16) + Format(1, 1, 8) + data, -1, nullptr},
      {"tiny after the data", Format(22050, 1, 16) + data + Format(1, 1, 8), -1, nullptr},
      {"other chunks first",
       Chunk("LIST", "INFOx") + Chunk("fact", Le(1024, 4)) + Format(8000, 1, 16) + data, -1,
       nullptr},
      {"data before its format", data + Format(44100, 2, 16), -1,
       "its sound data comes before its format"},
      // The RIFF size: too small for the chunks, or left at 0 by a writer that never filled it.
      {"RIFF size 4", cd, 4, "its RIFF size ends before its sound data"},
      {"RIFF size 0", cd, 0, nullptr},
      // The block size must be what the channels and sample size make.
      {"block align 0", Format(44100, 2, 16, 1, 0) + data, -1,
       "its block size disagrees with its channels and sample size"},
      {"block align 100", Format(44100, 2, 16, 1, 100) + data, -1,
       "its block size disagrees with its channels and sample size"},
      // An extensible header names a standard sub-format, all sixteen bytes of it.
      {"extensible PCM", Extensible(2, 16, 1, kStandardTail) + data, -1, nullptr},
      {"extensible, sub-format wrong after its first 2 bytes",
       Extensible(2, 16, 1, std::string(14, '\x55')) + data, -1,
       "its extensible sub-format is not a standard one"},
      {"extensible cut short", Format(44100, 2, 16, 0xFFFE) + data, -1,
       "its extensible format is cut short"},
      // Channels: mixed down to stereo up to 7.1.
      {"3 channels", Format(44100, 3, 16) + Chunk("data", std::string(3 * 512, '\x40')), -1,
       nullptr},
      {"6 channels", Format(44100, 6, 16) + Chunk("data", std::string(6 * 512, '\x40')), -1,
       nullptr},
      {"8 channels", Format(44100, 8, 16) + data, -1, nullptr},
      {"9 channels", Format(44100, 9, 16) + Chunk("data", std::string(9 * 512, '\x40')), -1,
       "it has 9 channels, more than the 8 a sample may"},
      // Encodings: integer PCM and 32-bit float only.
      {"mu-law", Format(8000, 1, 8, 7) + data, -1,
       "it is not 8-, 16-, 24- or 32-bit PCM or 32-bit float"},
      {"12-bit", Format(8000, 1, 12) + data, -1,
       "it is not 8-, 16-, 24- or 32-bit PCM or 32-bit float"},
      {"32-bit float", Format(44100, 1, 32, 3) + data, -1, nullptr},
      // Rates.
      {"384,000 Hz", Format(384000, 1, 16) + data, -1, nullptr},
      {"400,000 Hz", Format(400000, 1, 16) + data, -1,
       "its rate of 400000 Hz is more than the 384000 Hz a sample may have"},
      {"0 Hz", Format(0, 1, 16) + data, -1, "its format gives a rate of 0 Hz"},
      // The sound itself: none, less than declared, and the length limit.
      {"data chunk of 0 bytes", Format(44100, 2, 16) + Chunk("data", ""), -1, "it holds no sound"},
      {"data past the end of the file", Format(8000, 1, 8) + dataOf(100 * 8000, 8000), -1, nullptr},
      {"exactly the longest sample", Format(8000, 1, 8) + dataOf(kLimitBytes, kLimitBytes), -1,
       nullptr},
      {"a frame past the longest", Format(8000, 1, 8) + dataOf(kLimitBytes + 1, kLimitBytes + 1),
       -1, "it holds 90 s of sound, more than the 90 s a sample may"},
  };
  for (const auto& c : cases) {
    const std::string file = (folder.Path() / (std::string(c.name) + ".wav")).string();
    WriteChunks(file, c.chunks, c.riffSize);
    ::testing::internal::CaptureStderr();
    Sample* sample = LoadSample(file.c_str(), kSound16Bit | kSoundMono);
    const std::string said = ::testing::internal::GetCapturedStderr();
    if (c.reason == nullptr) {
      EXPECT_NE(sample, nullptr) << c.name << ": " << said;
      EXPECT_GE(PlaySample(kAnyFreeChannel, sample), 3) << c.name;
    } else {
      EXPECT_EQ(sample, nullptr) << c.name;
      EXPECT_EQ(said, "Skyrift: sample \"" + file + "\" cannot be used: " + c.reason + "\n")
          << c.name;
    }
  }
}

TEST_F(SoundLayer, WithoutAStartedLibraryEverythingIsSilent) {
  EXPECT_FALSE(platform::MixerIsOpen());
  EXPECT_EQ(LoadSample(GameFile("player_fire.wav").c_str(), kSound16Bit | kSoundMono), nullptr);
  EXPECT_EQ(OpenStream(GameFile("stage2.mp3").c_str(), kSoundLoop), nullptr);
  EXPECT_EQ(PlaySample(kAnyFreeChannel, nullptr), -1);
  SetChannelVolume(kMusicChannel, 175);
  SetChannelPaused(kMusicChannel, TRUE);
  StopChannel(kBulletTimeChannel);
  EXPECT_FALSE(platform::MusicPlaying());

  // Started, then closed: the samples loaded meanwhile are gone with it and loads fail again.
  ASSERT_TRUE(StartSoundLibrary(44100, 32));
  Sample* hum =
      LoadSample(GameFile("bullet-time_dur.wav").c_str(), kSoundLoop | kSound16Bit | kSoundStereo);
  ASSERT_NE(hum, nullptr);
  EXPECT_EQ(PlaySample(kBulletTimeChannel, hum), 1);
  CloseSoundLibrary();
  EXPECT_FALSE(platform::MixerIsOpen());
  EXPECT_FALSE(platform::ChannelPlaying(1));
  EXPECT_EQ(LoadSample(GameFile("player_fire.wav").c_str(), kSound16Bit | kSoundMono), nullptr);
}

}  // namespace
}  // namespace skyrift
