// The MP3 frame scanner on files made frame by frame: each MPEG version's rates and frame sizes,
// the ends of a file, damage, and the info frame's fields when the frames are joined.
#include "platform/Mp3Frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "Mp3Bytes.h"
#include "TempFolder.h"
#include "platform/SoundFile.h"

namespace skyrift::platform {
namespace {

using testing::Bytes;
using testing::InfoFrame;
using testing::Join;
using testing::kMpeg1;
using testing::Mp3Frame;
using testing::Repeat;

const Bytes kMpeg1Padded = Mp3Frame(0xFB, 0x92, 0x00, 418);  // kMpeg1, padded
const Bytes kMpeg2 = Mp3Frame(0xF3, 0x14, 0xC0, 24);         // 8 kbit/s, 24000 Hz, mono
const Bytes kMpeg25 = Mp3Frame(0xE3, 0x40, 0x00, 208);       // 32 kbit/s, 11025 Hz, stereo
const Bytes kMpeg25Padded = Mp3Frame(0xE3, 0x42, 0x00, 209);

TEST(Mp3Scan, FindsEveryVersionsFramesFromTheFirstToTheLast) {
  Bytes id3v1(128, 'x');
  std::memcpy(id3v1.data(), "TAG", 3);
  const Bytes damage(50, 0x00);
  // After damage a header counts only when two frames follow it: this one has one.
  const Bytes stray = Repeat(kMpeg1, 2);
  const struct {
    const char* name;
    Bytes file;
    int rate;
    int samplesPerFrame;
    size_t frames;
    size_t skipped;
    size_t after = 0;  // bytes after the last frame
  } cases[] = {
      {"MPEG-1, clean to its last frame", Join({Repeat(kMpeg1, 4), kMpeg1Padded}), 44100, 1152, 5,
       0},
      {"an ID3v1 tag at the end", Join({Repeat(kMpeg1, 5), id3v1}), 44100, 1152, 5, 0, 128},
      {"MPEG-2", Repeat(kMpeg2, 6), 24000, 576, 6, 0},
      {"MPEG-2.5, padded and not", Join({Repeat(kMpeg25, 2), kMpeg25Padded, kMpeg25}), 11025, 576,
       4, 0},
      // The frame before the damage has no frame after it and goes with it.
      {"a stray header after damage",
       Join({Repeat(kMpeg1, 5), damage, stray, damage, Repeat(kMpeg1, 5)}), 44100, 1152, 9,
       417 + 50 + 2 * 417 + 50},
  };
  for (const auto& c : cases) {
    std::string why;
    const auto frames = ScanMp3(c.file.data(), c.file.size(), why);
    ASSERT_TRUE(frames) << c.name << ": " << why;
    EXPECT_EQ(frames->rate, c.rate) << c.name;
    EXPECT_EQ(frames->samplesPerFrame, c.samplesPerFrame) << c.name;
    EXPECT_EQ(frames->audio.size(), c.frames) << c.name;
    EXPECT_EQ(frames->skippedBytes, c.skipped) << c.name;
    EXPECT_EQ(frames->audio.back().at + frames->audio.back().bytes, c.file.size() - c.after)
        << c.name << ": the last frame ends where the sound does";
  }

  // Bit-rate index 15 is no rate at all: no frame, whatever follows.
  const Bytes forbidden = Repeat(Mp3Frame(0xFB, 0xF0, 0x00, 417), 5);
  std::string why;
  EXPECT_FALSE(ScanMp3(forbidden.data(), forbidden.size(), why));
  EXPECT_EQ(why, "it holds no MP3 sound");
}

TEST(Mp3Scan, APieceThatIsAllEncodersSilenceIsRefused) {
  // Two frames hold 2304 samples.
  for (const auto& [delay, padding, plays] :
       {std::tuple{576, 1727, true}, std::tuple{576, 1728, false}, std::tuple{2304, 0, false}}) {
    const Bytes file = Join({InfoFrame(delay, padding), Repeat(kMpeg1, 2)});
    std::string why;
    const auto frames = ScanMp3(file.data(), file.size(), why);
    EXPECT_EQ(frames.has_value(), plays) << delay << " + " << padding;
    EXPECT_EQ(why, plays ? "" : "it holds no sound once its encoder's silence is cut");
  }
}

// The joined stream as a decoder reads it: whole, or a few bytes at a time from anywhere.
Bytes ReadJoined(const Bytes& file, const Mp3Frames& frames, size_t step) {
  JoinedMp3 joined(ReadFromMemory(file.data(), file.size()), frames);
  Bytes out(joined.Size());
  for (size_t at = 0; at < out.size(); at += step) {
    const size_t take = std::min(step, out.size() - at);
    EXPECT_EQ(joined.Read(at, out.data() + at, take), take) << at;
  }
  EXPECT_EQ(joined.Read(out.size(), out.data(), 1), 0u) << "nothing past the end";
  return out;
}

TEST(Mp3Join, TheFramesAreJoinedAsReadAndTheInfoFrameWritesOnlyInsideItself) {
  // A 24-byte MPEG-2 mono "Xing" frame with flags 3 names a frame count at bytes 21 to 24 and
  // a size at 25 to 28: both past its end, over the next frame's header.
  Bytes xing = kMpeg2;
  std::memcpy(xing.data() + 13, "Xing", 4);
  xing[20] = 3;
  const Bytes junk(30, 0x00);
  const Bytes file = Join({xing, Repeat(kMpeg2, 3), junk, Repeat(kMpeg2, 4)});
  std::string why;
  const auto frames = ScanMp3(file.data(), file.size(), why);
  ASSERT_TRUE(frames) << why;
  ASSERT_TRUE(frames->info);
  const Bytes expected = Join({xing, Repeat(kMpeg2, static_cast<int>(frames->audio.size()))});
  for (const size_t step : {expected.size(), size_t{7}}) {
    EXPECT_EQ(ReadJoined(file, *frames, step), expected) << step;
  }

  // A well-formed info frame is made to count what was joined: the frames and the bytes.
  Bytes info = kMpeg1;
  std::memcpy(info.data() + 36, "Xing", 4);
  info[43] = 3;
  const Bytes whole = Join({info, Repeat(kMpeg1, 3), Bytes(100, 0x00), Repeat(kMpeg1, 3)});
  const auto scanned = ScanMp3(whole.data(), whole.size(), why);
  ASSERT_TRUE(scanned) << why;
  const Bytes joined = ReadJoined(whole, *scanned, 1000);
  const uint32_t count = joined[44] << 24 | joined[45] << 16 | joined[46] << 8 | joined[47];
  const uint32_t bytes = joined[48] << 24 | joined[49] << 16 | joined[50] << 8 | joined[51];
  EXPECT_EQ(count, scanned->audio.size());
  EXPECT_EQ(bytes, joined.size());
  EXPECT_EQ(joined.size(), 417u * (1 + scanned->audio.size()));
}

// Music is read a stretch ahead of the decoder: every read gives what the file holds there,
// wherever it falls against the stretch held, and fails where the file ends first.
TEST(Mp3Join, TheReadAheadGivesWhatTheFileHoldsWhereverTheReadFalls) {
  const testing::TempFolder folder;
  const auto path = folder.Path() / "music.mp3";
  Bytes file(1000);
  for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i * 7 + i / 256);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  auto in = std::make_shared<std::ifstream>(path, std::ios::binary);
  const ReadAt read = ReadAheadFromFile(in, 64);
  const struct {
    uint64_t at;
    size_t count;
    bool read;
  } kReads[] = {
      {0, 10, true},   {10, 54, true},    // the first stretch, to its last byte
      {60, 10, true},                     // across its end: a new stretch
      {5, 3, true},                       // behind the stretch held
      {100, 64, true}, {300, 500, true},  // a stretch's size or more, straight from the file
      {990, 10, true}, {995, 10, false}, {1000, 0, true}, {1000, 1, false}, {5000, 4, false},
  };
  for (const auto& r : kReads) {
    Bytes got(r.count, 0xEE);
    ASSERT_EQ(read(r.at, got.data(), r.count), r.read) << r.at << " + " << r.count;
    if (!r.read) continue;
    EXPECT_TRUE(std::equal(got.begin(), got.end(), file.begin() + static_cast<long>(r.at)))
        << r.at << " + " << r.count;
  }
}

}  // namespace
}  // namespace skyrift::platform
