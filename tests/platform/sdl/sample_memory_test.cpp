// The SDL layer's samples hold no more memory than their sound takes in the mixer's format.
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <filesystem>

#include "platform/Mixer.h"

namespace skyrift::platform {
namespace {

TEST(SdlSamples, EachHoldsOnlyWhatItsSoundTakes) {
  ASSERT_TRUE(OpenMixer(44100, 32, 3));
  int loaded = 0;
  for (const auto& entry : std::filesystem::directory_iterator(SKYRIFT_GAME_DIR)) {
    if (entry.path().extension() != ".wav") continue;
    MixerChunk* sample = LoadChunk(entry.path().c_str());
    ASSERT_NE(sample, nullptr) << entry.path() << ": " << LoadError();
    // A layer's chunk is SDL's: its buffer, as the allocator holds it, against its sound.
    const Mix_Chunk* chunk = reinterpret_cast<const Mix_Chunk*>(sample);
    EXPECT_LE(malloc_usable_size(chunk->abuf), chunk->alen + 4096) << entry.path();
    FreeChunk(sample);
    ++loaded;
  }
  EXPECT_EQ(loaded, 15);
  CloseMixer();
}

}  // namespace
}  // namespace skyrift::platform
