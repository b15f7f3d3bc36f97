// Every picture and sample the game uses, made and freed from one table each; the pictures'
// table is the one list in resources/Images.inc.
#include "game/GameResources.h"

#include <array>
#include <new>

#include "engine/Sound.h"
#include "game/Trace.h"
#include "graphics/Bitmap.h"
#include "world/Globals.h"
#include "world/Images.h"

namespace skyrift {
namespace {

constexpr unsigned kMono16 = kSound16Bit | kSoundMono;                       // 0x30
constexpr unsigned kMono8 = kSound8Bit | kSoundMono;                         // 0x28
constexpr unsigned kLoopStereo16 = kSoundLoop | kSound16Bit | kSoundStereo;  // 0x52

struct SampleRow {
  const char* file;
  unsigned mode;
  Sample** sample;
};

// The bullet-time hum is the one sample that loops; it plays until bullet time ends.
constexpr std::array<SampleRow, 15> kSamples = {{
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
}};

}  // namespace

void CreateBitmaps() {
  for (const ImageResource& row : kImageResources) {
    delete *row.image;  // a second call replaces rather than leaks
    // Out of memory leaves the global null; an image that fails to load stays empty.
    *row.image = new (std::nothrow) Bitmap(nullptr, row.id, _hInstance);
  }
  TraceLine("CreateBitmaps()");
}

void DeleteBitmaps() {
  TraceLine("DeleteBitmaps() start");
  for (const ImageResource& row : kImageResources) {
    delete *row.image;
    *row.image = nullptr;
  }
}

void LoadSounds() {
  for (const SampleRow& row : kSamples) {
    FreeSample(*row.sample);
    *row.sample = LoadSample(row.file, row.mode);
  }
}

void FreeSounds() {
  for (const SampleRow& row : kSamples) {
    FreeSample(*row.sample);
    *row.sample = nullptr;
  }
}

}  // namespace skyrift
