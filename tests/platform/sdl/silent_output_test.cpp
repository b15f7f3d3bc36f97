// A machine whose sound system cannot be opened still gets a game with sound calls that work:
// SDL's silent output stands in, and the environment the player set is left as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/Sound.h"

namespace skyrift {
namespace {

TEST(SdlSound, AnUnusableAudioDriverFallsBackToSilentOutput) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  ASSERT_TRUE(StartSoundLibrary(44100, 32));
  EXPECT_STREQ(std::getenv("SDL_AUDIODRIVER"), "no-such-driver");
  Sample* shot = LoadSample((std::string(SKYRIFT_GAME_DIR) + "/player_fire.wav").c_str(),
                            kSound16Bit | kSoundMono);
  ASSERT_NE(shot, nullptr);
  EXPECT_GE(PlaySample(kAnyFreeChannel, shot), 3);
  CloseSoundLibrary();
}

}  // namespace
}  // namespace skyrift
