// SDL's music as it leaves the mixer, through SDL's disk output, which writes the mix to a file
// as fast as it is made.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "DiskOutput.h"
#include "Mp3Bytes.h"
#include "MusicLoop.h"
#include "TempFolder.h"
#include "engine/Sound.h"
#include "platform/Mixer.h"

namespace skyrift {
namespace {

namespace fs = std::filesystem;

// Where the sound starts in a capture that is still being written, found by reading on from
// where the last look stopped: the output writes silence as fast as it can until the music
// starts, and on a busy machine that can be a lot of it.
class FirstSound {
 public:
  explicit FirstSound(std::string file) : file_(std::move(file)) {}
  // The byte the sound starts at, once it has.
  std::optional<uintmax_t> Find() {
    if (start_) return start_;
    std::ifstream in(file_, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(scanned_));
    std::vector<float> block(64 * 1024);
    while (in.read(reinterpret_cast<char*>(block.data()), block.size() * sizeof(float)) ||
           in.gcount() > 0) {
      const size_t got = static_cast<size_t>(in.gcount()) / sizeof(float);
      const auto loud =
          std::find_if(block.begin(), block.begin() + got, [](float s) { return s != 0.0f; });
      if (loud != block.begin() + got) {
        // From the start of its stereo frame, so that the channels stay in their places.
        const uintmax_t sample = scanned_ / sizeof(float) + (loud - block.begin());
        start_ = sample / 2 * 2 * sizeof(float);
        return start_;
      }
      scanned_ += got * sizeof(float);
      if (got < block.size()) break;
    }
    return std::nullopt;
  }

 private:
  std::string file_;
  uintmax_t scanned_ = 0;
  std::optional<uintmax_t> start_;
};

// A short piece loops to the sample, seamlessly, and a piece with a damaged stretch plays on
// past it, pass after pass, instead of stopping for good.
TEST(SdlMusic, LoopsSeamlesslyAndPlaysOnPastADamagedStretch) {
  testing::TempFolder folder;
  const std::string capture = (folder.Path() / "heard.raw").string();
  const testing::DiskOutput output(capture);
  const std::vector<uint8_t> music =
      testing::ReadBytes(std::string(SKYRIFT_GAME_DIR) + "/stage2.mp3");
  for (const size_t junk : {size_t{0}, size_t{200 * 1024}}) {
    SCOPED_TRACE(junk);
    const std::vector<uint8_t> piece = testing::ShortPiece(music, 80, junk);
    const std::string file = (folder.Path() / "piece.mp3").string();
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(piece.data()), piece.size());
    const size_t pass = testing::PassLength(piece);

    ASSERT_TRUE(StartSoundLibrary(44100, 32));
    Stream* stream = OpenStream(file.c_str(), kSoundLoop);
    ASSERT_NE(stream, nullptr);
    PlayStream(kMusicChannel, stream);
    SetChannelVolume(kMusicChannel, 255);
    // Three passes from the first sound are compared; four are waited for, however long the
    // output takes to write them.
    const uintmax_t fourPasses = 4 * pass * 2 * sizeof(float);
    FirstSound first(capture);
    std::optional<uintmax_t> start;
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!(start = first.Find()) || fs::file_size(capture) < *start + fourPasses) {
      ASSERT_LT(std::chrono::steady_clock::now(), until) << "four passes were never heard";
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(platform::MusicPlaying());
    CloseStream(stream);
    CloseSoundLibrary();

    std::ifstream in(capture, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(*start));
    std::vector<float> heard(fourPasses / sizeof(float));
    in.read(reinterpret_cast<char*>(heard.data()), static_cast<std::streamsize>(fourPasses));
    for (size_t from : {pass / 3, pass * 2 / 3, pass + pass / 2}) {
      EXPECT_EQ(testing::RepeatsAfter(heard, from, pass - 3000, pass + 3000), pass)
          << "at " << from;
    }
  }
}

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// A long piece plays from its file, read a stretch at a time: fifteen minutes at 320 kbit/s
// (34 MB) leave the game's memory hardly larger once loaded and playing.
TEST(SdlMusic, ALongPieceIsReadFromItsFileAsItPlays) {
  testing::TempFolder folder;
  const std::string file = (folder.Path() / "long.mp3").string();
  {
    const testing::Bytes frame = testing::Mp3Frame(0xFB, 0xE0, 0x00, 1044);  // 320 kbit/s
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < 34400; ++i)
      out.write(reinterpret_cast<const char*>(frame.data()),
                static_cast<std::streamsize>(frame.size()));
  }
  ASSERT_TRUE(StartSoundLibrary(44100, 32));
  [[maybe_unused]] const long before = ResidentKb();
  Stream* stream = OpenStream(file.c_str(), kSoundLoop);
  ASSERT_NE(stream, nullptr);
  PlayStream(kMusicChannel, stream);
  EXPECT_TRUE(platform::MusicPlaying());
#ifndef __SANITIZE_ADDRESS__  // which keeps freed memory, the scan's read of the file with it
  EXPECT_LT(ResidentKb() - before, 8 * 1024) << "KB more once the music plays";
#endif
  CloseStream(stream);
  CloseSoundLibrary();
}

}  // namespace
}  // namespace skyrift
