// The enemy kinds as rows, the spawn functions that put each kind into play with the random
// choices its waves leave to it, and the run of every kind's waves by the stage ticker. Both
// stages run the same rows. A new kind is its class in sprites/, a spawn here and a row.
#include "game/EnemyWaves.h"

#include "platform/Random.h"
#include "sprites/BossShip.h"
#include "sprites/ConvoyEnemy.h"
#include "sprites/GunshipEnemy.h"
#include "sprites/HoverEnemy.h"
#include "sprites/Play.h"
#include "sprites/SwoopEnemy.h"
#include "sprites/Tags.h"

namespace skyrift {
namespace {

constexpr int kFromTheTop = 0;  // entry side of the hovering kinds
constexpr int kConvoyFollowers = 6;
constexpr int kConvoySpeedX = 6;  // pixels per frame, toward the far side
constexpr int kConvoySpeedY = 2;
constexpr int kBossPhaseSwoopChance = 30;  // one in this many frames while the boss fights on

// Puts an enemy into play as its row says.
void Enter(Sprite* enemy) {
  enemy->SetTag(TagEnemyShip);
  if (const EnemyKind* kind = EnemyKindOf(enemy->GetBitmap());
      kind != nullptr && kind->health > 0) {
    enemy->SetHealth(kind->health);
  }
  AddToPlay(enemy);
}

// The random draws of each spawn are made in the order written, one statement each: the order
// of evaluation of a call's arguments is not fixed.
void SwoopFromUpperLeft() {
  const int length = 50 + platform::Random() % 125;
  SpawnSwoopEnemy(0, length);
}

void SwoopFromUpperRight() {
  const int length = 50 + platform::Random() % 125;
  SpawnSwoopEnemy(1, length);
}

void SwoopFromAnyCorner() {
  const int side = platform::Random() % 4;
  const int length = platform::Random() % 700;
  SpawnSwoopEnemy(side, length);
}

// While the boss fights without its engines, swoopers come at random from any side but the
// upper left. Once the boss is gone (_pBoss cleared) this never applies again.
void SwoopWhileTheBossIsBare() {
  if (_pBoss != nullptr && _pBoss->GetPhase() == 2 &&
      platform::Random() % kBossPhaseSwoopChance == 0) {
    const int length = platform::Random() % 700;
    const int side = 1 + platform::Random() % 3;
    SpawnSwoopEnemy(side, length);
  }
}

void HoverShip() {
  SpawnHoverEnemy(200 + platform::Random() % 100);
}

void Gunship() {
  SpawnGunshipEnemy(200 + platform::Random() % 100);
}

void Convoy() {
  SpawnConvoyEnemy(kConvoyFollowers, platform::Random() % 100);
}

// The enemies of both stages, one row a kind: picture, hit points, points, its windows (after,
// before, interval in frames of the stage ticker, 24 a second; spawn) and its other spawns. The
// rows run in this order each frame, each row's windows top to bottom, and the random draws
// follow it; two windows open at one frame both spawn (1596: both swoop sides).
// clang-format off
constexpr EnemyKind kEnemyKinds[] = {
    {&_bmpSwoopEnemy, 10, 100, {
        {25, 100, 12, SwoopFromUpperLeft},
        {250, 350, 12, SwoopFromUpperLeft},
        {1250, 1350, 12, SwoopFromUpperLeft},
        {1500, 1700, 12, SwoopFromUpperLeft},
        {675, 900, 4, SwoopFromAnyCorner},
        {150, 250, 12, SwoopFromUpperRight},
        {425, 525, 12, SwoopFromUpperRight},
        {1100, 1200, 12, SwoopFromUpperRight},
        {1400, 1600, 12, SwoopFromUpperRight}},
     SwoopWhileTheBossIsBare},
    {&_bmpHoverEnemy, 15, 200, {
        {250, 400, 66, HoverShip},
        {1450, 1800, 66, HoverShip},
        {675, 900, 35, HoverShip}},
     nullptr},
    {&_bmpGunshipEnemy, 50, 0, {
        {925, 1025, 30, Gunship},
        {1200, 1400, 50, Gunship},
        {1500, 1900, 88, Gunship}},
     nullptr},
    {&_bmpConvoyEnemy, 0, 0, {  // the class sets its own health
        {1050, 1250, 35, Convoy},
        {1400, 1550, 35, Convoy}},
     nullptr},
};
// clang-format on

}  // namespace

const EnemyKind* EnemyKindOf(const Bitmap* image) {
  if (image == nullptr) return nullptr;
  for (const EnemyKind& kind : kEnemyKinds) {
    if (*kind.image == image) return &kind;
  }
  return nullptr;
}

void SpawnSwoopEnemy(int side, int pathLength) {
  Enter(new SwoopEnemy(_bmpSwoopEnemy, PlayArea(), EdgeDie, side, pathLength));
}

void SpawnHoverEnemy(int stopLine) {
  Enter(new HoverEnemy(_bmpHoverEnemy, PlayArea(), EdgeDie, kFromTheTop, stopLine));
}

void SpawnGunshipEnemy(int stopLine) {
  Enter(new GunshipEnemy(_bmpGunshipEnemy, PlayArea(), EdgeDie, kFromTheTop, stopLine));
}

void SpawnConvoyEnemy(int followerCount, int startY) {
  // A coin decides the side: from the left edge heading right, or from the right heading left.
  const bool fromLeft = platform::Random() % 2 == 0;
  const int startX = fromLeft ? 0 : _iPlayWidth;
  auto* leader =
      new ConvoyEnemy(_bmpConvoyEnemy, PlayArea(), EdgeDie, followerCount, startX, startY);
  leader->SetVelocity(fromLeft ? kConvoySpeedX : -kConvoySpeedX, kConvoySpeedY);
  Enter(leader);
}

void RunWaves(const EnemyKind& kind) {
  const int t = _iStageTicker;
  for (const Wave& wave : kind.waves) {
    if (t > wave.after && t < wave.before && t % wave.interval == 0) wave.spawn();
  }
  if (kind.alsoEachFrame != nullptr) kind.alsoEachFrame();
}

void RunEnemyWaves() {
  for (const EnemyKind& kind : kEnemyKinds) RunWaves(kind);
}

}  // namespace skyrift
