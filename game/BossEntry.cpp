// Stage 1's boss gliding in from above, and its two engines, which join the fight once the body
// has stopped. It happens once per run.
#include "game/BossEntry.h"

#include "engine/Sound.h"
#include "game/StageTimetable.h"
#include "sprites/BossShip.h"
#include "sprites/Play.h"
#include "sprites/Sprite.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kBossHealth = 7500;
constexpr int kEngineHealth = 1200;
// Where the engines sit over the stopped body, from its left edge and from the play area's top.
constexpr POINT kRightEngineAt{418, 244};
constexpr POINT kLeftEngineAt{94, 245};

Sprite* MakeEngine(Bitmap* image, const char* tag, const RECT& bounds, int x, int y) {
  auto* engine = new Sprite(image, bounds, EdgeBounce);
  engine->SetTag(tag);
  engine->SetHealth(kEngineHealth);
  engine->SetPosition(x, y);
  return engine;
}

}  // namespace

void RunBossEntry() {
  if (!_bBossSpawned && _iStageTicker > kBossArrives) {
    PlaySample(kAnyFreeChannel, _sndBoss1Enter);
    const RECT bounds = PlayArea();
    _pBoss = new BossShip(_bmpBoss1, bounds, EdgeDie);
    _pBoss->SetTag(TagBoss);
    // Just above the play area, centred across it; its constructor starts it moving down.
    _pBoss->SetPosition((_iPlayWidth - _pBoss->GetWidth()) / 2, -_pBoss->GetHeight());
    _pBoss->SetHealth(kBossHealth);
    AddToPlay(_pBoss);

    // The engines belong to the game until the body stops; only then do they join the list.
    const int bodyLeft = (_iPlayWidth - _pBoss->GetWidth()) / 2;
    _pBossRightEngine = MakeEngine(_bmpBoss1RightEngine, TagBossRightEngine, bounds,
                                   bodyLeft + kRightEngineAt.x, kRightEngineAt.y);
    _pBossLeftEngine = MakeEngine(_bmpBoss1LeftEngine, TagBossLeftEngine, bounds,
                                  bodyLeft + kLeftEngineAt.x, kLeftEngineAt.y);
    _bBossSpawned = TRUE;
  }

  // The engines never move: placed where they overlay the stopped body, in the frame it stops.
  if (_bBossSpawned && !_bBossEnginesAttached && _pBoss != nullptr && _pBoss->GetPhase() == 1) {
    AddToPlay(_pBossLeftEngine);
    AddToPlay(_pBossRightEngine);
    _bBossEnginesAttached = TRUE;
  }
}

}  // namespace skyrift
