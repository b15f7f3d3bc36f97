// MIDI playback: a song that cannot be opened leaves no device behind, with or without a sound
// device; one that can be opened plays, pauses, resumes and closes, and never lays hands on the
// stage music that took its place.
#include "platform/Midi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "engine/Engine.h"
#include "engine/Sound.h"
#include "platform/Mixer.h"
#include "platform/Resources.h"

namespace skyrift {
namespace {

namespace fs = std::filesystem;

// A one-track song: four notes of half a second each.
std::vector<uint8_t> Song() {
  std::vector<uint8_t> track = {0x00, 0xC0, 0x00};  // piano
  for (uint8_t note : {60, 64, 67, 72}) {
    const uint8_t on[] = {0x00, 0x90, note, 100, 0x83,
                          0x60, 0x80, note, 0};  // 480 ticks later: off
    track.insert(track.end(), std::begin(on), std::end(on));
  }
  const uint8_t end[] = {0x00, 0xFF, 0x2F, 0x00};
  track.insert(track.end(), std::begin(end), std::end(end));
  std::vector<uint8_t> file = {'M', 'T', 'h', 'd',  0,    0,   0,   6,   0,
                               0,   0,   1,   0x01, 0xE0, 'M', 'T', 'r', 'k'};
  const auto size = static_cast<uint32_t>(track.size());
  for (int shift : {24, 16, 8, 0}) file.push_back(static_cast<uint8_t>(size >> shift));
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

// On SDL a song is the mixer's one music track; Windows' sequencer plays beside the mixer.
#ifdef _WIN32
constexpr bool kSongsUseTheMusicPlayer = false;
#else
constexpr bool kSongsUseTheMusicPlayer = true;
#endif

class Midi : public ::testing::Test {
 protected:
  Midi() : engine(platform::ProgramModule(), "Skyrift", "Skyrift", 1000, 1001, 900, 732) {}
  ~Midi() override {
    engine.CloseMidi();
    CloseSoundLibrary();
  }

  std::string Write(const char* name, const std::vector<uint8_t>& bytes) const {
    const fs::path path = folder.Path() / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }

  Engine engine;
  testing::TempFolder folder{"skyrift-midi"};
};

TEST_F(Midi, AFileThatCannotBePlayedLeavesNoDeviceOpen) {
  const std::string song = Write("song.mid", Song());
  // No sound device open: nothing can play, and nothing breaks.
  engine.PlayMidiFile(song.c_str(), TRUE);
  EXPECT_EQ(engine.GetMidiDevice(), 0u);
  engine.PauseMidi();
  engine.CloseMidi();

  ASSERT_TRUE(StartSoundLibrary(44100, 32));
  engine.PlayMidiFile("no such song.mid", TRUE);
  EXPECT_EQ(engine.GetMidiDevice(), 0u);
  engine.PlayMidiFile("no such song.mid", FALSE);
  EXPECT_EQ(engine.GetMidiDevice(), 0u);
  // A sound file that is not a song is not taken for one.
  engine.PlayMidiFile((std::string(SKYRIFT_GAME_DIR) + "/upgrade_ding.wav").c_str(), TRUE);
  EXPECT_EQ(engine.GetMidiDevice(), 0u);
  EXPECT_FALSE(platform::MusicPlaying());
  engine.PauseMidi();
  engine.CloseMidi();
  EXPECT_EQ(engine.GetMidiDevice(), 0u);
}

TEST_F(Midi, ASongPlaysPausesResumesAndCloses) {
  ASSERT_TRUE(StartSoundLibrary(44100, 32));
  const std::string song = Write("song.mid", Song());
  engine.PlayMidiFile(song.c_str(), FALSE);
  const unsigned device = engine.GetMidiDevice();
  if (device == 0) GTEST_SKIP() << "no MIDI synthesiser is installed here";
  EXPECT_TRUE(platform::MidiPlaying(device));

  engine.PauseMidi();
  EXPECT_FALSE(platform::MidiPlaying(device));
  if (kSongsUseTheMusicPlayer) {
    EXPECT_TRUE(platform::MusicPaused());
  }
  engine.PlayMidiFile(song.c_str(), FALSE);
  EXPECT_EQ(engine.GetMidiDevice(), device) << "the open song is resumed, not opened again";
  EXPECT_TRUE(platform::MidiPlaying(device));
  engine.PlayMidiFile("another song.mid", TRUE);
  EXPECT_EQ(engine.GetMidiDevice(), device) << "while a song is open, the name is not looked at";
  EXPECT_TRUE(platform::MidiPlaying(device));

  engine.CloseMidi();
  EXPECT_EQ(engine.GetMidiDevice(), 0u);
  EXPECT_FALSE(platform::MusicPlaying());
}

TEST_F(Midi, TheStageMusicTakingOverIsLeftAlone) {
  ASSERT_TRUE(StartSoundLibrary(44100, 32));
  const std::string song = Write("song.mid", Song());
  engine.PlayMidiFile(song.c_str(), TRUE);
  if (engine.GetMidiDevice() == 0) GTEST_SKIP() << "no MIDI synthesiser is installed here";

  Stream* music = OpenStream((std::string(SKYRIFT_GAME_DIR) + "/stage2.mp3").c_str(), kSoundLoop);
  ASSERT_NE(music, nullptr);
  PlayStream(kMusicChannel, music);
  EXPECT_EQ(platform::MidiPlaying(engine.GetMidiDevice()), !kSongsUseTheMusicPlayer);
  engine.PauseMidi();
  EXPECT_FALSE(platform::MusicPaused()) << "pausing the song must not pause the stage music";
  engine.CloseMidi();
  EXPECT_TRUE(platform::MusicPlaying()) << "closing the song must not stop the stage music";
}

}  // namespace
}  // namespace skyrift
