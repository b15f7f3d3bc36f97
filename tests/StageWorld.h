// The play world with the real samples on the silent sound output, so that the sounds the game
// asks for can be told apart, and a few helpers for the stage script's tests.
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
    StartSoundLibrary(44100, 32);
    _sndExplosion = Sound("explosion.wav");
    _sndLargeIncoming = Sound("large_incoming.wav");
    _sndMassiveEnemy = Sound("massive enemy.wav");
    _sndBoss1Enter = Sound("boss1_enter.wav");
    _sndStage1Complete = Sound("stage1_complete.wav");
    _sndBulletTimeDeact = Sound("bullet-time_deact.wav");
    _sndBulletTimeDur = Sound("bullet-time_dur.wav", kSoundLoop);
    for (const Sample* sample : {_sndExplosion, _sndLargeIncoming, _sndMassiveEnemy, _sndBoss1Enter,
                                 _sndStage1Complete, _sndBulletTimeDeact, _sndBulletTimeDur}) {
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
    _sndExplosion = _sndLargeIncoming = _sndMassiveEnemy = _sndBoss1Enter = _sndStage1Complete =
        _sndBulletTimeDeact = _sndBulletTimeDur = nullptr;
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
  static Sample* Sound(const char* name, unsigned loop = 0) {
    return LoadSample((std::string(SKYRIFT_GAME_DIR) + "/" + name).c_str(),
                      kSound16Bit | kSoundMono | loop);
  }
};

}  // namespace skyrift::testing
