// The game's own samples, loaded from the built game folder onto SDL's silent dummy output, so
// that a test can tell from the sound layer's record which sounds were asked for.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/Sound.h"
#include "world/Globals.h"

namespace skyrift::testing {

class GameSamples {
 public:
  GameSamples() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_TRUE(StartSoundLibrary(44100, 32));
    for (const Entry& entry : kEntries) {
      *entry.global =
          LoadSample((std::string(SKYRIFT_GAME_DIR) + "/" + entry.file).c_str(), entry.mode);
      EXPECT_NE(*entry.global, nullptr) << entry.file;
    }
    ClearPlayRequests();
  }
  ~GameSamples() {
    CloseSoundLibrary();  // frees every sample
    for (const Entry& entry : kEntries) *entry.global = nullptr;
  }
  GameSamples(const GameSamples&) = delete;
  GameSamples& operator=(const GameSamples&) = delete;

  // How often `sample` was asked for on `channel` since the last ClearPlayRequests.
  static int Played(const Sample* sample, int channel = kAnyFreeChannel) {
    int count = 0;
    for (const PlayRequest& request : PlayRequests()) {
      if (request.sample == sample && request.channel == channel) ++count;
    }
    return count;
  }

 private:
  struct Entry {
    const char* file;
    unsigned mode;
    Sample** global;
  };
  static constexpr unsigned kMono16 = kSound16Bit | kSoundMono;
  static constexpr unsigned kMono8 = kSound8Bit | kSoundMono;
  static constexpr Entry kEntries[] = {
      {"upgrade_ding.wav", kMono16, &_sndUpgradeDing},
      {"player_fire.wav", kMono16, &_sndPlayerFire},
      {"player_bomb.wav", kMono8, &_sndPlayerBomb},
      {"bullet-time_act.wav", kMono8, &_sndBulletTimeAct},
      {"bullet-time_deact.wav", kMono16, &_sndBulletTimeDeact},
      {"bullet-time_dur.wav", kSoundLoop | kSound16Bit | kSoundStereo, &_sndBulletTimeDur},
  };
};

}  // namespace skyrift::testing
