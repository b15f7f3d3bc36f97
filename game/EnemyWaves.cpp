// The spawn functions that put each kind of enemy into play, with the random choices the
// timetable's waves leave to them, and the runs of the four schedules both stages play by the
// stage ticker.
#include "game/EnemyWaves.h"

#include <cstdlib>
#include <span>

#include "game/StageTimetable.h"
#include "sprites/BossShip.h"
#include "sprites/ConvoyEnemy.h"
#include "sprites/GunshipEnemy.h"
#include "sprites/HoverEnemy.h"
#include "sprites/Play.h"
#include "sprites/SwoopEnemy.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kSwoopHealth = 10;
constexpr int kHoverHealth = 15;
constexpr int kGunshipHealth = 50;
constexpr int kFromTheTop = 0;  // entry side of the hovering kinds
constexpr int kConvoyFollowers = 6;
constexpr int kConvoySpeedX = 6;  // pixels per frame, toward the far side
constexpr int kConvoySpeedY = 2;
constexpr int kBossPhaseSwoopChance = 30;  // one in this many frames while the boss fights on

void RunWaves(std::span<const Wave> waves) {
  const int t = _iStageTicker;
  for (const Wave& wave : waves) {
    if (t > wave.after && t < wave.before && t % wave.interval == 0) wave.spawn();
  }
}

}  // namespace

// The random draws of each call are made in the order written, one statement each: the order
// of evaluation of a call's arguments is not fixed.
void SwoopFromUpperLeft() {
  const int length = 50 + std::rand() % 125;
  SpawnSwoopEnemy(0, length);
}

void SwoopFromUpperRight() {
  const int length = 50 + std::rand() % 125;
  SpawnSwoopEnemy(1, length);
}

void SwoopFromAnyCorner() {
  const int side = std::rand() % 4;
  const int length = std::rand() % 700;
  SpawnSwoopEnemy(side, length);
}

void HoverShip() {
  SpawnHoverEnemy(200 + std::rand() % 100);
}

void Gunship() {
  SpawnGunshipEnemy(200 + std::rand() % 100);
}

void Convoy() {
  SpawnConvoyEnemy(kConvoyFollowers, std::rand() % 100);
}

void SpawnSwoopEnemy(int side, int pathLength) {
  auto* enemy = new SwoopEnemy(_bmpSwoopEnemy, PlayArea(), EdgeDie, side, pathLength);
  enemy->SetTag(TagEnemyShip);
  enemy->SetHealth(kSwoopHealth);
  AddToPlay(enemy);
}

void SpawnHoverEnemy(int stopLine) {
  auto* enemy = new HoverEnemy(_bmpHoverEnemy, PlayArea(), EdgeDie, kFromTheTop, stopLine);
  enemy->SetTag(TagEnemyShip);
  enemy->SetHealth(kHoverHealth);
  AddToPlay(enemy);
}

void SpawnGunshipEnemy(int stopLine) {
  auto* enemy = new GunshipEnemy(_bmpGunshipEnemy, PlayArea(), EdgeDie, kFromTheTop, stopLine);
  enemy->SetTag(TagEnemyShip);
  enemy->SetHealth(kGunshipHealth);
  AddToPlay(enemy);
}

void SpawnConvoyEnemy(int followerCount, int startY) {
  // A coin decides the side: from the left edge heading right, or from the right heading left.
  const bool fromLeft = std::rand() % 2 == 0;
  const int startX = fromLeft ? 0 : _iPlayWidth;
  // The class sets its own health.
  auto* leader =
      new ConvoyEnemy(_bmpConvoyEnemy, PlayArea(), EdgeDie, followerCount, startX, startY);
  leader->SetVelocity(fromLeft ? kConvoySpeedX : -kConvoySpeedX, kConvoySpeedY);
  leader->SetTag(TagEnemyShip);
  AddToPlay(leader);
}

void RunSwoopWaves() {
  RunWaves(kSwoopWaves);
  // While the boss fights without its engines, swoopers come at random from any side but the
  // upper left. Once the boss is gone (_pBoss cleared) this never applies again.
  if (_pBoss != nullptr && _pBoss->GetPhase() == 2 && std::rand() % kBossPhaseSwoopChance == 0) {
    const int length = std::rand() % 700;
    const int side = 1 + std::rand() % 3;
    SpawnSwoopEnemy(side, length);
  }
}

void RunHoverWaves() {
  RunWaves(kHoverWaves);
}
void RunGunshipWaves() {
  RunWaves(kGunshipWaves);
}
void RunConvoyWaves() {
  RunWaves(kConvoyWaves);
}

void RunEnemyWaves() {
  RunSwoopWaves();
  RunHoverWaves();
  RunGunshipWaves();
  RunConvoyWaves();
}

}  // namespace skyrift
