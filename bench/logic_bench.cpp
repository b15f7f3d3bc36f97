// One frame of play with 300 live sprites and the game's own images: the game logic (keys,
// layers, every sprite's update with its collision test, status upkeep) and, apart, the
// composition of the play screen into the off-screen frame.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "engine/Engine.h"
#include "game/KeyboardInput.h"
#include "game/Lifecycle.h"
#include "game/Players.h"
#include "game/Presenting.h"
#include "game/Screens.h"
#include "graphics/Background.h"
#include "graphics/Bitmap.h"
#include "platform/Keyboard.h"
#include "platform/Resources.h"
#include "platform/Surface.h"
#include "sprites/PlayerShip.h"
#include "world/Globals.h"
#include "world/Images.h"

namespace skyrift {
namespace {

constexpr int kLiveSprites = 300;

// The world of a busy moment of stage 1: two ships, and enemies, shots and explosions that
// wrap around the play area so that none of them leaves it.
class BusyStage {
 public:
  BusyStage() {
    // The ships' creation writes to log.txt in the working directory: keep it out of the way.
    previous_ = std::filesystem::current_path();
    folder_ = std::filesystem::temp_directory_path() / "skyrift-logic-bench";
    std::filesystem::create_directories(folder_);
    std::filesystem::current_path(folder_);
    ResetPlayGlobals();
    ResetNewGameGlobals();
    _pEngine = MakeGameEngine(platform::ProgramModule());
    MakeOffscreenFrame();
    HDC dc = _hOffscreenDC;
    // The game's own pictures, by their rows in the list of images.
    const auto load = [&](Bitmap*& global) {
      images_.push_back(
          std::make_unique<Bitmap>(dc, ImageResourceOf(&global)->id, platform::ProgramModule()));
      global = images_.back().get();
    };
    for (Bitmap** global :
         {&_bmpStage1Far, &_bmpStage1Near, &_bmpPlayer1, &_bmpPlayer2, &_bmpBulletCenter,
          &_bmpBulletLeft, &_bmpBulletRight, &_bmpEnemyBullet, &_bmpHoverEnemy, &_bmpSwoopEnemy,
          &_bmpExplosion, &_bmpBoss1, &_bmpHudPanel}) {
      load(*global);
    }
    // The collision rules drop these where an enemy is destroyed.
    for (Bitmap** global :
         {&_bmpPowerUp, &_bmpRepairPowerUp, &_bmpBombPowerUp, &_bmpFocusPowerUp}) {
      load(*global);
    }
    _pFarBackground = new ScrollingLayer(_bmpStage1Far, 900, 600, ViewUp, 1, FALSE, 0);
    _pNearBackground = new ScrollingLayer(_bmpStage1Near, 900, 600, ViewRight, 2, TRUE, kMagenta);

    _iNumPlayers = 2;
    _iKeyP1Fire = 32;
    _iKeyP2Fire = 70;
    CreatePlayers(TRUE);
    TopUp();
    // Two large pictures like the boss's.
    for (int x : {0, 250}) {
      auto* big = new Sprite(_bmpBoss1, RECT{0, 0, 900, 600}, EdgeWrap);
      big->SetPosition(x, 20);
      big->SetTag("lvl1_boss");
      _pEngine->InsertSprite(big);
    }
    _bBulletTime = TRUE;
    _pPlayer1->SetBulletTime(1);
  }

  // Brings the world back to 300 live sprites: shots destroy enemies and sprites leave, so a
  // frame of logic is measured on a world as busy as the first.
  void TopUp() {
    struct Kind {
      Bitmap* image;
      int frames;
      const char* tag;
      int vx, vy;
    };
    const Kind kinds[] = {
        {_bmpHoverEnemy, 1, "enemy_ship", 1, 2},    {_bmpSwoopEnemy, 1, "enemy_ship", -3, 4},
        {_bmpEnemyBullet, 1, "enemy_bullet", 2, 7}, {_bmpBulletCenter, 5, "bullet_p1", 0, -25},
        {_bmpBulletLeft, 5, "bullet_p2", -3, -18},  {_bmpExplosion, 15, "", 0, 0},
    };
    for (; static_cast<int>(_pEngine->GetSprites().size()) < kLiveSprites; ++added_) {
      const Kind& kind = kinds[added_ % 6];
      auto* sprite = new Sprite(kind.image, RECT{0, 0, 900, 600}, EdgeWrap);
      sprite->SetFrameCount(kind.frames);
      sprite->SetPosition((added_ * 97) % 860, (added_ * 61) % 560);
      sprite->SetVelocity(kind.vx, kind.vy);
      sprite->SetTag(kind.tag);
      _pEngine->InsertSprite(sprite);
    }
  }

  ~BusyStage() {
    _pEngine->DeleteAllSprites();
    delete _pEngine;
    _pEngine = nullptr;
    delete _pFarBackground;
    delete _pNearBackground;
    _pFarBackground = _pNearBackground = nullptr;
    FreeOffscreenFrame();
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path folder_;
  std::vector<std::unique_ptr<Bitmap>> images_;
  int added_ = 0;
};

void BM_PlayFrameLogic(benchmark::State& state) {
  BusyStage stage;
  for (auto _ : state) {
    state.PauseTiming();
    stage.TopUp();
    state.ResumeTiming();
    HandlePlayer1Keys();
    HandlePlayer2Keys();
    _pFarBackground->Update();
    _pNearBackground->Update();
    _pEngine->UpdateAllSprites();
    UpdatePlayerStatus();
    _pPlayer1->AddEnergy(1);  // keep bullet time going for the whole run
    _bBulletTime = TRUE;
  }
  state.counters["sprites"] = static_cast<double>(_pEngine->GetSprites().size());
}
BENCHMARK(BM_PlayFrameLogic)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_PlayScreenComposition(benchmark::State& state) {
  BusyStage stage;
  for (auto _ : state) {
    DrawPlayScreen(_hOffscreenDC);
    benchmark::ClobberMemory();
  }
  state.counters["sprites"] = static_cast<double>(_pEngine->GetSprites().size());
}
BENCHMARK(BM_PlayScreenComposition)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace skyrift
