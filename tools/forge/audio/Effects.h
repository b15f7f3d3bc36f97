// The game's sound effects, each synthesised from oscillators, noise and filters.
#pragma once

#include <vector>

#include "audio/Dsp.h"

namespace skyrift::forge::audio {

// A finished sound ready to be written: samples in -1..1, interleaved when stereo.
struct Sound {
  int rate = kRate;
  int channels = 1;
  std::vector<double> samples;
};

Sound MakeExplosion();
Sound MakeBossEnter();
Sound MakeBulletTimeOn();    // the falling sweep as time slows
Sound MakeBulletTimeOff();   // the rising sweep as it speeds up again
Sound MakeBulletTimeLoop();  // stereo drone, a whole number of periods of everything it plays
Sound MakePlayerFire();
Sound MakeBomb();
Sound MakeEnemyFire();
Sound MakeEnemyFire2();
Sound MakeUpgradeDing();

}  // namespace skyrift::forge::audio
