#include "sprites/BossShip.h"

#include "platform/Random.h"
#include "sprites/Play.h"
#include "sprites/Shots.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kVolleyLength = 100;  // updates of a beam volley; beams fly on 99 of them
// The beams leave from where the engines sit on a boss centred across the play area.
constexpr int kPlayCentreX = 450;
constexpr int kLeftEngineX = 117;
constexpr int kRightEngineX = 491;
constexpr int kBeamY = 255;
constexpr int kSweepSteps = 21;  // steps 0 to 20; a pair on each even step

// The fan: a downward half-circle, left half then right half, each ending straight down.
constexpr POINT kFan[16] = {
    {-10, 0}, {-8, 2}, {-6, 4}, {-4, 6}, {-3, 8}, {-2, 10}, {-1, 12}, {0, 13},
    {10, 0},  {8, 2},  {6, 4},  {4, 6},  {3, 8},  {2, 10},  {1, 12},  {0, 13},
};

// The sweep, by even step: stream A turns from left through down to right, B mirrors it.
struct SweepPairVelocity {
  POINT a;
  POINT b;
};
constexpr SweepPairVelocity kSweep[11] = {
    {{-9, 0}, {9, 0}}, {{-8, 2}, {8, 2}}, {{-7, 3}, {7, 3}}, {{-5, 5}, {5, 5}},
    {{-2, 6}, {2, 6}}, {{0, 6}, {0, 6}},  {{2, 6}, {-2, 6}}, {{5, 5}, {-5, 5}},
    {{7, 3}, {-7, 3}}, {{8, 2}, {-8, 2}}, {{9, 0}, {-9, 0}},
};

void Shoot(Bitmap* image, int frames, int x, int y, POINT velocity) {
  Sprite* bullet = MakeEnemyBullet(image, frames);
  bullet->SetPosition(x, y);
  bullet->SetVelocity(velocity);
  AddToPlay(bullet);
}

}  // namespace

BossShip::BossShip(Bitmap* image, const RECT& bounds, EdgeAction edgeAction)
    : Sprite(image, bounds, edgeAction) {
  SetVelocity(0, 5);
}

BossShip::~BossShip() = default;

UpdateResult BossShip::Update() {
  if (dying) return UpdateKill;
  AdvanceFrame();
  if (rightEngineDown) rightBeamArmed = 0;
  if (leftEngineDown) leftBeamArmed = 0;
  // A sweep that has begun runs to its end whatever happens to the phase.
  if (sweepActive) SweepPair();
  velocity = _bBulletTime ? slowVelocity : normalVelocity;

  switch (phase) {
    case 0:
      if (position.top >= 0) {
        SetVelocity(0, 0);
        phase = 1;
      }
      break;
    case 1:
      if (platform::Random() % 250 == 0) {
        // A new volley also restarts one still running.
        if (!rightEngineDown) {
          rightBeamArmed = 1;
          beamTimer = kVolleyLength;
        }
        if (!leftEngineDown) {
          leftBeamArmed = 1;
          beamTimer = kVolleyLength;
        }
      }
      if (rightBeamArmed || leftBeamArmed) {
        beamTimer -= 1;
        if (beamTimer > 0) EngineBeams();
      }
      if (enginesDown) phase = 2;
      break;
    default:
      break;
  }

  if (MoveWithinBounds() == UpdateKill) return UpdateKill;
  // From the moment it stops, the boss asks for its patterns every frame.
  return (phase != 0) ? UpdateSpawn : UpdateNone;
}

Sprite* BossShip::SpawnSprite() {
  if (phase == 1) {
    if (platform::Random() % 30 == 0) FanBurst();
    if (platform::Random() % 60 == 0) CurtainBurst();
  } else if (phase == 2) {
    if (platform::Random() % 25 == 0) FanBurst();
    if (platform::Random() % 30 == 0) CurtainBurst();
    if (platform::Random() % 40 == 0 && !sweepActive) {
      sweepActive = 1;
      SweepPair();
    }
  }
  return nullptr;
}

void BossShip::SetLeftEngineDown(int flag) {
  leftEngineDown = flag;
  if (flag && rightEngineDown) enginesDown = 1;
}

void BossShip::SetRightEngineDown(int flag) {
  rightEngineDown = flag;
  if (flag && leftEngineDown) enginesDown = 1;
}

void BossShip::EngineBeams() {
  // Which engines fire is decided by what is still standing, not by the volley's flags, so a
  // destroyed engine falls silent at once.
  beamTick += 1;
  if (beamTick <= 1) return;
  const int bossLeft = kPlayCentreX - GetWidth() / 2;
  if (!leftEngineDown) {
    Shoot(_bmpBossBeam, 4, bossLeft + kLeftEngineX, kBeamY, POINT{0, 12});
    beamTick = 0;
  }
  if (!rightEngineDown) {
    Shoot(_bmpBossBeam, 4, bossLeft + kRightEngineX, kBeamY, POINT{0, 12});
    beamTick = 0;
  }
}

void BossShip::FanBurst() {
  const int x = position.left + GetWidth() / 2;
  const int y = position.top + 21;
  for (const POINT& v : kFan) Shoot(_bmpLargeEnemyBullet, 7, x, y, v);
}

void BossShip::CurtainBurst() {
  // Five bullets drift left and the last one right, so the curtain opens a gap as it falls.
  const int spacing = GetWidth() / 6;
  for (int i = 0; i < 6; ++i) {
    const POINT v = (i < 5) ? POINT{-1, 11} : POINT{1, 11};
    Shoot(_bmpBossCurtainBullet, 7, position.left + 35 + i * spacing, position.top + 50, v);
  }
}

void BossShip::SweepPair() {
  if (sweepStep % 2 == 0) {
    const SweepPairVelocity& pair = kSweep[sweepStep / 2];
    Shoot(_bmpBossSweepBullet, 7, position.left + 317, position.top + 162, pair.a);
    Shoot(_bmpBossSweepBullet, 7, position.left + 317, position.top + 162, pair.b);
  }
  sweepStep += 1;
  if (sweepStep >= kSweepSteps) {
    sweepActive = 0;
    sweepStep = 0;
  }
}

}  // namespace skyrift
