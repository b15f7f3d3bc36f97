// The play world with everything stage 1 needs on top: blank images of the enemies, the boss,
// its engines, the power-ups and the warning banners at their real sizes, the real samples on
// the silent sound output (so that the sounds asked for can be told apart), and the script's
// globals at their start values.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "PlayWorld.h"
#include "engine/Sound.h"
#include "sprites/BossShip.h"

namespace skyrift::testing {

class StageWorld : public PlayWorld {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    PlayWorld::SetUp();
    HDC dc = _hOffscreenDC;
    _bmpSwoopEnemy = Image(dc, 50, 39, RGB(200, 0, 0));
    _bmpHoverEnemy = Image(dc, 64, 29, RGB(200, 0, 10));
    _bmpGunshipEnemy = Image(dc, 80, 58, RGB(200, 0, 20));
    _bmpConvoyEnemy = Image(dc, 50, 37, RGB(200, 0, 30));
    _bmpEnemyBullet = Image(dc, 70, 10, RGB(255, 0, 255));
    _bmpLargeEnemyBullet = Image(dc, 140, 20, RGB(255, 0, 200));
    _bmpBoss1 = Image(dc, 650, 320, RGB(90, 90, 90));
    _bmpBoss1RightEngine = Image(dc, 139, 82, RGB(90, 90, 100));
    _bmpBoss1LeftEngine = Image(dc, 139, 82, RGB(90, 90, 110));
    _bmpBossBeam = Image(dc, 204, 30, RGB(0, 255, 255));
    _bmpBossCurtainBullet = Image(dc, 50, 39, RGB(0, 250, 255));
    _bmpBossSweepBullet = Image(dc, 140, 20, RGB(0, 245, 255));
    _bmpPowerUp = Image(dc, 30, 30, RGB(0, 0, 200));
    _bmpRepairPowerUp = Image(dc, 30, 30, RGB(0, 0, 210));
    _bmpBombPowerUp = Image(dc, 30, 30, RGB(0, 0, 220));
    _bmpFocusPowerUp = Image(dc, 30, 30, RGB(0, 0, 230));
    _bmpWarning1 = Image(dc, 2440, 110, RGB(250, 0, 0));
    _bmpWarning2 = Image(dc, 2440, 110, RGB(250, 10, 0));

    ResetScript();
    StartSoundLibrary(44100, 32);
    _sndExplosion = Sound("explosion.wav");
    _sndLargeIncoming = Sound("large_incoming.wav");
    _sndMassiveEnemy = Sound("massive enemy.wav");
    _sndBoss1Enter = Sound("boss1_enter.wav");
    _sndStage1Complete = Sound("stage1_complete.wav");
    for (const Sample* sample : {_sndExplosion, _sndLargeIncoming, _sndMassiveEnemy, _sndBoss1Enter, _sndStage1Complete}) {
      ASSERT_NE(sample, nullptr) << "the shipped samples are needed to tell the sounds apart";
    }
    ClearPlayRequests();
  }

  void TearDown() override {
    // Engines made but never handed to the list are the game's to free.
    for (Sprite* engine : {_pBossLeftEngine, _pBossRightEngine}) {
      const auto& listed = _pEngine->GetSprites();
      if (std::find(listed.begin(), listed.end(), engine) == listed.end()) delete engine;
    }
    PlayWorld::TearDown();
    _pBossLeftEngine = _pBossRightEngine = nullptr;
    _pBoss = nullptr;
    _pWarning1 = _pWarning2 = nullptr;
    CloseSoundLibrary();
    _sndExplosion = _sndLargeIncoming = _sndMassiveEnemy = _sndBoss1Enter = _sndStage1Complete = nullptr;
  }

  static void ResetScript() {
    _pWarning1 = _pWarning2 = nullptr;
    _bWarning1Shown = _bWarning2Shown = _bWarning1Made = _bWarning2Made = FALSE;
    _pBoss = nullptr;
    _pBossLeftEngine = _pBossRightEngine = nullptr;
    _bBossSpawned = _bBossEnginesAttached = FALSE;
    _iLastFirepower1 = _iLastFirepower2 = 10;
  }

  // How often `sample` was asked for since the requests were last cleared.
  static int Requests(const Sample* sample) {
    int count = 0;
    for (const PlayRequest& request : PlayRequests()) count += request.sample == sample ? 1 : 0;
    return count;
  }

  // A plain sprite with a game image, tagged, in the engine's list.
  Sprite* Put(Bitmap* image, const char* tag, int x, int y, EdgeAction edge = EdgeStop) {
    auto* sprite = new Sprite(image, RECT{0, 0, 900, 600}, edge);
    sprite->SetTag(tag);
    sprite->SetPosition(x, y);
    _pEngine->InsertSprite(sprite);
    return sprite;
  }

  // The sprites of the list drawn with `image`.
  static std::vector<Sprite*> Showing(const Bitmap* image) {
    std::vector<Sprite*> found;
    for (Sprite* sprite : _pEngine->GetSprites()) {
      if (sprite->GetBitmap() == image) found.push_back(sprite);
    }
    return found;
  }

  // The first seed from which the next `count` draws of rand() satisfy `wanted`.
  static unsigned SeedWhere(int count, const std::function<bool(const std::vector<int>&)>& wanted) {
    std::vector<int> draws(static_cast<size_t>(count));
    for (unsigned seed = 1; seed < 1000000; ++seed) {
      std::srand(seed);
      for (int& draw : draws) draw = std::rand();
      if (wanted(draws)) return seed;
    }
    ADD_FAILURE() << "no seed gives the wanted draws";
    return 1;
  }

  // The draws that follow `seed`.
  static std::vector<int> DrawsAfter(unsigned seed, int count) {
    std::srand(seed);
    std::vector<int> draws(static_cast<size_t>(count));
    for (int& draw : draws) draw = std::rand();
    std::srand(seed);
    return draws;
  }

 private:
  static Sample* Sound(const char* name) {
    return LoadSample((std::string(SKYRIFT_GAME_DIR) + "/" + name).c_str(), kSound16Bit | kSoundMono);
  }
};

}  // namespace skyrift::testing
