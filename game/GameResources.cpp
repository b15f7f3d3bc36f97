// Every picture and sample the game uses, made and freed from one table each.
#include "game/GameResources.h"

#include <array>
#include <new>

#include "engine/Sound.h"
#include "game/Trace.h"
#include "graphics/Bitmap.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

struct ImageRow {
  uint16_t resource;
  Bitmap** image;
};

// Loaded in this order. Instructions, the spare enemy and the spare flash are never drawn but
// are loaded and freed like the rest.
constexpr std::array<ImageRow, 43> kImages = {{
    {2000, &_bmpStage1Far},
    {2001, &_bmpStage1Near},
    {2002, &_bmpStage2Far},
    {2003, &_bmpStage2Near},
    {2500, &_bmpHudPanel},
    {2501, &_bmpGameOver},
    {2502, &_bmpUpgradeMenu1},
    {2507, &_bmpUpgradeMenu2},
    {2503, &_bmpTitle},
    {2504, &_bmpPressEnter},
    {2505, &_bmpHowManyPlayers},
    {2506, &_bmpInstructions},
    {2508, &_bmpStageClear},
    {2509, &_bmpWarning1},
    {2510, &_bmpWarning2},
    {2100, &_bmpPlayer1},
    {2405, &_bmpPlayer1Recharge},
    {2101, &_bmpPlayer2},
    {2406, &_bmpPlayer2Recharge},
    {2102, &_bmpSwoopEnemy},
    {2103, &_bmpHoverEnemy},
    {2104, &_bmpConvoyEnemy},
    {2105, &_bmpSpareEnemy},
    {2106, &_bmpGunshipEnemy},
    {2200, &_bmpBoss1},
    {2201, &_bmpBoss1RightEngine},
    {2202, &_bmpBoss1LeftEngine},
    {2203, &_bmpBossBeam},
    {2300, &_bmpBulletCenter},
    {2303, &_bmpEnemyBullet},
    {2304, &_bmpLargeEnemyBullet},
    {2305, &_bmpBossCurtainBullet},
    {2306, &_bmpBossSweepBullet},
    {2301, &_bmpBulletLeft},
    {2302, &_bmpBulletRight},
    {2400, &_bmpExplosion},
    {2401, &_bmpPowerUp},
    {2402, &_bmpRepairPowerUp},
    {2403, &_bmpBombPowerUp},
    {2404, &_bmpFocusPowerUp},
    {2407, &_bmpBombFlash},
    {2408, &_bmpSpareFlash},
    {2600, &_bmpInterlude},
}};

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
  for (const ImageRow& row : kImages) {
    delete *row.image;  // a second call replaces rather than leaks
    // Out of memory leaves the global null; an image that fails to load stays empty.
    *row.image = new (std::nothrow) Bitmap(nullptr, row.resource, _hInstance);
  }
  TraceLine("CreateBitmaps()");
}

void DeleteBitmaps() {
  TraceLine("DeleteBitmaps() start");
  for (const ImageRow& row : kImages) {
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
