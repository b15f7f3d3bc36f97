// The shared mixer with the game's own samples: loading all fifteen as the game does at start,
// with the bytes they then hold, and mixing a second of four voices of different forms (16-bit
// mono, 16-bit mono at 16 kHz, 8-bit mono, the 16-bit stereo loop) as the device pulls it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/MixCore.h"

namespace skyrift::platform {
namespace {

constexpr int kRate = 44100;
constexpr size_t kBlockFrames = 1024;

std::vector<std::string> GameSamples() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(SKYRIFT_GAME_DIR)) {
    if (entry.path().extension() == ".wav") files.push_back(entry.path().string());
  }
  return files;
}

size_t BytesHeld(const MixerChunk& chunk) {
  return chunk.sound.bytes.capacity();
}

void BM_LoadGameSamples(benchmark::State& state) {
  const std::vector<std::string> files = GameSamples();
  size_t held = 0;
  for (auto _ : state) {
    held = 0;
    for (const std::string& file : files) {
      std::string why;
      MixerChunk* chunk = LoadMixerChunk(file.c_str(), why);
      if (chunk == nullptr) {
        state.SkipWithError((file + ": " + why).c_str());
        return;
      }
      held += BytesHeld(*chunk);
      delete chunk;
    }
  }
  state.counters["samples"] = static_cast<double>(files.size());
  state.counters["held_KB"] = static_cast<double>(held) / 1024.0;
}
BENCHMARK(BM_LoadGameSamples)->Unit(benchmark::kMillisecond);

void BM_MixSecondOfFourVoices(benchmark::State& state) {
  const std::string folder = std::string(SKYRIFT_GAME_DIR) + "/";
  std::vector<MixerChunk*> chunks;
  for (const char* name :
       {"explosion.wav", "large_incoming.wav", "player_bomb.wav", "bullet-time_dur.wav"}) {
    std::string why;
    chunks.push_back(LoadMixerChunk((folder + name).c_str(), why));
    if (chunks.back() == nullptr) {
      state.SkipWithError((std::string(name) + ": " + why).c_str());
      return;
    }
  }
  MixState mix(32, 3, kRate);
  // Looping, so that all four sound for the whole second.
  for (MixerChunk* chunk : chunks) mix.Play(-1, chunk, true);
  std::vector<int16_t> out(kBlockFrames * 2);
  for (auto _ : state) {
    for (size_t done = 0; done < kRate; done += kBlockFrames) mix.Render(out.data(), kBlockFrames);
    benchmark::DoNotOptimize(out.data());
  }
  for (MixerChunk* chunk : chunks) delete chunk;
}
BENCHMARK(BM_MixSecondOfFourVoices)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace skyrift::platform
