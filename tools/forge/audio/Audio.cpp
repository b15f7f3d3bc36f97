// `forge audio`: writes every sample and both music loops of the game into one folder.
// The music takes most of the time, so the two pieces are made on two threads.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <system_error>
#include <thread>

#include "Forge.h"
#include "audio/Effects.h"
#include "audio/Mp3.h"
#include "audio/Sequencer.h"
#include "audio/Speech.h"
#include "audio/Wav.h"

namespace skyrift::forge {

namespace {

using namespace audio;

// Each file in the format its load mode asks for: 0x30 16-bit mono, 0x28 8-bit mono,
// 0x52 looping 16-bit stereo.
struct SynthesisedSample {
  const char* file;
  WavFormat format;
  Sound (*make)();
};
constexpr SynthesisedSample kSynthesised[] = {
    {"explosion.wav", WavFormat::Mono16, MakeExplosion},
    {"boss1_enter.wav", WavFormat::Mono16, MakeBossEnter},
    {"bullet-time_act.wav", WavFormat::Mono8, MakeBulletTimeOn},
    {"bullet-time_deact.wav", WavFormat::Mono16, MakeBulletTimeOff},
    {"bullet-time_dur.wav", WavFormat::Stereo16, MakeBulletTimeLoop},
    {"player_fire.wav", WavFormat::Mono16, MakePlayerFire},
    {"player_bomb.wav", WavFormat::Mono8, MakeBomb},
    {"enemy_fire.wav", WavFormat::Mono16, MakeEnemyFire},
    {"enemy_fire2.wav", WavFormat::Mono16, MakeEnemyFire2},
    {"upgrade_ding.wav", WavFormat::Mono16, MakeUpgradeDing},
};

struct Announcement {
  const char* file;
  const char* text;
};
constexpr Announcement kAnnouncements[] = {
    {"bt_depleted.wav", "Bullet time depleted."},
    {"shields_depleted.wav", "Shields depleted."},
    {"large_incoming.wav", "Warning. Large incoming."},
    {"massive enemy.wav", "Warning. Massive enemy approaching."},
    {"stage1_complete.wav", "Stage one complete."},
};

constexpr int kMusicKbps = 192;
constexpr double kSampleCeiling = 0.94;

bool WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes,
                std::string& error) {
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  stream.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  stream.close();
  if (!stream) error = "cannot write " + file.string();
  return static_cast<bool>(stream);
}

// The first and last kMusicEndFrames frames of `stereo`, as bytes.
std::vector<uint8_t> Ends(const std::vector<float>& stereo) {
  const size_t samples = std::min(2 * kMusicEndFrames, stereo.size());
  std::vector<float> ends(stereo.begin(), stereo.begin() + static_cast<std::ptrdiff_t>(samples));
  ends.insert(ends.end(), stereo.end() - static_cast<std::ptrdiff_t>(samples), stereo.end());
  std::vector<uint8_t> bytes(ends.size() * sizeof(float));
  std::memcpy(bytes.data(), ends.data(), bytes.size());
  return bytes;
}

// `ends`, when not empty, names the file for the loop's two ends as it was encoded.
bool ForgeMusic(const Song& song, const std::filesystem::path& file,
                const std::filesystem::path& ends, std::string& error) {
  std::vector<float> stereo;
  std::vector<uint8_t> mp3;
  return RenderSong(song, stereo, error) && EncodeMp3(stereo, kMusicKbps, mp3, error) &&
         WriteBytes(file, mp3, error) && (ends.empty() || WriteBytes(ends, Ends(stereo), error));
}

bool ForgeEffects(const std::filesystem::path& outDir, std::string& error) {
  for (const SynthesisedSample& sample : kSynthesised) {
    Sound sound = sample.make();
    // The looping drone is made seamless in itself; the one-shots are sealed at both ends.
    if (sample.format != WavFormat::Stereo16) Seal(sound.samples, sound.rate, kSampleCeiling);
    if (!WriteWav(outDir / sample.file, sound.samples, sound.rate, sample.format, error)) {
      return false;
    }
  }
  return true;
}

bool ForgeAnnouncements(const std::filesystem::path& outDir, std::string& error) {
  for (const Announcement& line : kAnnouncements) {
    Sound sound;
    if (!MakeAnnouncement(line.text, sound, error)) return false;
    Seal(sound.samples, sound.rate, kSampleCeiling);
    if (!WriteWav(outDir / line.file, sound.samples, sound.rate, WavFormat::Mono16, error)) {
      return false;
    }
  }
  return true;
}

}  // namespace

int ForgeAudio(const std::filesystem::path& outDir, const std::filesystem::path& endsDir) {
  try {
    for (const std::filesystem::path& folder : {outDir, endsDir}) {
      std::error_code made;
      if (!folder.empty()) std::filesystem::create_directories(folder, made);
      if (made) {
        std::cerr << "forge audio: cannot create " << folder << ": " << made.message() << "\n";
        return 1;
      }
    }
    std::string error;
    if (!ForgeAnnouncements(outDir, error)) {
      std::cerr << "forge audio: " << error << "\n";
      return 1;
    }
    // "stage2.mp3" plays on the title and in stage 1, "stage1.mp3" in stage 2.
    std::string stage2Error;
    bool stage2Done = false;
    const auto ends = [&endsDir](const char* name) {
      return endsDir.empty() ? endsDir : endsDir / name;
    };
    std::jthread stage2([&] {
      stage2Done =
          ForgeMusic(BrightSong(), outDir / "stage2.mp3", ends("stage2.ends.f32"), stage2Error);
    });
    const bool rest = ForgeEffects(outDir, error) &&
                      ForgeMusic(DarkSong(), outDir / "stage1.mp3", ends("stage1.ends.f32"), error);
    stage2.join();
    for (const std::string* message : {&error, &stage2Error}) {
      if (!message->empty()) std::cerr << "forge audio: " << *message << "\n";
    }
    return rest && stage2Done ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "forge audio: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace skyrift::forge
