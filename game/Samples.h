// Every sample the game plays, listed once: its file in the game's folder, the mode it is loaded
// with and its global, in the order the game loads them. The game, the tests and the benchmarks
// read this list.
#pragma once

#include "engine/Sound.h"
#include "world/Globals.h"

namespace skyrift {

inline constexpr unsigned kMono16 = kSound16Bit | kSoundMono;                       // 0x30
inline constexpr unsigned kMono8 = kSound8Bit | kSoundMono;                         // 0x28
inline constexpr unsigned kLoopStereo16 = kSoundLoop | kSound16Bit | kSoundStereo;  // 0x52

struct SampleRow {
  const char* file;
  unsigned mode;
  Sample** sample;
};

// The bullet-time hum is the one sample that loops; it plays until bullet time ends.
inline constexpr SampleRow kSamples[] = {
    {"explosion.wav", kMono16, &_sndExplosion},
    {"boss1_enter.wav", kMono16, &_sndBoss1Enter},
    {"bullet-time_act.wav", kMono8, &_sndBulletTimeAct},
    {"bullet-time_deact.wav", kMono16, &_sndBulletTimeDeact},
    {"bullet-time_dur.wav", kLoopStereo16, &_sndBulletTimeDur},
    {"player_fire.wav", kMono16, &_sndPlayerFire},
    {"player_bomb.wav", kMono8, &_sndPlayerBomb},
    {"enemy_fire.wav", kMono16, &_sndEnemyFire},
    {"enemy_fire2.wav", kMono16, &_sndEnemyFire2},
    {"upgrade_ding.wav", kMono16, &_sndUpgradeDing},
    {"bt_depleted.wav", kMono16, &_sndBtDepleted},
    {"shields_depleted.wav", kMono16, &_sndShieldsDepleted},
    {"large_incoming.wav", kMono16, &_sndLargeIncoming},
    {"massive enemy.wav", kMono16, &_sndMassiveEnemy},
    {"stage1_complete.wav", kMono16, &_sndStage1Complete},
};

}  // namespace skyrift
